#include "printer/JobSettings.h"

#include <array>

namespace tallyx::printer {

namespace {

constexpr std::string_view kCutWhen[] = {"after-job", "after-page", "none"};
constexpr std::string_view kCutType[] = {"partial", "full"};
constexpr std::string_view kDrawer[] = {"none", "drawer-1-before", "drawer-1-after", "drawer-2-before",
                                        "drawer-2-after"};
constexpr std::string_view kLogo[] = {"none",     "top-1",    "top-2",    "top-3",    "top-4",   "top-5",
                                      "bottom-1", "bottom-2", "bottom-3", "bottom-4", "bottom-5"};
// "auto", then the picture pipeline's methods in its order.
constexpr auto kDither = [] {
    std::array<std::string_view, std::size(kDitherNames) + 1> names{"auto"};
    for (size_t i = 0; i < std::size(kDitherNames); ++i) names[i + 1] = kDitherNames[i].name;
    return names;
}();

constexpr JobSetting kSettings[] = {
    {"cut-when", "Cut the paper", "after-job", kCutWhen},
    {"cut-type", "Kind of cut", "partial", kCutType},
    {"cash-drawer", "Open the cash drawer", "none", kDrawer},
    {"nv-logo", "Stored logo", "none", kLogo},
    {"dither-method", "Greys printed by", "auto", kDither},
};

// The values whose own words do not say enough.
struct ValueLabel {
    std::string_view key, label;
};
constexpr ValueLabel kValueLabels[] = {
    {"cut-when.after-job", "After the job"},
    {"cut-when.after-page", "After each page"},
    {"cut-when.none", "Never"},
    {"cash-drawer.drawer-1-before", "Drawer 1, before the job"},
    {"cash-drawer.drawer-1-after", "Drawer 1, after the job"},
    {"cash-drawer.drawer-2-before", "Drawer 2, before the job"},
    {"cash-drawer.drawer-2-after", "Drawer 2, after the job"},
    {"dither-method.auto", "By the page: pictures diffused, text sharp"},
};

// The keyword's place in its setting's list; -1 when the setting does not know it.
int Index(const JobSetting& setting, const std::optional<std::string>& keyword)
{
    if (!keyword) return -1;
    for (size_t i = 0; i < setting.values.size(); ++i)
        if (setting.values[i] == *keyword) return int(i);
    return -1;
}

} // namespace

std::span<const JobSetting> JobSettings()
{
    return kSettings;
}

std::string SettingStrings()
{
    std::string out;
    auto line = [&out](std::string_view key, std::string_view text) {
        out.append("\"").append(key).append("\" = \"").append(text).append("\";\n");
    };
    for (const JobSetting& s : kSettings) line(s.name, s.label);
    for (const std::string_view place : {"top", "bottom"})
        for (int slot = 1; slot <= 5; ++slot)
            line("nv-logo." + std::string(place) + "-" + std::to_string(slot),
                 "Logo " + std::to_string(slot) + (place == "top" ? " at the top" : " at the bottom"));
    for (const ValueLabel& v : kValueLabels) line(v.key, v.label);
    return out;
}

ReceiptOptions ReadJobSettings(const std::function<std::optional<std::string>(std::string_view)>& value)
{
    std::array<int, std::size(kSettings)> at{};
    for (size_t i = 0; i < std::size(kSettings); ++i) {
        at[i] = Index(kSettings[i], value(kSettings[i].name));
        if (at[i] < 0) at[i] = Index(kSettings[i], std::string(kSettings[i].defaultValue));
    }
    ReceiptOptions o;
    o.cut = std::array{CutWhen::AfterJob, CutWhen::AfterPage, CutWhen::None}[size_t(at[0])];
    o.cutKind = at[1] == 1 ? CutKind::Full : CutKind::Partial;
    if (at[2] > 0) {
        o.drawer = at[2] <= 2 ? 1 : 2;
        o.drawerWhen = at[2] % 2 == 1 ? DrawerWhen::BeforeJob : DrawerWhen::AfterJob;
    }
    if (at[3] > 0) {
        o.logo = at[3] <= 5 ? LogoWhere::Top : LogoWhere::Bottom;
        o.logoSlot = (at[3] - 1) % 5 + 1;
    }
    if (at[4] > 0) o.dither = kDitherNames[size_t(at[4]) - 1].method;
    return o;
}

} // namespace tallyx::printer
