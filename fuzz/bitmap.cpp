// Whole bitmap files through the loader and both image commands of the NV logo dialog.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "commands/Bitmap.h"
#include "commands/NvLogo.h"
#include "fuzz/FuzzCheck.h"

using namespace tallyx;

namespace {

// The loader reads a file by name; one scratch file per fuzzing process, in memory if it can.
const std::string& ScratchPath()
{
    static const std::string folder = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    static const std::string path = folder + "/tallyx-fuzz-bitmap-" + std::to_string(::getpid()) + ".bmp";
    return path;
}

// A command is its header (holding x and y), 8 * x * y column bytes and its trailer.
void CheckCommand(const Result& result, size_t headerLength, size_t trailerLength)
{
    if (!result.ok()) {
        FUZZ_CHECK(!result.refusal()->text.empty());
        return;
    }
    const Bytes& cmd = result.bytes();
    FUZZ_CHECK(cmd.size() >= headerLength + trailerLength);
    const size_t x = cmd[headerLength == 4 ? 2 : 3];
    const size_t y = cmd[headerLength == 4 ? 3 : 5];
    FUZZ_CHECK(x > 0 && y > 0);
    FUZZ_CHECK(cmd.size() == headerLength + 8 * x * y + trailerLength);
    FUZZ_CHECK(headerLength + 8 * x * y <= kImageCmdLimit);
}

void RemoveScratch() { std::remove(ScratchPath().c_str()); }

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    std::atexit(RemoveScratch);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FILE* file = std::fopen(ScratchPath().c_str(), "wb");
    if (!file) return 0;
    const size_t written = std::fwrite(data, 1, size, file);
    std::fclose(file);
    if (written != size) return 0;

    CheckCommand(BuildTestPictureCommand(ScratchPath()), 4, 5);
    CheckCommand(BuildDownloadLogoCommand(ScratchPath(), int(size % kLogoSlotCount)), 7, 2);
    return 0;
}
