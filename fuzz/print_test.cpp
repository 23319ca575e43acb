// The print-test Send check on any text, either side of the length limit.
#include <fuzzer/FuzzedDataProvider.h>

#include <string>

#include "commands/Hex.h"
#include "commands/PrintTest.h"
#include "fuzz/FuzzCheck.h"

using namespace tallyx;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const bool hexMode = in.ConsumeBool();
    // Padding with line breaks and spaces (separators) reaches the limit without
    // changing what the hexadecimal text says.
    const int pad = in.ConsumeIntegralInRange(0, 3);
    std::string text = in.ConsumeRemainingBytesAsString();
    static constexpr size_t kPads[] = {0, 24574, 24575, 30000};
    if (pad && text.size() < kPads[pad]) text.append(kPads[pad] - text.size(), pad == 2 ? ' ' : '\n');

    const Result result = BuildPrintTestCommand(text, hexMode);
    if (text.size() >= 24575) {
        FUZZ_CHECK(!result.ok());
        FUZZ_CHECK(result.refusal()->text == "输入太多了!");
        return 0;
    }
    if (!hexMode) {
        FUZZ_CHECK(result.ok());
        FUZZ_CHECK(std::string(result.bytes().begin(), result.bytes().end()) == text);
        return 0;
    }
    HexParseStatus status = HexParseStatus::Converted;
    const Bytes parsed = HexTextToBytes(text, status);
    if (status == HexParseStatus::BadCharacter) {
        FUZZ_CHECK(!result.ok());
        FUZZ_CHECK(result.refusal()->text == "十六进制字符输入有错误!");
    } else {
        FUZZ_CHECK(result.ok() && result.bytes() == parsed);
    }
    return 0;
}
