#pragma once
// The four commands of the NV logo dialog: a picture printed once, a picture stored in
// one of the printer's five logo slots, a stored logo printed, a slot cleared.
#include <string>

#include "commands/Picture.h"
#include "res/Types.h"

namespace tallyx {

inline constexpr int kLogoSlotCount = 5;
inline constexpr int kLogoModeCount = 4;

// path: the chosen file's file system name, empty while none is chosen.
// slotIndex 0..4 is slot 1..5; modeIndex 0..3 is normal, double width, double height, both.
Result BuildTestPictureCommand(const std::string& path);
Result BuildDownloadLogoCommand(const std::string& path, int slotIndex);
// The same command for dots from any picture, under the bitmap file's two size limits.
Result BuildDownloadLogoCommand(const DotPicture& dots, int slotIndex);
Bytes BuildPrintLogoCommand(int slotIndex, int modeIndex);
Bytes BuildClearLogoCommand(int slotIndex);

} // namespace tallyx
