#include "vprinter/device/Profiles.h"

#include "res/Types.h"
#include "vprinter/paper/Receipt.h"

namespace tallyx::vprinter {

namespace {

constexpr Profile kProfiles[] = {
    {"zh-58", "58 mm Chinese-market printer, GBK mode at start (the default)", kPaper58Dots, 203,
     true, 0, CodePageNumbering::Vendor, false, {}, {}},
    {"zh-80", "80 mm Chinese-market printer, GBK mode at start", kPaper80Dots, 203, true, 0,
     CodePageNumbering::Vendor, false, {}, {}},
    {"tm-t88", "Epson TM-T88-class 80 mm printer, PC437 at start, Epson code page numbers", kPaper80Dots, 203,
     false, 0, CodePageNumbering::Epson, true, {}, "tallyx virtual printer TM-T88 class"},
};

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
