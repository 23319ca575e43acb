// Arbitrary bytes from a socket: cut commands, absurd lengths, noise. None may crash the
// printer, make it hold more than its cap, or print command bytes as text.
#include <gtest/gtest.h>

#include <random>

#include "tests/vprinter/PrinterProbe.h"

namespace tallyx::vprinter::test {
namespace {

// One of most kinds of command, text in both modes, and every payload shape.
const char* const kSample =
    "1B 40 41 42 0A 1B 45 01 1B 2D 02 1C 2D 02 43 0A 1B 4E 03 01 D6 D0 CE C4 0A 1B 4E 03 00 "
    "1D 2A 01 01 FF 00 FF 00 FF 00 FF 00 1D 2F 03 0A "
    "1C 72 01 01 00 01 00 0F 0F 0F 0F 0F 0F 0F 0F 1C 70 01 32 "
    "1D 28 6B 06 00 31 50 30 61 62 63 1D 28 6B 03 00 31 51 30 "
    "1D 6B 49 03 41 42 43 1D 6B 04 58 59 00 1B 2A 21 02 00 FF FF FF 00 00 00 "
    "1D 76 30 00 01 00 02 00 AA 55 1F 13 02 31 32 10 04 13 "
    "1F 1B 1D 02 C0 A8 01 C8 FF FF FF 00 C0 A8 01 01 08 08 08 08 01 1B 61 01 1D 21 11 45 0A "
    "1B 99 1F 1B 77 46 0A 1D 56 42 10 47 0A";

struct Outcome {
    std::string text;
    std::string receipts;
    std::string logs;
    std::string replies;
};

Outcome PrintStream(const Bytes& stream, const std::vector<size_t>& cuts)
{
    PrinterProbe p;
    size_t from = 0;
    for (size_t cut : cuts) {
        p.interpreter.Feed(stream.data() + from, cut - from, "tcp", [&](const Bytes& r) { p.replies.push_back(r); });
        from = cut;
    }
    p.interpreter.Feed(stream.data() + from, stream.size() - from, "tcp",
                       [&](const Bytes& r) { p.replies.push_back(r); });
    p.interpreter.Idle();
    Outcome out;
    for (const Receipt& r : p.receipts) {
        out.text += PrintedText(r) + "--- cut\n";
        out.receipts += Describe(r);
    }
    for (const LogRecord& r : p.logs) out.logs += Describe(r) + "\n";
    for (const Bytes& r : p.replies) out.replies += tallyx::test::Hex(r) + "\n";
    return out;
}

TEST(MalformedStream, SampleStreamPrintsWhatItShould)
{
    const Outcome whole = PrintStream(tallyx::test::FromHex(kSample), {});
    EXPECT_EQ(whole.replies, "C0 A8 01 64 FF FF FF 00 C0 A8 01 01 C0 A8 01 01 01 00 00 00 00 00\n");
    EXPECT_NE(whole.logs.find("1B 99 (2) unknown"), std::string::npos);
    EXPECT_NE(whole.logs.find("1F 1B 77 (3) unknown"), std::string::npos);
    EXPECT_EQ(whole.text,
              "AB\nC\n中文\n[picture 16x16]\n\n[picture 8x16]\n[picture 63x63]\n[picture 204x162]\n"
              "[picture 177x162]\n[picture 2x24]\n[picture 8x2]\nE\nF\n\n--- cut\nG\n--- cut\n");
}

TEST(MalformedStream, EveryChunkingGivesTheSameResult)
{
    const Bytes stream = tallyx::test::FromHex(kSample);
    const Outcome whole = PrintStream(stream, {});
    for (size_t cut = 1; cut < stream.size(); ++cut) {
        SCOPED_TRACE(cut);
        const Outcome split = PrintStream(stream, {cut});
        ASSERT_EQ(split.receipts, whole.receipts);
        ASSERT_EQ(split.logs, whole.logs);
        ASSERT_EQ(split.replies, whole.replies);
    }
    std::vector<size_t> everyByte;
    for (size_t i = 1; i < stream.size(); ++i) everyByte.push_back(i);
    const Outcome bytewise = PrintStream(stream, everyByte);
    EXPECT_EQ(bytewise.receipts, whole.receipts);
    EXPECT_EQ(bytewise.logs, whole.logs);
}

TEST(MalformedStream, StreamCutOffAnywhereRecovers)
{
    const Bytes stream = tallyx::test::FromHex(kSample);
    for (size_t cut = 0; cut <= stream.size(); ++cut) {
        SCOPED_TRACE(cut);
        PrinterProbe p;
        p.interpreter.Feed(stream.data(), cut, "tcp");
        p.interpreter.Idle();   // the sender went silent mid-command
        p.receipts.clear();
        p.FeedBytes("\x1B@OK\n");
        p.interpreter.Idle();
        ASSERT_EQ(p.receipts.size(), 1u);
        ASSERT_EQ(PrintedText(p.receipts[0]), "OK\n");
    }
}

TEST(MalformedStream, ParametersOfCommandsWithoutEffectAreNotPrinted)
{
    PrinterProbe p;
    p.FeedHex("1B 63 35 00 1B 52 03 1B 5C 10 00 1B 57 00 00 00 00 80 01 40 02 1D 50 B4 B4 10 05 01 41 0A");
    EXPECT_EQ(PrintedText(p.interpreter.CurrentReceipt()), "A\n");
    EXPECT_EQ(p.logs.size(), 8u);
}

TEST(MalformedStream, UnknownCommandsAreLoggedAndTheirFirstBytesSwallowed)
{
    PrinterProbe p;
    p.FeedHex("1B 01 1C 99 1D FE 1F 1B 1D 07 07 41 0A");
    EXPECT_EQ(PrintedText(p.interpreter.CurrentReceipt()), "A\n") << "07 is a control byte, not text";
    std::vector<std::string> unknown;
    for (const LogRecord& r : p.logs)
        if (r.mnemonic == "unknown") unknown.push_back(tallyx::test::Hex(r.bytes));
    EXPECT_EQ(unknown, (std::vector<std::string>{"1B 01", "1C 99", "1D FE", "07"}));
}

TEST(MalformedStream, HugeLengthFieldsAreCountedNotHeld)
{
    struct Row {
        const char* header;
        uint64_t payload;
        const char* meaning;
    } rows[] = {
        {"1C 72 01 FF FF FF FF", 8ull * 65535 * 65535, "store NV logo: too large for the NV memory, not stored"},
        {"1D 76 30 00 FF FF FF FF", 65535ull * 65535, "print raster image: too large, not printed"},
        {"1D 28 6B FF FF", 65535, "two-dimensional symbol or extended function: symbol type 0 not supported, ignored"},
        {"1D 28 6B 00 00", 0, "two-dimensional symbol or extended function: too short, ignored"},
        {"1F 13 FF", 255, ""},
        {"1F 13 00", 0, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.header);
        PrinterProbe p;
        p.FeedHex(row.header);
        const Bytes zeros(1 << 20, 0x00);
        uint64_t left = std::min<uint64_t>(row.payload, 8ull << 20);   // 8 MiB of it
        while (left > 0) {
            const size_t n = size_t(std::min<uint64_t>(left, zeros.size()));
            p.interpreter.Feed(zeros.data(), n, "tcp");
            left -= n;
            ASSERT_LT(p.interpreter.HeldBytes(), size_t(kMaxHeldPayload) + (1 << 20));
        }
        if (row.payload <= (8ull << 20) && row.meaning[0]) {
            EXPECT_EQ(p.LastLog().meaning, row.meaning);
        }
    }
}

TEST(MalformedStream, ImagesLargerThanThePaperAreClipped)
{
    PrinterProbe p;
    p.FeedHex("1D 2A FF FF");
    const Bytes ones(8 * 255 * 255, 0xFF);
    p.interpreter.Feed(ones.data(), ones.size(), "tcp");
    p.FeedHex("1D 2F 33");
    const auto& pic = std::get<Picture>(p.interpreter.CurrentReceipt().blocks.at(0));
    EXPECT_EQ(pic.width, 384);
    EXPECT_EQ(pic.height, 4080);
}

TEST(MalformedStream, UnterminatedBarcodeEndsAfter255Bytes)
{
    PrinterProbe p;
    p.FeedHex("1D 6B 04");
    std::string data(255, 'A');
    p.FeedBytes(data + "B\n");
    EXPECT_EQ(PrintedText(p.interpreter.CurrentReceipt()), "B\n");
}

TEST(MalformedStream, RandomBytesStayWithinTheCap)
{
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> chunk(1, 4096);
    PrinterProbe p;
    size_t total = 0;
    Bytes buffer;
    while (total < (4u << 20)) {
        buffer.resize(size_t(chunk(random)));
        for (uint8_t& b : buffer) b = uint8_t(byte(random));
        p.interpreter.Feed(buffer.data(), buffer.size(), "tcp");
        total += buffer.size();
        ASSERT_LE(p.interpreter.HeldBytes(), kMemoryCap);
        ASSERT_LE(p.interpreter.CurrentReceipt().heightDots, kMaxReceiptDots + kMaxBlockDots);
        if (p.logs.size() > 100000) p.logs.clear();
        p.receipts.clear();
    }
    p.interpreter.Idle();
    EXPECT_LE(p.interpreter.HeldBytes(), kMemoryCap);
}

} // namespace
} // namespace tallyx::vprinter::test
