#include "vprinter/Render.h"

#include <QImage>
#include <filesystem>
#include <fstream>

#include "vprinter/VirtualPrinter.h"
#include "vprinter/render/ReceiptRenderer.h"

namespace tallyx::vprinter {

namespace {

namespace fs = std::filesystem;

constexpr size_t kChunk = 64 * 1024;

// One file through a fresh printer, as if sent to it just after power-on; false when the
// file cannot be read (what was read is drawn all the same).
bool DrawFile(const std::string& file, const RenderOptions& options, const std::shared_ptr<CommandLog>& log,
              std::vector<QImage>& pictures)
{
    std::ifstream in(file, std::ios::binary);
    if (!in) return false;
    VirtualPrinterOptions printerOptions;
    printerOptions.listen = false;
    printerOptions.profile = options.profile;
    printerOptions.paperDots = options.paperDots > 0 ? options.paperDots : options.profile->paperDots;
    printerOptions.log = log;
    printerOptions.receiptPicture = [&](const QImage& picture) { pictures.push_back(picture); };
    VirtualPrinter printer(printerOptions);
    std::vector<char> chunk(kChunk);
    while (in) {
        in.read(chunk.data(), std::streamsize(chunk.size()));
        const auto n = size_t(in.gcount());
        if (n > 0) printer.Feed(reinterpret_cast<const uint8_t*>(chunk.data()), n, "file");
    }
    const bool whole = in.eof();
    printer.Stop();   // the end of the file is the silence that ends the last receipt
    return whole;
}

} // namespace

int RenderFiles(const std::vector<std::string>& files, const RenderOptions& options, std::FILE* out,
                std::FILE* err)
{
    int status = 0;
    std::error_code ec;
    fs::create_directories(options.outDir, ec);
    if (ec) {
        std::fprintf(err, "tallyx-vprinter: cannot create %s: %s\n", options.outDir.c_str(), ec.message().c_str());
        return kRenderUnwritable;
    }
    // One log for all the files, its lines numbered on from one file to the next.
    std::shared_ptr<CommandLog> log;
    if (!options.logPath.empty()) {
        log = std::make_shared<CommandLog>(options.logPath);
        if (!log->Ok()) {
            std::fprintf(err, "tallyx-vprinter: cannot open the log %s\n", options.logPath.c_str());
            return kRenderUnwritable;
        }
    }
    for (const std::string& file : files) {
        std::vector<QImage> pictures;
        if (!DrawFile(file, options, log, pictures)) {
            std::fprintf(err, "tallyx-vprinter: cannot read %s\n", file.c_str());
            status = kRenderUnreadable;
        }
        const std::string stem = fs::path(file).stem().string();
        for (size_t i = 0; i < pictures.size(); ++i) {
            const std::string path = (fs::path(options.outDir) / (stem + "-" + std::to_string(i + 1) + ".png")).string();
            if (!SaveReceiptPicture(pictures[i], path)) {
                std::fprintf(err, "tallyx-vprinter: cannot write %s\n", path.c_str());
                if (status == 0) status = kRenderUnwritable;
                continue;
            }
            std::fprintf(out, "%s\n", path.c_str());
        }
    }
    return status;
}

} // namespace tallyx::vprinter
