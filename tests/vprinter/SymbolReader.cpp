#include "tests/vprinter/SymbolReader.h"

#include <QPainter>
#include <ZXing/ReadBarcode.h>

#include "vprinter/render/ReceiptRenderer.h"

namespace tallyx::vprinter::test {

namespace {
constexpr int kBorder = 80;
using ZXing::BarcodeFormat;
}

QImage ReceiptPicture(const Receipt& receipt, int scale)
{
    const QImage paper = RenderReceipt(receipt);
    const QImage scaled = paper.scaled(paper.width() * scale, paper.height() * scale);   // nearest dot
    QImage framed(scaled.width() + 2 * kBorder, scaled.height() + 2 * kBorder, QImage::Format_Grayscale8);
    framed.fill(Qt::white);
    QPainter painter(&framed);
    painter.drawImage(kBorder, kBorder, scaled);
    return framed;
}

std::vector<std::string> ReadSymbols(const QImage& picture, ZXing::BarcodeFormat format)
{
    const QImage gray = picture.convertToFormat(QImage::Format_Grayscale8);
    ZXing::DecodeHints hints;
    hints.setFormats(format);
    hints.setTryHarder(true);
    hints.setReturnCodabarStartEnd(true);
    const ZXing::ImageView view(gray.constBits(), gray.width(), gray.height(), ZXing::ImageFormat::Lum,
                                int(gray.bytesPerLine()));
    std::vector<std::string> texts;
    // This ZXing finds one Aztec Code, MaxiCode or Data Matrix only, and only when asked for
    // one; asked for all, it trips over the rows of a stacked DataBar.
    const bool single = format == BarcodeFormat::Aztec || format == BarcodeFormat::MaxiCode ||
                        format == BarcodeFormat::DataMatrix || format == BarcodeFormat::DataBar ||
                        format == BarcodeFormat::DataBarExpanded;
    const ZXing::Results results = single ? ZXing::Results{ZXing::ReadBarcode(view, hints)}
                                          : ZXing::ReadBarcodes(view, hints);
    for (const ZXing::Result& result : results) {
        if (!result.isValid()) continue;
        const auto& bytes = result.bytes();
        texts.emplace_back(bytes.begin(), bytes.end());
    }
    return texts;
}

} // namespace tallyx::vprinter::test
