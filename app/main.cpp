#include <cstdio>

#include "app/AppOptions.h"
#include "app/CPosToolApp.h"
#include "res/RuntimeDir.h"
#include "res/Version.h"

int main(int argc, char** argv)
{
    const tallyx::AppOptions options = tallyx::ParseAppOptions({argv + 1, argv + argc});
    if (options.help) return std::fputs(tallyx::kAppHelp, stdout) < 0;
    if (options.version) return std::printf("%s\n", tallyx::kVersionText.data()) < 0;
    if (!options.error.empty()) {
        std::fprintf(stderr, "tallyx: %s\n", options.error.c_str());
        return 64;
    }
    tallyx::EnsureRuntimeDir();
    tallyx::CPosToolApp app(argc, argv);
    return app.InitInstance(options) ? 0 : 1;
}
