#pragma once
// Controls of the QR code dialog (template 135) that code refers to.
namespace tallyx::id::qr {

inline constexpr int kModuleSize = 1002;    // combo "放大倍数:"
inline constexpr int kEcc = 1012;           // combo "纠错级别:"
inline constexpr int kContent = 1004;       // multi-line edit
inline constexpr int kSend = 1003;          // button "Send Data"

} // namespace tallyx::id::qr
