// The barcode builder on any data and any settings: bytes or a refusal, and bytes always
// carry the data whole behind its length byte.
#include <fuzzer/FuzzedDataProvider.h>

#include "commands/Barcode.h"
#include "fuzz/FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    tallyx::BarcodeParams p;
    p.hriPosition = in.ConsumeIntegral<uint8_t>();
    p.hriFont = in.ConsumeIntegral<uint8_t>();
    p.symbology = uint8_t(0x41 + in.ConsumeIntegralInRange(0, 9));   // the nine, and one beyond
    p.height = in.ConsumeIntegral<int64_t>();
    p.width = in.ConsumeIntegral<int64_t>();
    p.leftMargin = in.ConsumeIntegral<int64_t>();
    const std::string text = in.ConsumeRemainingBytesAsString();
    const tallyx::Result result = tallyx::BuildBarcodeCommand(p, text);
    CheckBuilderResult(result);
    if (!result.ok()) return 0;
    const tallyx::Bytes& b = result.bytes();
    if (b.empty()) return 0;   // no symbology chosen: nothing to send
    FUZZ_CHECK(b.size() == 19 + text.size());
    FUZZ_CHECK(b[18] == text.size());
    FUZZ_CHECK(std::equal(text.begin(), text.end(), b.begin() + 19, [](char c, uint8_t u) { return uint8_t(c) == u; }));
    return 0;
}
