#pragma once
// The printer's single-byte code pages by number (ESC t n and 1F 1B 1F FF n), with the
// character set the C library decodes each with.
#include <cstdint>
#include <span>
#include <string>

#include "vprinter/device/Profiles.h"

namespace tallyx::vprinter {

struct CodePage {
    uint8_t number;
    const char* name;      // as the printer's self-test page names it
    const char* charset;   // iconv name, or "table:NAME" (CodePageTables); null: no table for it
};

std::span<const CodePage> CodePages(CodePageNumbering numbering = CodePageNumbering::Vendor);

// The code page numbered `number`; null when the printer has none of that number.
const CodePage* FindCodePage(uint8_t number, CodePageNumbering numbering = CodePageNumbering::Vendor);

// The iconv name for a code page number; null when it has no table here.
const char* CodePageCharset(uint8_t number, CodePageNumbering numbering = CodePageNumbering::Vendor);

// "17 (OEM866, CP866)", or what is missing, for the log and the self-test page.
std::string CodePageText(uint8_t number, CodePageNumbering numbering = CodePageNumbering::Vendor);

} // namespace tallyx::vprinter
