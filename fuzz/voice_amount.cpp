// The voice chip's amount on any text: bytes or a refusal; bytes carry the text as typed.
#include <fuzzer/FuzzedDataProvider.h>

#include "commands/Voice.h"
#include "fuzz/FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const tallyx::Result result = tallyx::BuildAmountCommand(text);
    CheckBuilderResult(result);
    if (!result.ok()) return 0;
    const tallyx::Bytes& b = result.bytes();
    FUZZ_CHECK(b.size() >= text.size());
    FUZZ_CHECK(std::equal(text.begin(), text.end(), b.end() - long(text.size()),
                          [](char c, uint8_t u) { return uint8_t(c) == u; }));
    return 0;
}
