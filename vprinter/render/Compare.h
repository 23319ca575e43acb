#pragma once
// `tallyx-vprinter compare`: two receipt pictures dot for dot, for a POS project's CI.
#include <QImage>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace tallyx::vprinter {

inline constexpr int kCompareSame = 0;
inline constexpr int kCompareDiffer = 1;
inline constexpr int kCompareBadFile = 2;

struct PictureDifference {
    long dots = 0;                              // dots inked in one picture only
    std::vector<std::pair<int, int>> rows;      // runs of rows holding them, first and last
    bool sizesDiffer = false;
    QImage diff;                                // common ink grey, removed red, added green
};

// Paper beyond the smaller picture counts as white.
PictureDifference ComparePictures(const QImage& expected, const QImage& actual);

// How they differ, a line each ("sizes differ: ...", "N dots differ, in rows ..."); "" when they do not.
std::string DifferenceText(const PictureDifference& d, const QImage& expected, const QImage& actual);

// Reads both files, says on `out` how they differ, writes the diff picture when `diffPath`
// is not empty; returns kCompareSame, kCompareDiffer or kCompareBadFile.
int CompareFiles(const std::string& expected, const std::string& actual, const std::string& diffPath,
                 std::FILE* out, std::FILE* err);

} // namespace tallyx::vprinter
