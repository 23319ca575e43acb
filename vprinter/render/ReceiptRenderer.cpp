#include "vprinter/render/ReceiptRenderer.h"

#include <QBuffer>
#include <QImageWriter>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "vprinter/paper/LineLayout.h"
#include "vprinter/render/PngFile.h"

namespace tallyx::vprinter {

namespace {

constexpr int kInitialRows = 1024;
// Paper up to this long is kept from one receipt to the next (1.5 MB at 80 mm).
constexpr int kKeptRows = 4096;

const QList<QRgb> kPaperAndInk = {qRgb(255, 255, 255), qRgb(0, 0, 0)};

// One bit a dot with 1 as ink, as the paper's snapshots are.
bool IsPaperBits(const QImage& picture)
{
    return picture.format() == QImage::Format_Mono && picture.colorTable() == kPaperAndInk;
}

QImage BlankPaper(int width, int height)
{
    QImage image(width, std::max(height, 1), QImage::Format_Grayscale8);
    image.fill(Qt::white);
    return image;
}

// Dots are 0 or 1, so eight of them times 0xFF is a mask of eight ink bytes, with no carry.
void PaintPicture(QImage& image, int top, const Picture& pic)
{
    const int firstCol = std::max(0, -pic.x), firstRow = std::max(0, -top);
    const int cols = std::min(pic.width, image.width() - pic.x);
    const int rows = std::min(pic.height, image.height() - top);
    uchar* const paper = image.bits();   // once: each scanLine() asks whether to detach
    const size_t stride = size_t(image.bytesPerLine());
    for (int row = firstRow; row < rows; ++row) {
        uchar* line = paper + size_t(top + row) * stride + pic.x;
        const uint8_t* dots = pic.dots.data() + size_t(row) * size_t(pic.width);
        int col = firstCol;
        for (; col + 8 <= cols; col += 8) {
            uint64_t ink, grey;
            std::memcpy(&ink, dots + col, 8);
            std::memcpy(&grey, line + col, 8);
            grey &= ~(ink * 0xFF);
            std::memcpy(line + col, &grey, 8);
        }
        for (; col < cols; ++col)
            if (dots[col]) line[col] = 0;
    }
}

// A paper's rows as they are, one bit or one byte a dot; other pictures made grey first.
std::string OneBitPngOf(const QImage& picture)
{
    std::vector<std::pair<std::string, std::string>> texts;
    for (const QString& key : picture.textKeys())
        texts.emplace_back(key.toLatin1().toStdString(), picture.text(key).toLatin1().toStdString());
    if (IsPaperBits(picture)) {
        const DotRows rows{picture.constBits(), size_t(picture.bytesPerLine()), picture.width(), picture.height(), true};
        return OneBitPng(rows, picture.dotsPerMeterX(), texts);
    }
    const QImage grey = picture.convertToFormat(QImage::Format_Grayscale8);
    const DotRows rows{grey.constBits(), size_t(grey.bytesPerLine()), grey.width(), grey.height(), false};
    return OneBitPng(rows, picture.dotsPerMeterX(), texts);
}

// The whole file or none: every call checked (Qt's file writer let a full disk pass as
// zero-byte pictures), and an existing file overwritten in place rather than truncated to
// nothing first, which made ext4 write it out to the disk on every close.
bool WriteWhole(const std::string& bytes, const std::string& path, std::string* error)
{
    errno = 0;
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) {
        if (error) *error = std::strerror(errno);
        return false;
    }
    struct stat info {};
    const bool regular = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    size_t done = 0;
    int why = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            why = n < 0 ? errno : ENOSPC;
            break;
        }
        done += size_t(n);
    }
    if (!why && regular && ::ftruncate(fd, off_t(bytes.size())) != 0) why = errno;
    if (::close(fd) != 0 && !why) why = errno;
    if (!why) return true;
    if (error) *error = std::strerror(why);
    if (regular) ::unlink(path.c_str());   // never a device such as /dev/full
    return false;
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
    const std::string png = OneBitPngOf(picture);
    if (png.empty()) {
        if (error) *error = "cannot be encoded";
        return false;
    }
    return WriteWhole(png, path, error);
}

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
    return WriteWhole(png.toStdString(), path, error);
}

std::string ReceiptPng(const QImage& picture)
{
    return OneBitPngOf(picture);
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
    ForgetReceipt(0);
}

// The usual receipt's paper is kept and whitened (what is white already is left); a very
// long one's is given back.
void ReceiptCanvas::ForgetReceipt(int whiteRows)
{
    if (m_image.height() > kKeptRows) m_image = QImage();
    Whiten(whiteRows, m_inkedRows);
    m_height = 0;
    m_inkedRows = 0;
    m_sheetRows = 0;
}

QImage ReceiptCanvas::Snapshot() const
{
    std::lock_guard lock(m_mutex);
    QImage bits = PackedPaper();
    for (int y = 0; y < bits.height(); ++y) PackInk(m_image.constScanLine(y), m_width, bits.scanLine(y));
    return bits;
}

// Each row whitened as soon as it is packed, while it is still in the cache: packing the
// paper and then whitening it was a sixth of drawing a receipt of barcodes.
QImage ReceiptCanvas::TakeReceipt()
{
    std::lock_guard lock(m_mutex);
    QImage bits = PackedPaper();
    uchar* const paper = bits.isNull() ? nullptr : m_image.bits();
    const size_t stride = size_t(m_image.bytesPerLine());
    const int whitened = std::min(bits.height(), m_inkedRows);
    for (int y = 0; y < bits.height(); ++y) {
        uchar* row = paper + size_t(y) * stride;
        PackInk(row, m_width, bits.scanLine(y));
        if (y < whitened) std::memset(row, 0xFF, size_t(m_width));
    }
    ForgetReceipt(whitened);
    return bits;
}

// One bit a dot, packed where the paper is fresh in the cache: a copy of its grey bytes,
// packed again by whoever wrote the picture, cost twice the time. Null while nothing is printed.
QImage ReceiptCanvas::PackedPaper() const
{
    if (m_height == 0) return QImage();
    QImage bits(m_width, m_height, QImage::Format_Mono);
    bits.setColorTable(kPaperAndInk);
    return bits;
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
    const int from = std::max(fromRow, 0), to = std::min(toRow, m_image.height());
    if (from >= to) return;
    uchar* const paper = m_image.bits();
    const size_t stride = size_t(m_image.bytesPerLine());
    for (int y = from; y < to; ++y) std::memset(paper + size_t(y) * stride, 0xFF, size_t(m_width));
}

} // namespace tallyx::vprinter
