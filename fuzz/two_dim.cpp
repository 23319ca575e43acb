// The QR and PDF417 builders on any content and settings: bytes or a refusal, and the
// GS ( k length bytes of every block add up to the bytes that follow them.
#include <fuzzer/FuzzedDataProvider.h>

#include "commands/TwoDim.h"
#include "fuzz/FuzzCheck.h"

namespace {
// Every block is 1D 28 6B pL pH and pL + 256 pH bytes; they must tile the command up to
// the alignment bytes (1B 61 n) around it.
void CheckBlocks(const tallyx::Bytes& b)
{
    size_t i = 0;
    bool sawBlock = false;
    while (i < b.size()) {
        if (i + 2 < b.size() && b[i] == 0x1B && b[i + 1] == 0x61) {
            i += 3;
            continue;
        }
        FUZZ_CHECK(i + 5 <= b.size() && b[i] == 0x1D && b[i + 1] == 0x28 && b[i + 2] == 0x6B);
        const size_t length = size_t(b[i + 3]) | size_t(b[i + 4]) << 8;
        i += 5 + length;
        FUZZ_CHECK(i <= b.size());
        sawBlock = true;
    }
    FUZZ_CHECK(sawBlock);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const bool qr = in.ConsumeBool();
    tallyx::Result result = tallyx::Bytes{};
    if (qr) {
        tallyx::QrParams p;
        p.moduleSize = in.ConsumeIntegral<uint8_t>();
        p.ecc = in.ConsumeIntegral<uint8_t>();
        result = tallyx::BuildQrCommand(p, in.ConsumeRemainingBytesAsString());
    } else {
        tallyx::Pdf417Params p;
        p.columns = in.ConsumeIntegral<uint8_t>();
        p.rows = in.ConsumeIntegral<uint8_t>();
        p.moduleWidth = in.ConsumeIntegral<uint8_t>();
        p.rowHeight = in.ConsumeIntegral<uint8_t>();
        p.options = in.ConsumeIntegral<uint8_t>();
        p.correctionMode = in.ConsumeBool() ? 30 : 31;
        p.correction = in.ConsumeIntegral<uint8_t>();
        result = tallyx::BuildPdf417Command(p, in.ConsumeRemainingBytesAsString());
    }
    CheckBuilderResult(result);
    if (result.ok()) CheckBlocks(result.bytes());
    return 0;
}
