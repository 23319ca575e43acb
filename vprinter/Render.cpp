#include "vprinter/Render.h"

#include <QImage>
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <stdlib.h>

#include "res/Hex.h"
#include "vprinter/VirtualPrinter.h"
#include "vprinter/render/Compare.h"
#include "vprinter/render/PictureWriter.h"
#include "vprinter/render/ReceiptRenderer.h"

namespace tallyx::vprinter {

namespace {

namespace fs = std::filesystem;

constexpr size_t kChunk = 64 * 1024;
// --strict names this many commands of a file, then counts the rest.
constexpr long kNotCarriedOutShown = 20;

// One file through a fresh printer, as if sent to it just after power-on.
class FileDrawing {
public:
    FileDrawing(const std::string& file, const RenderOptions& options, const std::shared_ptr<CommandLog>& log,
                PictureWriter& writer, std::FILE* err)
        : m_file(file), m_options(options), m_writer(writer), m_err(err), m_stem(fs::path(file).stem().string())
    {
        if (log) log->SetFile(file);
        VirtualPrinterOptions printer;
        printer.listen = false;
        printer.profile = options.profile;
        printer.paperDots = options.paperDots > 0 ? options.paperDots : options.profile->paperDots;
        printer.log = log;
        // Written the moment the receipt ends, so memory holds one receipt, not the file's.
        printer.receiptPicture = [this](const QImage& picture) { Write(picture); };
        printer.logged = [this](const LogRecord& r) {
            if (r.notCarriedOut) NotCarriedOut(r);
        };
        m_printer.emplace(printer);
    }

    // False when the file could not be read to its end (what was read is drawn all the same).
    bool Draw()
    {
        std::ifstream in(m_file, std::ios::binary);
        if (!in) return false;
        std::vector<char> chunk(kChunk);
        while (in && !m_writer.Failed()) {
            in.read(chunk.data(), std::streamsize(chunk.size()));
            const auto n = size_t(in.gcount());
            if (n > 0) m_printer->Feed(reinterpret_cast<const uint8_t*>(chunk.data()), n, "file");
        }
        const bool whole = in.eof() || m_writer.Failed();
        m_printer->Stop();   // the end of the file is the silence that ends the last receipt
        if (m_notCarriedOut > kNotCarriedOutShown)
            std::fprintf(m_err, "tallyx-vprinter: %s: %ld more commands not carried out\n", m_file.c_str(),
                         m_notCarriedOut - kNotCarriedOutShown);
        return whole;
    }

    long NotCarriedOut() const { return m_notCarriedOut; }

private:
    void Write(const QImage& picture)
    {
        std::string path = (fs::path(m_options.outDir) / (m_stem + "-" + std::to_string(++m_pictures) + ".png")).string();
        m_writer.Submit(picture, std::move(path));   // refused once a write has failed, which Draw sees
    }

    void NotCarriedOut(const LogRecord& r)
    {
        if (!m_options.strict || ++m_notCarriedOut > kNotCarriedOutShown) return;
        std::fprintf(m_err, "tallyx-vprinter: %s, receipt %llu: %s (%s): %s, not carried out\n", m_file.c_str(),
                     static_cast<unsigned long long>(r.receipt), r.mnemonic.c_str(), HexPairs(r.bytes).c_str(),
                     r.meaning.c_str());
    }

    const std::string& m_file;
    const RenderOptions& m_options;
    PictureWriter& m_writer;
    std::FILE* m_err;
    std::string m_stem;
    std::optional<VirtualPrinter> m_printer;
    int m_pictures = 0;
    long m_notCarriedOut = 0;
};

// Two files whose pictures would have the same names; false (and said) when there are.
bool StemsDiffer(const std::vector<std::string>& files, std::FILE* err)
{
    std::map<std::string, const std::string*> seen;
    for (const std::string& file : files) {
        const auto [it, fresh] = seen.emplace(fs::path(file).stem().string(), &file);
        if (fresh) continue;
        std::fprintf(err, "tallyx-vprinter: %s and %s would both be drawn as %s-N.png: give them different names\n",
                     it->second->c_str(), file.c_str(), it->first.c_str());
        return false;
    }
    return true;
}

} // namespace

int RenderFiles(const std::vector<std::string>& files, const RenderOptions& options, std::FILE* out,
                std::FILE* err)
{
    if (!StemsDiffer(files, err)) return kRenderUnreadable;
    std::error_code ec;
    fs::create_directories(options.outDir, ec);
    if (ec) {
        std::fprintf(err, "tallyx-vprinter: cannot create %s: %s\n", options.outDir.c_str(), ec.message().c_str());
        return kRenderUnwritable;
    }
    // One log for all the files, its lines numbered on from one file to the next.
    std::shared_ptr<CommandLog> log;
    if (!options.logPath.empty()) {
        log = std::make_shared<CommandLog>(options.logPath, options.freshLog);
        if (!log->Ok()) {
            std::fprintf(err, "tallyx-vprinter: cannot open the log %s\n", options.logPath.c_str());
            return kRenderUnwritable;
        }
    }
    const auto logFailed = [&] {
        const std::string error = log ? log->WriteError() : std::string();
        if (!error.empty()) std::fprintf(err, "tallyx-vprinter: cannot write the log %s: %s\n", options.logPath.c_str(), error.c_str());
        return !error.empty();
    };
    int status = 0;
    long notCarriedOut = 0;
    PictureWriter writer(out, err);
    for (const std::string& file : files) {
        FileDrawing drawing(file, options, log, writer, err);
        if (!drawing.Draw()) {
            std::fprintf(err, "tallyx-vprinter: cannot read %s\n", file.c_str());
            status = kRenderUnreadable;
        }
        // A disk that is full stays full: nothing more is drawn.
        if (writer.Failed() || logFailed()) return kRenderUnwritable;
        notCarriedOut += drawing.NotCarriedOut();
    }
    if (!writer.Finish()) return kRenderUnwritable;
    if (log && !log->Close() && logFailed()) return kRenderUnwritable;
    if (status == 0 && options.strict && notCarriedOut > 0) status = kRenderNotCarriedOut;
    return status;
}

namespace {

// The names of the pictures in `dir`.
std::set<std::string> Pictures(const fs::path& dir)
{
    std::set<std::string> names;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(dir, ec))
        if (entry.is_regular_file(ec) && entry.path().extension() == ".png") names.insert(entry.path().filename().string());
    return names;
}

// A new directory for check's pictures; "" when none can be made.
std::string FreshDirectory(std::FILE* err)
{
    std::string pattern = (fs::temp_directory_path() / "tallyx-check-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        std::fprintf(err, "tallyx-vprinter: cannot make a directory %s: %s\n", pattern.c_str(), std::strerror(errno));
        return {};
    }
    return pattern;
}

} // namespace

int CheckFiles(const std::string& expectedDir, const std::vector<std::string>& files, RenderOptions options,
               std::FILE* out, std::FILE* err)
{
    std::error_code ec;
    if (!fs::is_directory(expectedDir, ec)) {
        std::fprintf(err, "tallyx-vprinter: %s is not a directory of expected pictures\n", expectedDir.c_str());
        return kCheckTrouble;
    }
    // Fresh, so that no picture of an earlier run is taken for one of this run.
    if (options.outDir.empty()) {
        options.outDir = FreshDirectory(err);
        if (options.outDir.empty()) return kCheckTrouble;
    } else if (fs::exists(options.outDir, ec) && !fs::is_empty(options.outDir, ec)) {
        std::fprintf(err, "tallyx-vprinter: %s is not empty: check draws into a new or empty directory\n",
                     options.outDir.c_str());
        return kCheckTrouble;
    }
    options.freshLog = true;
    const int drawn = RenderFiles(files, options, nullptr, err);
    if (drawn == kRenderUnwritable || drawn == kRenderUnreadable) return kCheckTrouble;

    const std::set<std::string> expected = Pictures(expectedDir), actual = Pictures(options.outDir);
    std::set<std::string> names = expected;
    names.insert(actual.begin(), actual.end());
    int same = 0, differ = 0, missing = 0, extra = 0;
    for (const std::string& name : names) {
        if (!actual.count(name)) {
            std::fprintf(out, "%s: missing (expected, not drawn)\n", name.c_str());
            ++missing;
            continue;
        }
        if (!expected.count(name)) {
            std::fprintf(out, "%s: extra (drawn, not expected)\n", name.c_str());
            ++extra;
            continue;
        }
        const std::string was = (fs::path(expectedDir) / name).string();
        const QImage wasPicture(QString::fromStdString(was));
        const QImage isPicture(QString::fromStdString((fs::path(options.outDir) / name).string()));
        if (wasPicture.isNull() || isPicture.isNull()) {
            std::fprintf(err, "tallyx-vprinter: cannot read %s as a picture\n",
                         (wasPicture.isNull() ? was : (fs::path(options.outDir) / name).string()).c_str());
            return kCheckTrouble;
        }
        const PictureDifference d = ComparePictures(wasPicture, isPicture);
        const std::string text = DifferenceText(d, wasPicture, isPicture);
        if (text.empty()) {
            ++same;
            continue;
        }
        ++differ;
        const std::string diff = (fs::path(options.outDir) / ("diff-" + name)).string();
        std::string error;
        if (!SavePng(d.diff, diff, &error)) {
            std::fprintf(err, "tallyx-vprinter: cannot write %s: %s\n", diff.c_str(), error.c_str());
            return kCheckTrouble;
        }
        std::fprintf(out, "%s: differs, see %s\n%s", name.c_str(), diff.c_str(), text.c_str());
    }
    std::fprintf(out, "%d as expected, %d differ, %d missing, %d extra; this run's pictures in %s\n", same, differ,
                 missing, extra, options.outDir.c_str());
    const bool failed = differ + missing + extra > 0 || drawn == kRenderNotCarriedOut;
    return failed ? kCheckDiffer : kCheckSame;
}

} // namespace tallyx::vprinter
