#pragma once
// A receipt job as a driverless printer receives it: page pictures turned into GS v 0 bands,
// with the finishing around them (cut, cash drawer, NV logo) where the job's settings say.
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "commands/Picture.h"
#include "res/Types.h"

namespace tallyx {

enum class CutWhen : uint8_t { None, AfterPage, AfterJob };
enum class CutKind : uint8_t { Full, Partial };
enum class DrawerWhen : uint8_t { None, BeforeJob, AfterJob };
enum class LogoWhere : uint8_t { None, Top, Bottom };

struct ReceiptOptions {
    CutWhen cut = CutWhen::AfterJob;
    CutKind cutKind = CutKind::Partial;
    DrawerWhen drawerWhen = DrawerWhen::None;
    int drawer = 1;           // 1 or 2: the drawer socket's pin 2 or pin 5
    LogoWhere logo = LogoWhere::None;
    int logoSlot = 1;         // NV logo 1 to 5
    std::optional<DitherMethod> dither;   // none: picked by the page's look
    int darkness = 0;         // -kDarknessMax (lighter) .. kDarknessMax (darker)
    bool trimTop = false;     // drop the blank rows above the content too (a picture set mid-page)
};

// One 8-bit grey page (0 black, 255 white), row after row, `width` pixels a row.
struct GreyPage {
    int width = 0;
    int height = 0;
    std::span<const uint8_t> pixels;
};

// ESC @, then what comes before the first page (drawer, logo at the top).
Bytes BuildJobStart(const ReceiptOptions& o);
// The page through the picture pipeline to GS v 0 bands, its trailing blank rows dropped (a
// blank page sends no band), then the cut after a page when the settings ask for one.
Bytes BuildPage(const GreyPage& page, const ReceiptOptions& o);
// What comes after the last page (logo at the bottom, the cut after the job, the drawer).
Bytes BuildJobEnd(const ReceiptOptions& o);

// The method of a page whose job names none: a page with many mid-grey pixels is a picture
// (Floyd-Steinberg), else text and lines (threshold).
DitherMethod PickDither(const GreyPage& page);

} // namespace tallyx
