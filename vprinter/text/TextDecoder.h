#pragma once
// Printer character codes to UTF-8: GBK pairs in Chinese mode, the chosen code page otherwise.
#include <cstdint>
#include <string>

#include "vprinter/device/Profiles.h"

namespace tallyx::vprinter {

inline constexpr char kUnprintable[] = "?";
// Bytes from 80 of a code page this printer has no table for.
inline constexpr char kNoCharacterTable[] = "\u25A1";   // a white square

class TextDecoder {
public:
    TextDecoder() = default;
    ~TextDecoder();
    TextDecoder(const TextDecoder&) = delete;
    TextDecoder& operator=(const TextDecoder&) = delete;

    // One byte of the code page numbered `codePage` (ESC t / 1F 1B 1F FF numbering).
    std::string SingleByte(uint8_t byte, uint8_t codePage, CodePageNumbering numbering = CodePageNumbering::Vendor);
    // One GBK pair; kUnprintable when it names no character.
    std::string Gbk(uint8_t lead, uint8_t trail);

    static bool IsGbkLead(uint8_t b) { return b >= 0x81 && b <= 0xFE; }
    static bool IsGbkTrail(uint8_t b) { return b >= 0x40 && b <= 0xFE && b != 0x7F; }

private:
    std::string Convert(void*& handle, const char* from, const char* in, size_t n);

    void* m_gbk = nullptr;
    void* m_single = nullptr;
    const char* m_singleName = nullptr;
};

} // namespace tallyx::vprinter
