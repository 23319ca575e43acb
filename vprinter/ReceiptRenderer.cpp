#include "vprinter/ReceiptRenderer.h"

#include <QFile>
#include <QFontDatabase>
#include <QPainter>
#include <algorithm>

#include "vprinter/LineLayout.h"

namespace tallyx::vprinter {

namespace {

constexpr char kFontFile[] = "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc";
constexpr char kFontFallback[] = "WenQuanYi Zen Hei Mono";
constexpr int kInitialRows = 1024;

QImage BlankPaper(int width, int height)
{
    QImage image(width, std::max(height, 1), QImage::Format_Grayscale8);
    image.fill(Qt::white);
    return image;
}

QFont GlyphFont(int pixelSize)
{
    QFont font(PrinterFontFamily());
    font.setPixelSize(std::max(pixelSize, 1));
    font.setStyleStrategy(QFont::NoAntialias);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

// The character drawn into its unmagnified cell, then stretched onto the glyph's cell.
void PaintGlyph(QPainter& p, int top, int lineHeight, const Glyph& g)
{
    const QRect cell(g.x, top + lineHeight - g.height, g.width, g.height);
    const QColor ink = g.reverse ? Qt::white : Qt::black;
    if (g.reverse) p.fillRect(cell, Qt::black);
    const bool fontB = g.fontB;
    const int baseH = fontB ? kFontBCellH : kFontACellH;
    const int baseW = (fontB ? kFontBCellW : kFontACellW) * (g.wide ? 2 : 1);

    p.save();
    p.translate(cell.center().x() + 0.5, cell.center().y() + 0.5);
    if (g.upsideDown) p.rotate(180);
    if (g.rotated) {
        p.rotate(90);
        p.scale(double(cell.height()) / baseW, double(cell.width()) / baseH);
    } else {
        p.scale(double(cell.width()) / baseW, double(cell.height()) / baseH);
    }
    p.setFont(GlyphFont(baseH - 2));
    p.setPen(ink);
    const QRectF base(-baseW / 2.0, -baseH / 2.0, baseW, baseH);
    const QString text = QString::fromUtf8(g.text.data(), qsizetype(g.text.size()));
    p.drawText(base, Qt::AlignCenter, text);
    if (g.bold) p.drawText(base.translated(1, 0), Qt::AlignCenter, text);   // double strike
    p.restore();

    if (g.underline > 0) p.fillRect(QRect(cell.left(), cell.bottom() + 1 - g.underline, cell.width(), g.underline), ink);
}

void PaintPicture(QImage& image, int top, const Picture& pic)
{
    for (int row = 0; row < pic.height && top + row < image.height(); ++row) {
        uchar* line = image.scanLine(top + row);
        for (int col = 0; col < pic.width && pic.x + col < image.width(); ++col)
            if (pic.Dot(col, row)) line[pic.x + col] = 0;
    }
}

} // namespace

QString PrinterFontFamily()
{
    static const QString family = [] {
        if (QFile::exists(kFontFile)) {
            const int id = QFontDatabase::addApplicationFont(kFontFile);
            const QStringList families = QFontDatabase::applicationFontFamilies(id);
            // The monospaced face: its Latin letters are exactly half a CJK cell wide.
            for (const QString& f : families)
                if (f.endsWith(QLatin1String("Mono"))) return f;
            if (!families.isEmpty()) return families.front();
        }
        return QString(kFontFallback);
    }();
    return family;
}

void PaintBlock(QImage& image, int top, const Block& block)
{
    if (auto* pic = std::get_if<Picture>(&block)) return PaintPicture(image, top, *pic);
    if (std::holds_alternative<Feed>(block)) return;
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    if (auto* line = std::get_if<TextLine>(&block))
        for (const Glyph& g : line->glyphs) PaintGlyph(painter, top, line->height, g);
}

QImage RenderReceipt(const Receipt& receipt)
{
    QImage image = BlankPaper(receipt.widthDots, receipt.heightDots);
    int top = 0;
    for (const Block& block : receipt.blocks) {
        PaintBlock(image, top, block);
        top += BlockHeight(block);
    }
    return image;
}

ReceiptCanvas::ReceiptCanvas(int paperDots) : m_width(paperDots) {}

void ReceiptCanvas::Append(const Block& block)
{
    std::lock_guard lock(m_mutex);
    const int h = BlockHeight(block);
    Grow(m_height + h);
    PaintBlock(m_image, m_height, block);
    m_height += h;
}

void ReceiptCanvas::Clear()
{
    std::lock_guard lock(m_mutex);
    m_height = 0;
    m_image = QImage();
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

void ReceiptCanvas::Grow(int neededRows)
{
    if (!m_image.isNull() && neededRows <= m_image.height()) return;
    int rows = std::max(kInitialRows, m_image.isNull() ? 0 : m_image.height());
    while (rows < neededRows) rows *= 2;
    rows = std::min(rows, std::max(neededRows, kMaxReceiptDots + kMaxBlockDots));
    QImage bigger = BlankPaper(m_width, rows);
    for (int y = 0; y < m_height; ++y)
        std::copy_n(m_image.constScanLine(y), m_width, bigger.scanLine(y));
    m_image = std::move(bigger);
}

} // namespace tallyx::vprinter
