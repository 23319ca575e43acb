#pragma once
// Qt's standard paths want XDG_RUNTIME_DIR and say so on every start when a session has
// none (a console, a container, xvfb-run): a line the user can do nothing about. The
// programs give Qt the same private directory it would fall back to, before it looks.
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace tallyx {

inline void EnsureRuntimeDir()
{
    const char* set = std::getenv("XDG_RUNTIME_DIR");
    if (set && *set) return;
    const std::string dir = "/tmp/runtime-" + std::to_string(::getuid());
    ::mkdir(dir.c_str(), 0700);
    struct stat st {};
    // Someone else's directory (or a loose one) is left for Qt to complain about.
    if (::lstat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid() ||
        (st.st_mode & 0077) != 0)
        return;
    ::setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
}

} // namespace tallyx
