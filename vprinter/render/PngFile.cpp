#include "vprinter/render/PngFile.h"

#include <zlib.h>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

namespace tallyx::vprinter {

namespace {

// Measured on receipts of text and barcodes: level 6 (zlib's default) made pictures a third
// smaller than level 3 at twice the time; level 1 saved little more time than level 3.
constexpr int kLevel = 3;

void Put32(std::string& out, uint32_t v)
{
    const char b[4] = {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
    out.append(b, 4);
}

void Chunk(std::string& out, const char* type, const std::string& data)
{
    Put32(out, uint32_t(data.size()));
    const size_t start = out.size();
    out.append(type, 4);
    out += data;
    const auto* typed = reinterpret_cast<const Bytef*>(out.data() + start);
    Put32(out, uint32_t(crc32(0, typed, uInt(out.size() - start))));
}

// Eight grey dots to one byte of a packed row, first dot in the top bit, ink as 1.
uint8_t InkBits(const uint8_t* dots)
{
    uint64_t v;
    std::memcpy(&v, dots, sizeof v);
    if constexpr (std::endian::native == std::endian::big) v = __builtin_bswap64(v);
    const uint64_t ink = (~v & 0x8080808080808080ULL) >> 7;
    return uint8_t((ink * 0x8040201008040201ULL) >> 56);
}

#if defined(__SSE2__)
constexpr std::array<uint8_t, 256> kReversed = [] {
    std::array<uint8_t, 256> table{};
    for (unsigned i = 0; i < 256; ++i)
        for (unsigned bit = 0; bit < 8; ++bit)
            if (i & (1u << bit)) table[i] |= uint8_t(0x80u >> bit);
    return table;
}();
#endif

// One compressor a thread, reset between pictures: made afresh, its tables cost more in
// allocation and page faults than compressing a short receipt. (libdeflate, tried instead,
// made pictures a tenth smaller in a tenth more time.)
class Deflater {
public:
    Deflater() { m_ok = deflateInit2(&m_z, kLevel, Z_DEFLATED, 15, 8, Z_DEFAULT_STRATEGY) == Z_OK; }
    ~Deflater()
    {
        if (m_ok) deflateEnd(&m_z);
    }
    Deflater(const Deflater&) = delete;
    Deflater& operator=(const Deflater&) = delete;

    // "" when zlib fails.
    std::string Deflated(const std::string& raw)
    {
        if (!m_ok || deflateReset(&m_z) != Z_OK) return {};
        std::string out(deflateBound(&m_z, uLong(raw.size())), '\0');
        m_z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(raw.data()));
        m_z.avail_in = uInt(raw.size());
        m_z.next_out = reinterpret_cast<Bytef*>(out.data());
        m_z.avail_out = uInt(out.size());
        const bool done = deflate(&m_z, Z_FINISH) == Z_STREAM_END;
        out.resize(done ? m_z.total_out : 0);
        return out;
    }

private:
    z_stream m_z{};
    bool m_ok = false;
};

} // namespace

void PackInk(const uint8_t* grey, int width, uint8_t* out)
{
    int x = 0;
#if defined(__SSE2__)
    // Sixteen dots at a time by their top bits (set for paper), reversed to put the first
    // dot on top: eight at a time, packing was a sixth of `render`'s time.
    for (; x + 16 <= width; x += 16) {
        const __m128i dots = _mm_loadu_si128(reinterpret_cast<const __m128i*>(grey + x));
        const unsigned ink = ~unsigned(_mm_movemask_epi8(dots));
        *out++ = kReversed[ink & 0xFF];
        *out++ = kReversed[(ink >> 8) & 0xFF];
    }
#endif
    for (; x + 8 <= width; x += 8) *out++ = InkBits(grey + x);
    if (x < width) {
        uint8_t tail[8];
        std::memset(tail, 0xFF, sizeof tail);
        std::memcpy(tail, grey + x, size_t(width - x));
        *out = InkBits(tail);
    }
}

std::string OneBitPng(const DotRows& rows, int dotsPerMetre,
                      const std::vector<std::pair<std::string, std::string>>& texts)
{
    const int width = std::max(rows.width, 1), height = std::max(rows.height, 1);
    const size_t rowBytes = (size_t(width) + 7) / 8;
    thread_local std::string raw;
    raw.assign(size_t(height) * (rowBytes + 1), '\0');   // each row's filter byte: none
    auto* const rawRows = reinterpret_cast<uint8_t*>(raw.data());
    const int dotsWide = rows.width;
    for (int y = 0; y < rows.height; ++y) {
        uint8_t* out = rawRows + size_t(y) * (rowBytes + 1) + 1;
        const uint8_t* in = rows.first + size_t(y) * rows.stride;
        if (!rows.packed) {
            PackInk(in, dotsWide, out);
            in = out;
        }
        // A one-bit grey PNG counts paper as 1; eight bytes at a time.
        size_t i = 0;
        for (; i + 8 <= rowBytes; i += 8) {
            uint64_t v;
            std::memcpy(&v, in + i, 8);
            v = ~v;
            std::memcpy(out + i, &v, 8);
        }
        for (; i < rowBytes; ++i) out[i] = uint8_t(~in[i]);
    }
    if (rows.height <= 0 || rows.width <= 0) std::memset(raw.data() + 1, 0xFF, rowBytes);   // one white dot

    std::string png("\x89PNG\r\n\x1a\n", 8);
    std::string header;
    Put32(header, uint32_t(width));
    Put32(header, uint32_t(height));
    header += std::string("\x01\x00\x00\x00\x00", 5);   // one bit, grey, deflate, no filter method, no interlace
    Chunk(png, "IHDR", header);
    if (dotsPerMetre > 0) {
        std::string phys;
        Put32(phys, uint32_t(dotsPerMetre));
        Put32(phys, uint32_t(dotsPerMetre));
        phys += '\x01';   // per metre
        Chunk(png, "pHYs", phys);
    }
    for (const auto& [key, value] : texts) Chunk(png, "tEXt", key + '\0' + value);
    thread_local Deflater deflater;
    const std::string data = deflater.Deflated(raw);
    if (data.empty()) return {};
    Chunk(png, "IDAT", data);
    Chunk(png, "IEND", "");
    return png;
}

} // namespace tallyx::vprinter
