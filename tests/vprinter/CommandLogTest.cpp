// The command log: one JSON object per line with the fields a reader relies on.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "vprinter/CommandLog.h"

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

} // namespace
} // namespace tallyx::vprinter::test
