#include "tests/support/BmpWriter.h"

#include <fstream>
#include <gtest/gtest.h>

namespace tallyx::test {

namespace {
void Put16(std::vector<uint8_t>& out, uint32_t v)
{
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v)
{
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}
} // namespace

std::vector<uint8_t> BmpBytes(const BmpDef& s)
{
    const size_t entries = s.bits <= 8 ? size_t(1) << s.bits : 0;
    const size_t rowBytes = (size_t(s.bits) * size_t(std::abs(s.width)) + 7) / 8;
    const size_t stride = (rowBytes + 3) / 4 * 4;
    const size_t rows = size_t(std::abs(s.height));
    const uint32_t offBits = uint32_t(54 + 4 * entries + s.gap.size());

    std::vector<uint8_t> out;
    Put16(out, s.type);
    Put32(out, uint32_t(offBits + stride * rows));
    Put16(out, s.reserved1);
    Put16(out, s.reserved2);
    Put32(out, offBits);
    Put32(out, 40);
    Put32(out, uint32_t(s.width));
    Put32(out, uint32_t(s.height));
    Put16(out, s.planes);
    Put16(out, s.bits);
    Put32(out, s.compression);
    Put32(out, uint32_t(stride * rows));
    Put32(out, 2835);
    Put32(out, 2835);
    Put32(out, uint32_t(entries));
    Put32(out, s.clrImportant);
    for (size_t i = 0; i < entries; ++i) {
        const std::array<uint8_t, 3> e = i < s.palette.size() ? s.palette[i] : std::array<uint8_t, 3>{};
        out.insert(out.end(), {e[0], e[1], e[2], 0});
    }
    out.insert(out.end(), s.gap.begin(), s.gap.end());

    // Stored bottom row first; within a byte the leftmost pixel is the most significant.
    for (size_t stored = 0; stored < rows; ++stored) {
        const int top = int(rows - 1 - stored);
        std::vector<uint8_t> row(stride, 0);
        for (int x = 0; x < std::abs(s.width); ++x) {
            const uint32_t v = s.pixel(x, top);
            switch (s.bits) {
            case 1: row[x / 8] |= uint8_t((v & 1) << (7 - x % 8)); break;
            case 4: row[x / 2] |= uint8_t(x % 2 ? v & 0x0F : (v & 0x0F) << 4); break;
            case 8: row[x] = uint8_t(v); break;
            case 16: row[2 * x] = uint8_t(v), row[2 * x + 1] = uint8_t(v >> 8); break;
            case 24: row[3 * x] = uint8_t(v), row[3 * x + 1] = uint8_t(v >> 8), row[3 * x + 2] = uint8_t(v >> 16); break;
            case 32:
                row[4 * x] = uint8_t(v), row[4 * x + 1] = uint8_t(v >> 8), row[4 * x + 2] = uint8_t(v >> 16);
                row[4 * x + 3] = 0xA5;   // unused by the format: must not matter
                break;
            default: break;
            }
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    out.resize(out.size() - std::min(s.cut, out.size()));
    return out;
}

std::string WriteFile(const std::vector<uint8_t>& bytes, const std::string& name)
{
    const std::string path = ::testing::TempDir() + "tallyx_" + name;
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    EXPECT_TRUE(file.good()) << path;
    return path;
}

std::string WriteBmp(const BmpDef& def, const std::string& name) { return WriteFile(BmpBytes(def), name); }

BmpDef AllBlack(int32_t width, int32_t height)
{
    BmpDef s;
    s.width = width;
    s.height = height;
    s.palette = kBlackWhite;
    return s;
}

} // namespace tallyx::test
