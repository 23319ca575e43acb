// The print-test box's hexadecimal dump and its two parsers on any text.
#include <cstdint>
#include <string>
#include <string_view>

#include "commands/Hex.h"
#include "fuzz/FuzzCheck.h"

using namespace tallyx;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    HexParseStatus bytesStatus = HexParseStatus::Converted;
    const Bytes bytes = HexTextToBytes(text, bytesStatus);
    HexParseStatus textStatus = HexParseStatus::Converted;
    const std::string asText = HexTextToText(text, textStatus);
    // Both parsers follow one rule: they agree on what is bad and on the bytes.
    FUZZ_CHECK(bytesStatus == textStatus);
    if (bytesStatus == HexParseStatus::BadCharacter) {
        FUZZ_CHECK(bytes.empty());
        FUZZ_CHECK(asText == text);
    } else {
        // At most one byte per digit; the text form ends at the first 00.
        FUZZ_CHECK(bytes.size() <= size);
        const std::string whole(bytes.begin(), bytes.end());
        FUZZ_CHECK(asText == whole.substr(0, whole.find('\0')));
    }

    // The dump reads back to the same bytes: three characters a byte, upper case.
    const std::string dump = BytesToHexText(text);
    FUZZ_CHECK(dump.size() == 3 * size);
    HexParseStatus again = HexParseStatus::BadCharacter;
    const Bytes back = HexTextToBytes(dump, again);
    FUZZ_CHECK(again == HexParseStatus::Converted);
    FUZZ_CHECK(back.size() == size && std::equal(back.begin(), back.end(), data));
    return 0;
}
