// The raster callbacks: each page's rows are collected as grey, then become bands of dots.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "printer/Drivers.h"
#include "printer/JobSettings.h"

namespace tallyx::printer {

namespace {

// The longest page kept (a roll's maximum length at 203 dpi); more rows are dropped.
constexpr unsigned kMaxRows = 26200;

struct JobState {
    ReceiptOptions options;
    std::vector<uint8_t> page;   // grey, width a row
    unsigned printable = 0;      // the head's dots
    unsigned left = 0;           // where the head's dots begin in the page's rows
    unsigned width = 0;          // of the rows kept
    unsigned rows = 0;           // rows received so far
    unsigned bitsPerPixel = 8;
    bool png = false;
};

// PAPPL 1.3 hands a greyscale PNG of 1, 2 or 4 bits a pixel over unscaled (its white as 1, 3
// or 15) on a white page: a page of such small values and white only is scaled up.
void ScaleLowBitGrey(std::vector<uint8_t>& page)
{
    uint8_t top = 0;
    for (const uint8_t v : page)
        if (v != 0xFF) top = std::max(top, v);
    if (top != 1 && top != 3 && top != 15) return;
    for (uint8_t& v : page)
        if (v != 0xFF) v = uint8_t(v * 255 / top);
}

JobState* StateOf(pappl_job_t* job)
{
    return static_cast<JobState*>(papplJobGetData(job));
}

bool Send(pappl_job_t* job, pappl_device_t* device, const Bytes& bytes)
{
    if (bytes.empty()) return true;
    if (papplDeviceWrite(device, bytes.data(), bytes.size()) < 0) {
        papplLogJob(job, PAPPL_LOGLEVEL_ERROR, "The printer took no more bytes; the job stops.");
        return false;
    }
    return true;
}

ReceiptOptions OptionsOf(const pappl_pr_options_t& o)
{
    ReceiptOptions out = ReadJobSettings([&o](std::string_view name) -> std::optional<std::string> {
        const char* v = cupsGetOption(std::string(name).c_str(), o.num_vendor, o.vendor);
        if (!v) return std::nullopt;
        return std::string(v);
    });
    // The printer's configured darkness (0 to 100, 50 the page's own tones), moved by the
    // job's print-darkness (-100 to 100).
    out.darkness = std::clamp((o.darkness_configured - 50) * 2 + o.print_darkness, -kDarknessMax, kDarknessMax);
    if (!out.dither) {
        if (o.print_content_optimize == PAPPL_CONTENT_PHOTO) out.dither = DitherMethod::FloydSteinberg;
        if (o.print_content_optimize == PAPPL_CONTENT_TEXT) out.dither = DitherMethod::Threshold;
        if (o.print_color_mode == PAPPL_COLOR_MODE_BI_LEVEL) out.dither = DitherMethod::Threshold;
    }
    return out;
}

bool StartJob(pappl_job_t* job, pappl_pr_options_t* options, pappl_device_t* device)
{
    auto* state = new JobState;
    state->options = OptionsOf(*options);
    const Driver* driver = FindDriver(papplPrinterGetDriverName(papplJobGetPrinter(job)));
    state->printable = driver ? unsigned(driver->paperDots) : 0;
    // Pictures and pages fitted to the page size come centred on it; on a roll the receipt
    // begins where its content does.
    const std::string format = papplJobGetFormat(job) ? papplJobGetFormat(job) : "";
    state->png = format == "image/png";
    state->options.trimTop = true;
    papplJobSetData(job, state);
    if (!WaitUntilPrintable(job, device)) {
        delete state;
        papplJobSetData(job, nullptr);
        return false;
    }
    return Send(job, device, BuildJobStart(state->options));
}

bool StartPage(pappl_job_t* job, pappl_pr_options_t* options, pappl_device_t*, unsigned)
{
    JobState* state = StateOf(job);
    if (!state) return false;
    const auto& header = options->header;
    if (header.cupsBitsPerPixel != 8 && header.cupsBitsPerPixel != 1) {
        papplLogJob(job, PAPPL_LOGLEVEL_ERROR, "Pages of %u bits a pixel are not printed.", header.cupsBitsPerPixel);
        return false;
    }
    state->bitsPerPixel = header.cupsBitsPerPixel;
    // The page covers the roll; the head prints its middle.
    state->width = std::min(header.cupsWidth, state->printable ? state->printable : header.cupsWidth);
    state->left = (header.cupsWidth - state->width) / 2;
    state->rows = 0;
    state->page.assign(size_t(state->width) * std::min(header.cupsHeight, kMaxRows), 0xFF);
    return true;
}

bool WriteLine(pappl_job_t* job, pappl_pr_options_t*, pappl_device_t*, unsigned y, const unsigned char* line)
{
    JobState* state = StateOf(job);
    if (y >= kMaxRows || size_t(y + 1) * state->width > state->page.size()) return true;
    uint8_t* row = state->page.data() + size_t(y) * state->width;
    if (state->bitsPerPixel == 8) std::copy(line + state->left, line + state->left + state->width, row);
    else
        for (unsigned x = 0; x < state->width; ++x) {
            const unsigned at = x + state->left;
            row[x] = (line[at / 8] & (0x80 >> (at % 8))) ? 0x00 : 0xFF;
        }
    state->rows = std::max(state->rows, y + 1);
    return true;
}

bool EndPage(pappl_job_t* job, pappl_pr_options_t*, pappl_device_t* device, unsigned)
{
    JobState* state = StateOf(job);
    if (state->png) ScaleLowBitGrey(state->page);
    const GreyPage page{int(state->width), int(state->rows), {state->page.data(), size_t(state->width) * state->rows}};
    const bool sent = Send(job, device, BuildPage(page, state->options));
    papplDeviceFlush(device);
    return sent;
}

bool EndJob(pappl_job_t* job, pappl_pr_options_t*, pappl_device_t* device)
{
    JobState* state = StateOf(job);
    const bool sent = state && Send(job, device, BuildJobEnd(state->options));
    papplDeviceFlush(device);
    delete state;
    papplJobSetData(job, nullptr);
    return sent;
}

// ESC/POS sent as it is: a POS program's own commands reach the printer unchanged.
bool PrintFile(pappl_job_t* job, pappl_pr_options_t*, pappl_device_t* device)
{
    if (!WaitUntilPrintable(job, device)) return false;
    std::FILE* in = std::fopen(papplJobGetFilename(job), "rb");
    if (!in) return false;
    uint8_t buffer[8192];
    bool sent = true;
    size_t n = 0;
    while (sent && (n = std::fread(buffer, 1, sizeof buffer, in)) > 0)
        sent = Send(job, device, Bytes(buffer, buffer + n));
    std::fclose(in);
    papplDeviceFlush(device);
    return sent;
}

} // namespace

void SetJobCallbacks(pappl_pr_driver_data_t& data)
{
    data.rstartjob_cb = StartJob;
    data.rstartpage_cb = StartPage;
    data.rwriteline_cb = WriteLine;
    data.rendpage_cb = EndPage;
    data.rendjob_cb = EndJob;
    data.printfile_cb = PrintFile;
}

} // namespace tallyx::printer
