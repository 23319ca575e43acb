// Drivers: what PAPPL advertises for each receipt printer.
#include "printer/Drivers.h"

#include <array>
#include <cstring>
#include <map>
#include <string>

#include "printer/JobSettings.h"

namespace tallyx::printer {

namespace {

// The longest receipt a job may ask for, and the shortest.
constexpr int kRollMaxLengthMm = 3276;
constexpr int kRollMinLengthMm = 10;
constexpr int kDefaultLengthMm = 297;
constexpr int kDarknessLevels = 16;
constexpr int kDarknessConfigured = 50;

std::map<std::string, std::string> IdFields(std::string_view id)
{
    std::map<std::string, std::string> fields;
    while (!id.empty()) {
        const size_t end = id.find(';');
        const std::string_view pair = id.substr(0, end);
        const size_t colon = pair.find(':');
        if (colon != std::string_view::npos) {
            std::string key(pair.substr(0, colon));
            while (!key.empty() && key.front() == ' ') key.erase(0, 1);
            if (key == "MANUFACTURER") key = "MFG";
            if (key == "MODEL") key = "MDL";
            fields[key] = std::string(pair.substr(colon + 1));
        }
        if (end == std::string_view::npos) break;
        id.remove_prefix(end + 1);
    }
    return fields;
}

struct MediaNames {
    std::string rollMax, rollMin, sheet;
};

// PWG self-describing names: the roll's limits and one sheet-like length for programs that
// want a page size.
const MediaNames& Media(int widthMm)
{
    static const std::map<int, MediaNames> names = [] {
        std::map<int, MediaNames> m;
        for (const int w : {58, 80})
            m[w] = {"roll_max_" + std::to_string(w) + "x" + std::to_string(kRollMaxLengthMm) + "mm",
                    "roll_min_" + std::to_string(w) + "x" + std::to_string(kRollMinLengthMm) + "mm",
                    "om_receipt_" + std::to_string(w) + "x" + std::to_string(kDefaultLengthMm) + "mm"};
        return m;
    }();
    return names.at(widthMm);
}

ipp_t* SettingAttributes()
{
    ipp_t* attrs = ippNew();
    for (const JobSetting& s : JobSettings()) {
        const std::string name(s.name);
        ippAddString(attrs, IPP_TAG_PRINTER, IPP_TAG_KEYWORD, (name + "-default").c_str(), nullptr,
                     std::string(s.defaultValue).c_str());
        ipp_attribute_t* supported = ippAddStrings(attrs, IPP_TAG_PRINTER, IPP_TAG_KEYWORD,
                                                   (name + "-supported").c_str(), int(s.values.size()), nullptr, nullptr);
        for (size_t i = 0; i < s.values.size(); ++i)
            ippSetString(attrs, &supported, int(i), std::string(s.values[i]).c_str());
    }
    return attrs;
}

} // namespace

const Driver* FindDriver(std::string_view name)
{
    for (const Driver& d : kProfiles)
        if (d.name == name) return &d;
    return nullptr;
}

const Driver* MatchDeviceId(std::string_view deviceId)
{
    auto device = IdFields(deviceId);
    for (const Driver& d : kProfiles) {
        auto wanted = IdFields(d.usbDeviceId);
        if (device["MFG"] == wanted["MFG"] && device["MDL"].rfind(wanted["MDL"], 0) == 0) return &d;
    }
    return nullptr;
}

// The table's texts are string literals, so their views end in a NUL PAPPL can read.
std::span<pappl_pr_driver_t> PapplDrivers()
{
    static auto list = [] {
        std::array<pappl_pr_driver_t, std::size(kProfiles)> out{};
        for (size_t i = 0; i < std::size(kProfiles); ++i)
            out[i] = {kProfiles[i].name.data(), kProfiles[i].description.data(), kProfiles[i].usbDeviceId.data(), nullptr};
        return out;
    }();
    return list;
}

bool DriverCallback(pappl_system_t*, const char* driverName, const char*, const char*,
                    pappl_pr_driver_data_t* data, ipp_t** attrs, void*)
{
    const Driver* driver = FindDriver(driverName ? driverName : "");
    if (!driver) return false;

    SetJobCallbacks(*data);
    data->status_cb = StatusCallback;
    data->format = "application/vnd.escpos";
    std::snprintf(data->make_and_model, sizeof data->make_and_model, "tallyx %s (%s)", driver->name.data(),
                  driver->description.data());
    data->ppm = 30;
    data->kind = pappl_kind_t(PAPPL_KIND_RECEIPT | PAPPL_KIND_ROLL);
    data->color_supported = pappl_color_mode_t(PAPPL_COLOR_MODE_AUTO | PAPPL_COLOR_MODE_MONOCHROME | PAPPL_COLOR_MODE_BI_LEVEL);
    data->color_default = PAPPL_COLOR_MODE_MONOCHROME;
    // Grey comes in so the pictures' own dithering decides each dot.
    data->raster_types = pappl_raster_type_t(PAPPL_PWG_RASTER_TYPE_BLACK_1 | PAPPL_PWG_RASTER_TYPE_SGRAY_8);
    data->force_raster_type = PAPPL_PWG_RASTER_TYPE_SGRAY_8;
    data->orient_default = IPP_ORIENT_PORTRAIT;
    data->num_resolution = 1;
    data->x_resolution[0] = data->y_resolution[0] = driver->dpi;
    data->x_default = data->y_default = driver->dpi;

    // The head prints paperDots in the roll's middle; the rest is margin. No margin at
    // the top and bottom: the receipt is as long as its content.
    const int printableHundredthsMm = driver->paperDots * 2540 / driver->dpi;
    data->left_right = (driver->paperMm * 100 - printableHundredthsMm) / 2;
    data->bottom_top = 0;
    const MediaNames& media = Media(driver->paperMm);
    data->num_media = 3;
    data->media[0] = media.rollMax.c_str();
    data->media[1] = media.rollMin.c_str();
    data->media[2] = media.sheet.c_str();
    pappl_media_col_t& col = data->media_default;
    std::memset(&col, 0, sizeof col);
    col.size_width = driver->paperMm * 100;
    col.size_length = kDefaultLengthMm * 100;
    col.left_margin = col.right_margin = data->left_right;
    std::snprintf(col.size_name, sizeof col.size_name, "%s", media.sheet.c_str());
    std::snprintf(col.source, sizeof col.source, "main-roll");
    std::snprintf(col.type, sizeof col.type, "continuous");
    data->num_source = 1;
    data->source[0] = "main-roll";
    data->media_ready[0] = col;
    data->num_type = 1;
    data->type[0] = "continuous";

    data->darkness_supported = kDarknessLevels;
    data->darkness_configured = kDarknessConfigured;
    data->darkness_default = 0;

    data->num_vendor = 0;
    for (const JobSetting& s : JobSettings()) data->vendor[data->num_vendor++] = s.name.data();
    *attrs = SettingAttributes();
    return true;
}

const char* AutoAddCallback(const char*, const char*, const char* deviceId, void*)
{
    const Driver* driver = MatchDeviceId(deviceId ? deviceId : "");
    return driver ? driver->name.data() : nullptr;
}

} // namespace tallyx::printer
