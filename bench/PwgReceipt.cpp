// Writes an N-page PWG raster receipt (80 mm, 8-bit grey, 203 dpi) for the printer
// application's bench: each page 30 lines of text-like strokes, blank below them.
// Usage: tallyx-bench-pwg FILE PAGES
#include <cups/raster.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

int main(int argc, char** argv)
{
    if (argc != 3) return 2;
    cups_page_header2_t header;
    cupsRasterInitPWGHeader(&header, pwgMediaForPWG("om_receipt_80x297mm"), "sgray_8", 203, 203, "one-sided", nullptr);
    const int fd = ::open(argv[1], O_WRONLY | O_CREAT | O_TRUNC, 0644);
    cups_raster_t* raster = cupsRasterOpen(fd, CUPS_RASTER_WRITE_PWG);
    std::vector<unsigned char> line(header.cupsBytesPerLine);
    for (int page = 0; page < std::atoi(argv[2]); ++page) {
        cupsRasterWriteHeader2(raster, &header);
        for (unsigned y = 0; y < header.cupsHeight; ++y) {
            const bool text = y < 30 * 24 && y % 24 < 16;
            for (unsigned x = 0; x < header.cupsWidth; ++x)
                line[x] = text && x > 40 && x < 600 && (x * 7 + y * 3) % 11 < 4 ? 0x00 : 0xFF;
            cupsRasterWritePixels(raster, line.data(), header.cupsBytesPerLine);
        }
    }
    cupsRasterClose(raster);
    ::close(fd);
    return 0;
}
