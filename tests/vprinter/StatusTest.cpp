// The printer's sensors: what DLE EOT, GS I and the automatic status back say, checked
// against the tool's own decoders, and a stopped printer that prints nothing.
#include <gtest/gtest.h>

#include "commands/PrinterStatus.h"
#include "res/Version.h"
#include "tests/vprinter/PrinterProbe.h"

namespace tallyx::vprinter::test {
namespace {

using tallyx::test::Hex;

DeviceStatus Conditions(std::string_view words)
{
    std::string bad;
    const auto status = ParseStatusList(words, &bad);
    EXPECT_TRUE(status) << bad;
    return status.value_or(DeviceStatus{});
}

// The four replies to DLE EOT 1-4, in hex.
std::string RealTimeReplies(PrinterProbe& p)
{
    p.replies.clear();
    p.FeedHex("10 04 01 10 04 02 10 04 03 10 04 04");
    std::string out;
    for (const Bytes& r : p.replies) out += (out.empty() ? "" : " ") + Hex(r);
    return out;
}

TEST(Status, EachConditionAnswersDleEot1To4)
{
    const struct {
        const char* words;
        const char* replies;
    } rows[] = {
        {"", "12 12 12 12"},
        {"paper-near-end", "12 12 12 1E"},
        {"paper-out", "1A 32 12 7E"},       // off line, stopped at the paper end; both sensor pairs
        {"cover-open", "1A 16 12 12"},
        {"drawer-open", "16 12 12 12"},
        {"offline", "1A 12 12 12"},
        {"cutter-error", "3A 52 1A 12"},    // waiting for recovery, an error, the autocutter
        {"paper-near-end,drawer-open", "16 12 12 1E"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.words);
        PrinterProbe p;
        p.interpreter.SetStatus(Conditions(row.words));
        EXPECT_EQ(RealTimeReplies(p), row.replies);
    }
}

TEST(Status, EveryReplyDecodesToTheConditionsItCameFrom)
{
    for (unsigned bits = 0; bits < 64; ++bits) {
        DeviceStatus s;
        int i = 0;
        for (const StatusCondition& c : kStatusConditions) s.*c.field = bits & (1u << i++);
        SCOPED_TRACE(StatusListText(s));
        PrinterProbe p;
        p.interpreter.SetStatus(s);
        p.FeedHex("10 04 01 10 04 02 10 04 03 10 04 04");
        ASSERT_EQ(p.replies.size(), 4u);
        PrinterStatus got;
        for (uint8_t n = 1; n <= 4; ++n)
            ASSERT_TRUE(DecodeStatusByte(StatusKind(n), p.replies[n - 1].at(0), got)) << int(n);
        const bool stops = s.offline || s.coverOpen || s.paperOut || s.cutterError;
        EXPECT_EQ(got.offline, stops);
        EXPECT_EQ(got.drawerPinHigh, s.drawerOpen);
        EXPECT_EQ(got.coverOpen, s.coverOpen);
        EXPECT_EQ(got.stoppedAtPaperEnd, s.paperOut);
        EXPECT_EQ(got.errorOccurred, s.cutterError);
        EXPECT_EQ(got.cutterError, s.cutterError);
        EXPECT_FALSE(got.unrecoverable);
        EXPECT_FALSE(got.feedButton);
        EXPECT_EQ(got.paper, s.paperOut ? PaperLevel::Out : s.paperNearEnd ? PaperLevel::NearEnd : PaperLevel::Ok);
        EXPECT_EQ(CanPrint(got), !stops);
    }
}

TEST(Status, GsIAnswersFirmwareMakerModelAndSerial)
{
    PrinterProbe p;
    p.FeedHex("1D 49 41 1D 49 42 1D 49 43 1D 49 44 1D 49 01");
    ASSERT_EQ(p.replies.size(), 4u) << "GS I 1 is not answered";
    std::vector<std::optional<std::string>> texts;
    for (const Bytes& r : p.replies) texts.push_back(DecodeIdentityReply(std::string(r.begin(), r.end())));
    EXPECT_EQ(texts[0], std::string(kVersion));
    EXPECT_EQ(texts[1], "tallyx");
    EXPECT_EQ(texts[2], "tallyx virtual printer 58");
    EXPECT_EQ(texts[3], "VP0001");
    EXPECT_EQ(Hex(p.replies[1]), "5F 74 61 6C 6C 79 78 00");
    EXPECT_EQ(p.logs.at(1).meaning, "transmit printer ID: answered \"tallyx\"");
    EXPECT_EQ(p.LastLog().meaning, "transmit printer ID: not answered");

    PrinterProbe wide(kPaper80Dots);
    wide.interpreter.SetIdentity({"2.5", "Acme", "TM-X", "S42"});
    wide.FeedHex("1D 49 42 1D 49 43 1D 49 41 1D 49 44");
    ASSERT_EQ(wide.replies.size(), 4u);
    EXPECT_EQ(Hex(wide.replies[0]), "5F 41 63 6D 65 00");
    EXPECT_EQ(Hex(wide.replies[1]), "5F 54 4D 2D 58 00");
    EXPECT_EQ(Hex(wide.replies[2]), "5F 32 2E 35 00");
    EXPECT_EQ(Hex(wide.replies[3]), "5F 53 34 32 00");
    PrinterProbe plain(kPaper80Dots);
    plain.FeedHex("1D 49 43");
    EXPECT_EQ(DecodeIdentityReply(std::string(plain.replies.at(0).begin(), plain.replies.at(0).end())),
              "tallyx virtual printer 80");
}

TEST(Status, AStoppedPrinterPrintsNothingLogsWhyAndStillAnswersRealTimeCommands)
{
    const struct {
        const char* words;
        const char* reason;
    } rows[] = {
        {"paper-out", "paper out"},
        {"cover-open", "cover open"},
        {"offline", "offline"},
        {"cutter-error", "cutter error"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.words);
        PrinterProbe p;
        p.interpreter.SetStatus(Conditions(row.words));
        p.FeedHex("1B 40 41 42 0A 1D 56 00 1D 72 01 10 04 04 10 04 13 10 05 01 1F 1B 11 00");
        EXPECT_TRUE(p.receipts.empty());
        EXPECT_TRUE(p.interpreter.CurrentReceipt().blocks.empty());
        EXPECT_EQ(p.stateChanges, 0) << "the buzzer setting was dropped too";
        EXPECT_TRUE(p.state.buzzer);
        const std::string why = std::string(" (") + row.reason + ")";
        ASSERT_EQ(p.logs.size(), 9u);
        EXPECT_EQ(p.logs[0].meaning, "initialise: dropped" + why);
        EXPECT_EQ(p.logs[1].mnemonic, "text");
        EXPECT_EQ(p.logs[1].meaning, "print \"AB\": dropped" + why);
        EXPECT_EQ(p.logs[2].meaning, "print and feed a line: dropped" + why);
        EXPECT_EQ(p.logs[3].meaning, "cut the paper: dropped" + why);
        EXPECT_EQ(p.logs[4].meaning, "transmit status: dropped" + why);
        EXPECT_EQ(p.logs[5].mnemonic, "DLE EOT");
        EXPECT_EQ(p.logs[6].mnemonic, "DLE EOT 13");
        EXPECT_EQ(p.logs[7].meaning, "real-time request (ignored)");
        EXPECT_EQ(p.logs[8].meaning, "buzzer setting: dropped" + why);
        ASSERT_EQ(p.replies.size(), 2u) << "DLE EOT 4 and the network query";
        EXPECT_EQ(p.replies[1].size(), kNetReplySize);
    }

    // Back to ready, it prints again.
    PrinterProbe p;
    p.interpreter.SetStatus(Conditions("paper-out"));
    p.FeedHex("41 42");
    p.interpreter.SetStatus({});
    p.FeedHex("43 0A");
    EXPECT_EQ(PrintedText(p.interpreter.CurrentReceipt()), "C\n");
    EXPECT_EQ(p.logs.at(0).meaning, "print \"AB\": dropped (paper out)");
    EXPECT_EQ(p.logs.at(1).meaning, "print \"C\"");
}

TEST(Status, GsASendsTheStatusAtOnceAndOnEveryChangeItAskedFor)
{
    std::vector<std::string> pushed;   // "link: hex"
    const PushFn push = [&](std::string_view link, const Bytes& bytes) {
        pushed.push_back(std::string(link) + ": " + Hex(bytes));
    };
    PrinterProbe p;
    p.FeedHex("1D 61 0F");
    ASSERT_EQ(p.replies.size(), 1u);
    EXPECT_EQ(Hex(p.replies[0]), "10 00 00 00");
    EXPECT_EQ(p.LastLog().meaning, "automatic status back: on for drawer, online, error, paper; sent 10 00 00 00");

    const struct {
        const char* words;
        const char* asb;
    } rows[] = {
        {"cover-open", "tcp: 38 00 00 00"},
        {"cover-open,paper-near-end", "tcp: 38 00 03 00"},
        {"paper-out", "tcp: 18 00 0F 00"},
        {"drawer-open,cutter-error", "tcp: 1C 09 00 00"},
        {"", "tcp: 10 00 00 00"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.words);
        pushed.clear();
        p.interpreter.SetStatus(Conditions(row.words), push);
        EXPECT_EQ(pushed, std::vector<std::string>{row.asb});
    }
    pushed.clear();
    p.interpreter.SetStatus({}, push);
    EXPECT_TRUE(pushed.empty()) << "no change, nothing sent";

    // Only the items asked for; another link's request is its own; GS a 0 and the end of
    // the connection stop it.
    p.replies.clear();
    p.FeedHex("1D 61 01");   // the drawer only
    p.interpreter.Feed("\x1D\x61\x08", "serial");
    EXPECT_EQ(p.replies.size(), 1u) << "the serial feed has no reply function here";
    pushed.clear();
    p.interpreter.SetStatus(Conditions("paper-out"), push);
    EXPECT_EQ(pushed, std::vector<std::string>{"serial: 18 00 0F 00"});
    pushed.clear();
    p.interpreter.SetStatus(Conditions("paper-out,drawer-open"), push);
    EXPECT_EQ(pushed, std::vector<std::string>{"tcp: 1C 00 0F 00"});
    p.interpreter.SetStatus({});
    p.FeedHex("1D 61 00");
    p.interpreter.EndOfStream("serial");
    pushed.clear();
    p.interpreter.SetStatus(Conditions("drawer-open,paper-out"), push);
    EXPECT_TRUE(pushed.empty());
}

TEST(Status, StatusListsAreReadAndBadWordsRefused)
{
    EXPECT_EQ(StatusListText(Conditions("cutter-error,paper-near-end")), "paper-near-end,cutter-error");
    EXPECT_EQ(Conditions(""), DeviceStatus{});
    for (const char* bad : {"paper-low", "cover-open,", "cover-open,,offline", "Offline"}) {
        SCOPED_TRACE(bad);
        std::string word = "unset";
        EXPECT_FALSE(ParseStatusList(bad, &word));
        EXPECT_NE(word, "unset");
    }
}

} // namespace
} // namespace tallyx::vprinter::test
