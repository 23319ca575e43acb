#include "vprinter/Profiles.h"

#include "res/Types.h"
#include "vprinter/LineLayout.h"
#include "vprinter/Receipt.h"

namespace tallyx::vprinter {

namespace {

// Every profile's fonts are the cells the layout draws.
constexpr FontCell kFontA{kFontACellW, kFontACellH};
constexpr FontCell kFontB{kFontBCellW, kFontBCellH};

constexpr Profile kProfiles[] = {
    {"zh-58", "58 mm Chinese-market printer, GBK mode at start (the default)", kPaper58Dots, 203, kFontA, kFontB,
     true, 0, CodePageNumbering::Vendor, false, {}, {}},
    {"zh-80", "80 mm Chinese-market printer, GBK mode at start", kPaper80Dots, 203, kFontA, kFontB, true, 0,
     CodePageNumbering::Vendor, false, {}, {}},
    {"tm-t88", "Epson TM-T88-class 80 mm printer, PC437 at start, Epson code page numbers", kPaper80Dots, 203,
     kFontA, kFontB, false, 0, CodePageNumbering::Epson, true, {}, "tallyx virtual printer TM-T88 class"},
};

// The layout reads its cells from LineLayout.h, not from the row: a profile with fonts of
// its own needs them read from the profile first.
constexpr bool DrawnFonts()
{
    for (const Profile& p : kProfiles)
        if (p.fontA.width != kFontA.width || p.fontA.height != kFontA.height || p.fontB.width != kFontB.width ||
            p.fontB.height != kFontB.height)
            return false;
    return true;
}
static_assert(DrawnFonts());

} // namespace

std::span<const Profile> Profiles()
{
    return kProfiles;
}

const Profile* FindProfile(std::string_view name)
{
    return FindRow(kProfiles, &Profile::name, name);
}

const Profile& DefaultProfile()
{
    return kProfiles[0];
}

PrinterState FactoryState(const Profile& profile)
{
    PrinterState state;
    state.printMode = profile.chineseAtStart ? 1 : 0;
    state.codePage = profile.codePageAtStart;
    return state;
}

} // namespace tallyx::vprinter
