#include "vprinter/render/ReceiptRenderer.h"

#include <QBuffer>
#include <QImageWriter>
#include <cerrno>
#include <cstdio>
#include <sys/stat.h>
#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

#include "vprinter/paper/LineLayout.h"

namespace tallyx::vprinter {

namespace {

constexpr int kInitialRows = 1024;
// Paper up to this long is kept from one receipt to the next (1.5 MB at 80 mm).
constexpr int kKeptRows = 4096;

QImage BlankPaper(int width, int height)
{
    QImage image(width, std::max(height, 1), QImage::Format_Grayscale8);
    image.fill(Qt::white);
    return image;
}

void PaintPicture(QImage& image, int top, const Picture& pic)
{
    for (int row = 0; row < pic.height && top + row < image.height(); ++row) {
        uchar* line = image.scanLine(top + row);
        for (int col = 0; col < pic.width && pic.x + col < image.width(); ++col)
            if (pic.Dot(col, row)) line[pic.x + col] = 0;
    }
}

// Eight grey dots to one byte of a 1-bit row, first dot in the top bit, dark (< 128) as 1.
uchar InkBits(const uchar* dots)
{
    uint64_t v;
    std::memcpy(&v, dots, sizeof v);
    if constexpr (std::endian::native == std::endian::big) v = __builtin_bswap64(v);
    const uint64_t dark = (~v & 0x8080808080808080ULL) >> 7;
    return uchar((dark * 0x8040201008040201ULL) >> 56);
}

// Qt's own conversion to one bit (even undithered) took longer than writing the PNG.
QImage OneBitADot(const QImage& picture)
{
    const QImage gray = picture.convertToFormat(QImage::Format_Grayscale8);
    const int width = gray.width();
    const int height = gray.height();
    QImage mono(width, height, QImage::Format_Mono);
    mono.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    for (int y = 0; y < height; ++y) {
        const uchar* in = gray.constScanLine(y);
        uchar* out = mono.scanLine(y);
        int x = 0;
        for (; x + 8 <= width; x += 8) out[x >> 3] = InkBits(in + x);
        if (x < width) {
            uchar tail[8];
            std::memset(tail, 0xFF, sizeof tail);
            std::memcpy(tail, in + x, size_t(width - x));
            out[x >> 3] = InkBits(tail);
        }
    }
    for (const QString& key : picture.textKeys()) mono.setText(key, picture.text(key));
    mono.setDotsPerMeterX(picture.dotsPerMeterX());
    mono.setDotsPerMeterY(picture.dotsPerMeterY());
    return mono;
}

} // namespace


int PaintBlock(QImage& image, int top, const Block& block, GlyphCache& glyphs)
{
    int inked = std::clamp(top + BlockHeight(block), 0, image.height());
    if (auto* pic = std::get_if<Picture>(&block)) PaintPicture(image, top, *pic);
    if (auto* line = std::get_if<TextLine>(&block)) inked = std::max(inked, glyphs.PaintLine(image, top, *line));
    return inked;
}

QImage RenderReceipt(const Receipt& receipt)
{
    QImage image = BlankPaper(receipt.widthDots, receipt.heightDots);
    GlyphCache glyphs;
    int top = 0;
    for (const Block& block : receipt.blocks) {
        PaintBlock(image, top, block, glyphs);
        top += BlockHeight(block);
    }
    return image;
}

bool SaveReceiptPicture(const QImage& picture, const std::string& path, std::string* error)
{
    return SavePng(OneBitADot(picture), path, error);
}

// Encoded in memory and written with every call checked: Qt's file writer let a full disk
// pass as zero-byte pictures.
bool SavePng(const QImage& picture, const std::string& path, std::string* error)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(picture)) {
        if (error) *error = writer.errorString().toStdString();
        return false;
    }
    errno = 0;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        if (error) *error = std::strerror(errno);
        return false;
    }
    struct stat info {};
    const bool regular = ::fstat(::fileno(file), &info) == 0 && S_ISREG(info.st_mode);
    const bool written = std::fwrite(png.constData(), 1, size_t(png.size()), file) == size_t(png.size());
    const int writeErrno = errno;
    const bool closed = std::fclose(file) == 0;
    if (written && closed) return true;
    const int why = !written ? writeErrno : errno;
    if (error) *error = std::strerror(why ? why : EIO);
    if (regular) std::remove(path.c_str());   // never a device such as /dev/full
    return false;
}

std::string ReceiptPng(const QImage& picture)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    writer.write(OneBitADot(picture));
    return data.toStdString();
}

ReceiptCanvas::ReceiptCanvas(int paperDots) : m_width(paperDots) {}

void ReceiptCanvas::Append(const Block& block)
{
    std::lock_guard lock(m_mutex);
    const int h = BlockHeight(block);
    Grow(m_height + h);
    m_inkedRows = std::max(m_inkedRows, PaintBlock(m_image, m_height, block, m_glyphs));
    m_height += h;
}

void ReceiptCanvas::Clear()
{
    std::lock_guard lock(m_mutex);
    // The usual receipt's paper is kept and whitened; a very long one's is given back.
    if (m_image.height() > kKeptRows) m_image = QImage();
    Whiten(0, m_inkedRows);
    m_height = 0;
    m_inkedRows = 0;
    m_sheetRows = 0;
}

QImage ReceiptCanvas::Snapshot() const
{
    std::lock_guard lock(m_mutex);
    if (m_height == 0) return QImage();
    return m_image.copy(0, 0, m_width, m_height);
}

int ReceiptCanvas::HeightDots() const
{
    std::lock_guard lock(m_mutex);
    return m_height;
}

// Rows as the receipt's own sheet would have them: a first sheet of 1,024 rows, and a sheet
// twice as long whenever it is outgrown, onto which only the rows printed so far are carried
// (ink that spilled below them stays behind). Paper kept from an earlier receipt serves as
// long as it is long enough; it is whitened where a new sheet would be white.
void ReceiptCanvas::Grow(int neededRows)
{
    if (m_sheetRows > 0 && neededRows <= m_sheetRows) return;
    int rows = std::max(kInitialRows, m_sheetRows);
    while (rows < neededRows) rows *= 2;
    m_sheetRows = std::min(rows, std::max(neededRows, kMaxReceiptDots + kMaxBlockDots));
    if (m_image.height() < m_sheetRows) {
        QImage bigger = BlankPaper(m_width, m_sheetRows);
        for (int y = 0; y < m_height; ++y)
            std::copy_n(m_image.constScanLine(y), m_width, bigger.scanLine(y));
        m_image = std::move(bigger);
    } else {
        Whiten(m_height, m_inkedRows);
    }
    m_inkedRows = m_height;
}

void ReceiptCanvas::Whiten(int fromRow, int toRow)
{
    for (int y = std::max(fromRow, 0); y < std::min(toRow, m_image.height()); ++y)
        std::memset(m_image.scanLine(y), 0xFF, size_t(m_width));
}

} // namespace tallyx::vprinter
