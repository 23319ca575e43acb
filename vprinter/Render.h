#pragma once
// `tallyx-vprinter render`: files of printer bytes drawn without a port, each receipt a
// PNG, by the same printer the TCP and serial ports feed, so the pictures are the same.
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
};

inline constexpr int kRenderUnreadable = 2;   // exit status: a file could not be read
inline constexpr int kRenderUnwritable = 1;   // exit status: a picture could not be written

// Draws every receipt of each file as OUT/STEM-N.png (N from 1) and prints each path on
// `out`, problems on `err`; returns the exit status (0 when every file was drawn).
int RenderFiles(const std::vector<std::string>& files, const RenderOptions& options, std::FILE* out,
                std::FILE* err);

} // namespace tallyx::vprinter
