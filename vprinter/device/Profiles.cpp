#include "vprinter/device/Profiles.h"

#include "res/Types.h"

namespace tallyx::vprinter {

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
