// The printer's stored settings: a JSON file that survives a restart and is never half-written.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <thread>

#include "tests/support/Hex.h"
#include "tests/support/TestDir.h"
#include "vprinter/PrinterEngine.h"
#include "vprinter/device/StateStore.h"

namespace tallyx::vprinter::test {
namespace {

namespace fs = std::filesystem;

class StateFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = tallyx::test::FreshTestDir("tallyx-vp-state-");
    }
    void TearDown() override { fs::remove_all(m_dir); }
    std::string Path(const char* name = "printer.json") const { return (m_dir / name).string(); }

    static void Feed(PrinterEngine& engine, std::string_view hex)
    {
        const Bytes bytes = tallyx::test::FromHex(hex);
        engine.Feed(bytes.data(), bytes.size(), "tcp", {});
    }

    fs::path m_dir;
};

PrinterState Changed()
{
    PrinterState s;
    s.printMode = 0;
    s.density = 4;
    s.baudIndex = 5;
    s.buzzer = false;
    s.cutter = false;
    s.font = 2;
    s.codePage = 255;
    s.network = {{10, 0, 0, 5}, {255, 0, 0, 0}, {10, 0, 0, 1}, {8, 8, 4, 4}, kDhcpOn};
    s.logos[4] = ColumnImage{16, 8, Bytes{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}};
    return s;
}

TEST_F(StateFile, MissingFileGivesFactorySettings)
{
    std::string error;
    EXPECT_TRUE(StateStore(Path()).Load(&error) == PrinterState{});
    EXPECT_EQ(error, "");
}

TEST_F(StateFile, EverySettingRoundTrips)
{
    StateStore store(Path());
    ASSERT_TRUE(store.Save(Changed()));
    EXPECT_TRUE(store.Load() == Changed());
    EXPECT_FALSE(fs::exists(Path("printer.json.tmp")));
}

TEST_F(StateFile, FileIsReadableJsonWithNamedFields)
{
    ASSERT_TRUE(StateStore(Path()).Save(PrinterState{}));
    std::ifstream in(Path());
    const std::string text((std::istreambuf_iterator<char>(in)), {});
    for (const char* field : {"\"ip\": \"192.168.1.100\"", "\"mask\": \"255.255.255.0\"", "\"dhcp\": false",
                              "\"density\": 3", "\"cutter\": true", "\"logos\": ["}) {
        SCOPED_TRACE(field);
        EXPECT_NE(text.find(field), std::string::npos) << text;
    }
}

TEST_F(StateFile, OutOfRangeFieldsKeepTheirFactoryValue)
{
    PrinterState s;
    ASSERT_TRUE(StateFromJson(R"({"density": 5, "baudIndex": 6, "font": 3, "printMode": 2,
        "network": {"ip": "300.1.1.1", "mask": "255.255.0.0"},
        "logos": [{"width": 8, "height": 8, "data": "FF"}]})", s));
    EXPECT_EQ(s.density, 3);
    EXPECT_EQ(s.baudIndex, 1);
    EXPECT_EQ(s.font, 0);
    EXPECT_EQ(s.printMode, 1) << "Chinese, as from the factory";
    EXPECT_EQ(DottedText(s.network.ip), "192.168.1.100");
    EXPECT_EQ(DottedText(s.network.mask), "255.255.0.0");
    EXPECT_FALSE(s.logos[0].has_value()) << "8 x 8 needs 8 bytes, not 1";

    ASSERT_TRUE(StateFromJson(R"({"density": 4, "baudIndex": 0, "font": 2, "printMode": 0})", s));
    EXPECT_EQ(s.density, 4);
    EXPECT_EQ(s.baudIndex, 0);
    EXPECT_EQ(s.font, 2);
    EXPECT_EQ(s.printMode, 0);
}

TEST_F(StateFile, DamagedFileIsReportedAndFactorySettingsUsed)
{
    std::ofstream(Path()) << "{\"density\": 4, \"cut";
    std::string error;
    EXPECT_TRUE(StateStore(Path()).Load(&error) == PrinterState{});
    EXPECT_NE(error, "");
}

TEST_F(StateFile, SettingsSurviveARestart)
{
    {
        PrinterEngine engine({kPaper58Dots, Path(), "", kIdleMs}, {});
        Feed(engine, "1B 4E 04 01 1F 1B 12 00 1F 1B 1D 02 0A 00 00 07 FF FF 00 00 0A 00 00 01 0A 00 00 02 01");
        Feed(engine, "1C 72 04 01 00 01 00 01 02 03 04 05 06 07 08");
        Feed(engine, "1B 4E 03 00 1F 1B 1F FF 11 0A 0A");   // single-byte mode, code page 17: OEM866
    }
    std::vector<std::string> printed;
    PrinterEngine::Listener listener;
    listener.log = [&](const LogRecord& r) {
        if (r.mnemonic == "text") printed.push_back(r.meaning);
    };
    PrinterEngine again({kPaper58Dots, Path(), "", kIdleMs}, listener);
    const PrinterState s = again.State();
    EXPECT_EQ(s.density, 1);
    EXPECT_FALSE(s.cutter);
    EXPECT_EQ(DottedText(s.network.ip), "10.0.0.7");
    EXPECT_EQ(DottedText(s.network.dns), "10.0.0.2");
    ASSERT_TRUE(s.logos[3].has_value());
    EXPECT_EQ(tallyx::test::Hex(s.logos[3]->data), "01 02 03 04 05 06 07 08");
    EXPECT_EQ(s.codePage, 17);
    EXPECT_EQ(s.printMode, 0);
    Feed(again, "80 81 0A");
    EXPECT_EQ(printed, std::vector<std::string>{"print \"АБ\""}) << "characters of the stored code page";
    EXPECT_EQ(again.TakeWarnings(), "");
}

TEST_F(StateFile, FactoryResetIsStoredToo)
{
    {
        PrinterEngine engine({kPaper58Dots, Path(), "", kIdleMs}, {});
        Feed(engine, "1B 4E 04 01 1F 1B 19");
    }
    EXPECT_TRUE(StateStore(Path()).Load() == PrinterState{});
}

TEST_F(StateFile, ReaderNeverSeesAHalfWrittenFile)
{
    StateStore store(Path());
    ASSERT_TRUE(store.Save(PrinterState{}));
    std::atomic<bool> done{false};
    std::atomic<int> reads{0}, bad{0};
    std::thread reader([&] {
        while (!done) {
            std::string error;
            const PrinterState s = store.Load(&error);
            if (!error.empty() || !(s == PrinterState{} || s == Changed())) ++bad;
            ++reads;
        }
    });
    for (int i = 0; i < 200; ++i) ASSERT_TRUE(store.Save(i % 2 ? PrinterState{} : Changed()));
    done = true;
    reader.join();
    EXPECT_GT(reads.load(), 0);
    EXPECT_EQ(bad.load(), 0);
}

TEST_F(StateFile, LeftoverTemporaryFileDoesNotMatter)
{
    ASSERT_TRUE(StateStore(Path()).Save(Changed()));
    std::ofstream(Path("printer.json.tmp")) << "{\"density\": 1, \"cu";   // a crash mid-write
    EXPECT_TRUE(StateStore(Path()).Load() == Changed());
    ASSERT_TRUE(StateStore(Path()).Save(PrinterState{}));
    EXPECT_TRUE(StateStore(Path()).Load() == PrinterState{});
}

TEST_F(StateFile, UnwritableDirectoryIsReportedNotFatal)
{
    StateStore store((m_dir / "missing" / "printer.json").string());
    std::string error;
    EXPECT_FALSE(store.Save(PrinterState{}, &error));
    EXPECT_NE(error.find("open"), std::string::npos);
}

TEST_F(StateFile, EngineReportsASaveThatFailedAndGoesOn)
{
    PrinterEngine engine({kPaper58Dots, (m_dir / "missing" / "printer.json").string(), "", kIdleMs}, {});
    Feed(engine, "1B 4E 04 02");
    EXPECT_EQ(engine.State().density, 2) << "the printer keeps working with the setting in memory";
    EXPECT_NE(engine.TakeWarnings().find("cannot save the state"), std::string::npos);
    EXPECT_EQ(engine.TakeWarnings(), "");
}

} // namespace
} // namespace tallyx::vprinter::test
