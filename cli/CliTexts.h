#pragma once
// The command line's own texts. What the window would show comes from res/Messages.h instead,
// unchanged, so scripts can match the same texts the operator sees.
#include <string_view>

namespace tallyx::cli {

inline constexpr std::string_view kTextBadAddress =
    "an address is up to four dot-separated fields of 0 to 255, empty fields allowed";
inline constexpr std::string_view kTextStdinFailed = "tallyx-cli: standard input could not be read";

// cutter-test: progress on a terminal, the end of a run cut short, cycles that never arrived.
inline constexpr std::string_view kTextCycle = "cycle ";                     // then N/M
inline constexpr std::string_view kTextCutInterrupted = "tallyx-cli: interrupted, cycles sent: ";   // then N
inline constexpr std::string_view kTextCutNotDelivered = "tallyx-cli: cycles the printer did not take: ";   // then N
inline constexpr int kExitInterrupted = 130;   // as a shell reports SIGINT

// status: the words of its lines and of its JSON values.
inline constexpr std::string_view kWordPaperOk = "ok";
inline constexpr std::string_view kWordPaperNearEnd = "near-end";
inline constexpr std::string_view kWordPaperOut = "out";
inline constexpr std::string_view kWordCutterError = "cutter";
inline constexpr std::string_view kWordUnrecoverable = "unrecoverable";
inline constexpr std::string_view kWordAutoRecoverable = "auto-recoverable";
inline constexpr std::string_view kWordYes = "yes";
inline constexpr std::string_view kWordNo = "no";
inline constexpr std::string_view kWordOpen = "open";
inline constexpr std::string_view kWordClosed = "closed";
inline constexpr std::string_view kWordHigh = "high";
inline constexpr std::string_view kWordLow = "low";
inline constexpr std::string_view kWordPressed = "pressed";
inline constexpr std::string_view kWordReleased = "released";
inline constexpr std::string_view kWordNone = "none";
inline constexpr std::string_view kWordNoAnswer = "(no answer)";

} // namespace tallyx::cli
