#pragma once
// `tallyx-vprinter render` and `check`: files of printer bytes drawn without a port, each
// receipt a PNG, by the same printer the TCP and serial ports feed, so the pictures are the
// same; `check` compares them with pictures kept as the expected ones.
// Needs a QGuiApplication (fonts).
#include <cstdio>
#include <string>
#include <vector>

#include "vprinter/device/Profiles.h"

namespace tallyx::vprinter {

struct RenderOptions {
    const Profile* profile = &DefaultProfile();
    int paperDots = 0;          // 0: the profile's
    std::string outDir = ".";
    std::string logPath;        // "": no log
    bool freshLog = false;      // true: the log is started afresh, not appended to
    bool strict = false;        // commands the printer would have acted on but this one did not fail
};

// Exit statuses of render.
inline constexpr int kRenderUnwritable = 1;   // a picture or the log could not be written
inline constexpr int kRenderUnreadable = 2;   // a file could not be read, or two files share a name
inline constexpr int kRenderNotCarriedOut = 3;   // --strict: commands that were not carried out

// Draws every receipt of each file as OUT/STEM-N.png (N from 1), each picture written as
// soon as its receipt ends, and prints each path on `out` (none when null), problems on
// `err`; returns the exit status (0 when every file was drawn). Two files of the same stem
// are refused before anything is drawn.
int RenderFiles(const std::vector<std::string>& files, const RenderOptions& options, std::FILE* out,
                std::FILE* err);

// Exit statuses of check.
inline constexpr int kCheckSame = 0;      // every picture as expected, none missing, none extra
inline constexpr int kCheckDiffer = 1;    // a picture differs, is missing or extra; or --strict found commands
inline constexpr int kCheckTrouble = 2;   // a file could not be read or written, or bad arguments

// Draws the files as render does into `options.outDir`, which must be new or empty ("": a
// new directory under the temporary one), and compares the pictures there with the *.png of
// `expectedDir` both ways; a picture that differs gets OUT/diff-NAME.png. Says on `out`
// what differs and where the pictures are.
int CheckFiles(const std::string& expectedDir, const std::vector<std::string>& files, RenderOptions options,
               std::FILE* out, std::FILE* err);

} // namespace tallyx::vprinter
