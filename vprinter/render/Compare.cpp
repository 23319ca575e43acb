#include "vprinter/render/Compare.h"

#include <algorithm>

#include "vprinter/render/ReceiptRenderer.h"

namespace tallyx::vprinter {

namespace {

constexpr QRgb kCommonInk = qRgb(160, 160, 160);
constexpr QRgb kRemovedInk = qRgb(220, 0, 0);
constexpr QRgb kAddedInk = qRgb(0, 170, 0);
constexpr QRgb kPaper = qRgb(255, 255, 255);
constexpr size_t kRowRunsShown = 20;

bool Ink(const QImage& image, int x, int y)
{
    return x < image.width() && y < image.height() && qGray(image.pixel(x, y)) < 128;
}

std::string RowsText(const std::vector<std::pair<int, int>>& rows)
{
    std::string text;
    for (size_t i = 0; i < rows.size() && i < kRowRunsShown; ++i) {
        if (i > 0) text += ", ";
        text += std::to_string(rows[i].first);
        if (rows[i].second != rows[i].first) text += "-" + std::to_string(rows[i].second);
    }
    if (rows.size() > kRowRunsShown) text += ", ...";
    return text;
}

} // namespace

PictureDifference ComparePictures(const QImage& expected, const QImage& actual)
{
    PictureDifference d;
    d.sizesDiffer = expected.size() != actual.size();
    const int width = std::max(expected.width(), actual.width());
    const int height = std::max(expected.height(), actual.height());
    d.diff = QImage(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(d.diff.scanLine(y));
        bool rowDiffers = false;
        for (int x = 0; x < width; ++x) {
            const bool was = Ink(expected, x, y), is = Ink(actual, x, y);
            line[x] = was && is ? kCommonInk : was ? kRemovedInk : is ? kAddedInk : kPaper;
            if (was != is) {
                ++d.dots;
                rowDiffers = true;
            }
        }
        if (!rowDiffers) continue;
        if (!d.rows.empty() && d.rows.back().second == y - 1) d.rows.back().second = y;
        else d.rows.emplace_back(y, y);
    }
    return d;
}

int CompareFiles(const std::string& expected, const std::string& actual, const std::string& diffPath,
                 std::FILE* out, std::FILE* err)
{
    const QImage was(QString::fromStdString(expected));
    const QImage is(QString::fromStdString(actual));
    for (const auto& [image, path] : {std::pair{&was, &expected}, std::pair{&is, &actual}})
        if (image->isNull()) {
            std::fprintf(err, "tallyx-vprinter: cannot read %s as a picture\n", path->c_str());
            return kCompareBadFile;
        }
    const PictureDifference d = ComparePictures(was, is);
    std::string error;
    if (!diffPath.empty() && !SavePng(d.diff, diffPath, &error)) {
        std::fprintf(err, "tallyx-vprinter: cannot write %s: %s\n", diffPath.c_str(), error.c_str());
        return kCompareBadFile;
    }
    const std::string text = DifferenceText(d, was, is);
    std::fputs(text.empty() ? "identical\n" : text.c_str(), out);
    return text.empty() ? kCompareSame : kCompareDiffer;
}

std::string DifferenceText(const PictureDifference& d, const QImage& expected, const QImage& actual)
{
    std::string text;
    if (d.sizesDiffer)
        text += "sizes differ: " + std::to_string(expected.width()) + "x" + std::to_string(expected.height()) +
                " expected, " + std::to_string(actual.width()) + "x" + std::to_string(actual.height()) + " actual\n";
    if (d.dots > 0)
        text += std::to_string(d.dots) + (d.dots == 1 ? " dot differs" : " dots differ") + ", in rows " +
                RowsText(d.rows) + "\n";
    return text;
}

} // namespace tallyx::vprinter
