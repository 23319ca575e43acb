#pragma once
// Control ids of the NV logo dialog (template 129), named by meaning.
namespace tallyx::id::nvlogo {

inline constexpr int kOpenBmp = 1003;
inline constexpr int kTestPicture = 1004;
inline constexpr int kSlot = 1002;          // slot combo
inline constexpr int kDownload = 1005;
inline constexpr int kPrint = 1007;
inline constexpr int kClear = 1008;
inline constexpr int kPreview = 1056;       // the black frame the picture is drawn in
inline constexpr int kMode = 1078;          // print mode combo

} // namespace tallyx::id::nvlogo
