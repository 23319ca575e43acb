// The command log: one JSON object per line with the fields a reader relies on.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <random>

#include "tests/support/Hex.h"
#include "tests/support/TestDir.h"
#include "vprinter/PrinterEngine.h"

#include "vprinter/device/CommandLog.h"

namespace tallyx::vprinter::test {
namespace {

TEST(CommandLog, LineHoldsEveryField)
{
    LogRecord r{"serial", {0x1D, 0x6B, 0x49, 0x03}, 7, "GS k", "print barcode: CODE128 ABC"};
    const auto when = std::chrono::system_clock::time_point(std::chrono::milliseconds(1700000000123));
    const std::string line = LogLine(42, when, r);
    EXPECT_EQ(line.find('\n'), std::string::npos);
    EXPECT_EQ(line, "{\"seq\":42,\"time\":\"2023-11-14T22:13:20.123Z\",\"link\":\"serial\",\"hex\":\"1D 6B 49 03\","
                    "\"length\":7,\"mnemonic\":\"GS k\",\"meaning\":\"print barcode: CODE128 ABC\",\"truncated\":true}");
}

TEST(CommandLog, BrokenTextDoesNotBreakTheLine)
{
    LogRecord r{"tcp", {0xC3}, 1, "text", std::string("print \"\xC3\"")};
    const auto j = nlohmann::json::parse(LogLine(1, std::chrono::system_clock::now(), r));
    EXPECT_EQ(j["mnemonic"], "text");
    EXPECT_FALSE(j.contains("truncated"));
}

TEST(CommandLog, TextIsEscapedAsJsonWants)
{
    struct Row {
        std::string meaning;
        const char* written;
    };
    const Row rows[] = {
        {"print \"TALLYX SHOP\"", R"("print \"TALLYX SHOP\"")"},
        {"back\\slash", R"("back\\slash")"},
        {"tab\tline\ncr\rff\fbs\b", R"("tab\tline\ncr\rff\fbs\b")"},
        {std::string("nul\0\x01\x1F", 6), R"("nul\u0000\u0001\u001f")"},
        {"del\x7F ~", "\"del\x7F ~\""},
        {"print \"\xE8\xB0\xA2\xE8\xB0\xA2\"", "\"print \\\"\xE8\xB0\xA2\xE8\xB0\xA2\\\"\""},   // 谢谢
        {"\xC2\xA3 \xF0\x9F\x98\x80", "\"\xC2\xA3 \xF0\x9F\x98\x80\""},              // £ and a four-byte one
        {"end \xC3", "\"end \xEF\xBF\xBD\""},                                           // cut short: U+FFFD
        {"\xFF", "\"\xEF\xBF\xBD\""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.written);
        LogRecord r{"tcp", {0x41}, 1, "text", row.meaning};
        const std::string line = LogLine(7, std::chrono::system_clock::time_point(std::chrono::milliseconds(5)), r);
        EXPECT_EQ(line, std::string(R"({"seq":7,"time":"1970-01-01T00:00:00.005Z","link":"tcp","hex":"41","length":1,)") +
                            R"("mnemonic":"text","meaning":)" + row.written + "}");
    }
}

TEST(CommandLog, TimeKeepsItsMillisecondsAcrossSecondsAndDays)
{
    const struct {
        int64_t ms;
        const char* time;
    } rows[] = {
        {1700000000000, "2023-11-14T22:13:20.000Z"}, {1700000000999, "2023-11-14T22:13:20.999Z"},
        {1700000001000, "2023-11-14T22:13:21.000Z"}, {1700000001050, "2023-11-14T22:13:21.050Z"},
        {1700006399999, "2023-11-14T23:59:59.999Z"}, {1700006400000, "2023-11-15T00:00:00.000Z"},
        {1700000000000, "2023-11-14T22:13:20.000Z"},   // back again
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.time);
        const auto when = std::chrono::system_clock::time_point(std::chrono::milliseconds(row.ms));
        const auto j = nlohmann::json::parse(LogLine(1, when, LogRecord{"tcp", {}, 0, "", ""}));
        EXPECT_EQ(j["time"], row.time);
    }
}

// The line written field by field is the line the json library makes of the same record,
// whatever bytes the text holds (broken UTF-8 included).
TEST(CommandLog, SameLineAsTheJsonLibraryForAnyText)
{
    std::mt19937 random(2024);
    const auto when = std::chrono::system_clock::time_point(std::chrono::milliseconds(1700000000123));
    for (int i = 0; i < 20000; ++i) {
        std::string text(random() % 12, ' ');
        for (char& c : text) {
            const unsigned pick = random() % 4;
            // Mostly the bytes that begin and continue UTF-8 characters, so that whole ones occur.
            c = char(pick == 0 ? random() % 0x80 : pick == 1 ? 0x80 + random() % 0x40 : 0xC0 + random() % 0x40);
        }
        LogRecord r{"serial", {0x1B, 0x40}, 2 + random() % 2, "ESC @", text};
        nlohmann::ordered_json j = {{"seq", i},           {"time", "2023-11-14T22:13:20.123Z"},
                                    {"link", r.link},     {"hex", "1B 40"},
                                    {"length", r.length}, {"mnemonic", r.mnemonic},
                                    {"meaning", r.meaning}};
        if (r.length > 2) j["truncated"] = true;
        SCOPED_TRACE(nlohmann::json(text).dump(-1, ' ', true, nlohmann::json::error_handler_t::replace));
        ASSERT_EQ(LogLine(uint64_t(i), when, r), j.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace));
    }
}

namespace fs = std::filesystem;

std::vector<std::string> FileLines(const fs::path& path)
{
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

class HeldLog : public ::testing::Test {
protected:
    void SetUp() override { m_dir = tallyx::test::FreshTestDir("tallyx-vp-log-"); }
    void TearDown() override { fs::remove_all(m_dir); }
    fs::path m_dir;
};

TEST_F(HeldLog, LinesReachTheFileWhenFlushedWholeAndInOrder)
{
    const fs::path path = m_dir / "log.jsonl";
    CommandLog log(path.string());
    ASSERT_TRUE(log.Ok());
    log.Write(LogRecord{"tcp", {0x1B, 0x40}, 2, "ESC @", "initialise"});
    log.Write(LogRecord{"tcp", {0x0A}, 1, "LF", "print and feed a line"});
    EXPECT_EQ(fs::file_size(path), 0u) << "held until flushed";
    log.Flush();
    const auto lines = FileLines(path);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].substr(0, 9), R"({"seq":1,)");
    EXPECT_NE(lines[0].find(R"("mnemonic":"ESC @")"), std::string::npos);
    EXPECT_EQ(lines[1].substr(0, 9), R"({"seq":2,)");
    log.Flush();   // nothing more held
    EXPECT_EQ(FileLines(path).size(), 2u);
}

TEST_F(HeldLog, AtSixtyFourKilobytesTheHeldLinesAreWrittenUnasked)
{
    const fs::path path = m_dir / "log.jsonl";
    CommandLog log(path.string());
    const LogRecord r{"tcp", Bytes(64, 0x41), 64, "text", "print \"" + std::string(64, 'A') + "\""};
    size_t held = 0;
    int lines = 0;
    while (held < 65536) {
        ASSERT_EQ(fs::file_size(path), 0u) << held << " bytes held";
        log.Write(r);
        ++lines;
        held += LogLine(uint64_t(lines), std::chrono::system_clock::now(), r).size() + 1;
    }
    EXPECT_EQ(fs::file_size(path), held) << "every line held, whole";
    EXPECT_EQ(FileLines(path).size(), size_t(lines));
}

TEST_F(HeldLog, TheEngineLogsEveryCommandBeforeItsReplyAndEveryChunkBeforeItReturns)
{
    const fs::path path = m_dir / "log.jsonl";
    PrinterEngine engine({kPaper58Dots, "", path.string(), kIdleMs}, {});
    std::vector<std::string> atReply;
    const ReplyFn reply = [&](const Bytes&) {
        for (const std::string& line : FileLines(path)) atReply.push_back(nlohmann::json::parse(line)["mnemonic"]);
    };
    const Bytes query = tallyx::test::FromHex("1B 40 1B 45 01 10 04 01 1B 45 00");   // ESC @, ESC E, DLE EOT 1, ESC E
    engine.Feed(query.data(), query.size(), "tcp", reply);
    EXPECT_EQ(atReply, (std::vector<std::string>{"ESC @", "ESC E"}));
    EXPECT_EQ(FileLines(path).size(), 4u);

    const Bytes text = tallyx::test::FromHex("41 42 0A");   // no reply link at all
    engine.Feed(text.data(), text.size(), "serial", {});
    const auto lines = FileLines(path);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(nlohmann::json::parse(lines[4])["meaning"], "print \"AB\"");
    EXPECT_EQ(nlohmann::json::parse(lines[5])["mnemonic"], "LF");
}

} // namespace
} // namespace tallyx::vprinter::test
