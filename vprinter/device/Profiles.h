#pragma once
// The printers the virtual printer can be (the rows of res/Profiles.h), chosen by --profile.
// Every profile prints the same two font cells, those of the line layout.
#include <cstdint>
#include <span>
#include <string_view>

#include "res/Profiles.h"
#include "vprinter/device/PrinterState.h"

namespace tallyx::vprinter {

using tallyx::CodePageNumbering;
using tallyx::Profile;

std::span<const Profile> Profiles();
// The row named `name`; null when there is none.
const Profile* FindProfile(std::string_view name);
// zh-58: what the tool configures, and what the virtual printer is unless told otherwise.
const Profile& DefaultProfile();

// The stored settings of a printer of this profile fresh from the factory.
PrinterState FactoryState(const Profile& profile);

} // namespace tallyx::vprinter
