#include "decode/PictureFile.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QtGlobal>

#include <algorithm>
#include <atomic>

#include "res/Messages.h"

namespace tallyx {

namespace {

Message Refuse(std::string_view text) { return Message{kCaptionApp, text}; }

// libjpeg fills a truncated JPEG with grey and only warns; the warning is the one sign.
// The readers' other warnings are not the operator's: the refusal says what matters.
std::atomic<bool> g_endedEarly{false};

void WatchReader(QtMsgType, const QMessageLogContext&, const QString& text)
{
    if (text.contains(QLatin1String("premature end"), Qt::CaseInsensitive)) g_endedEarly = true;
}

// Qt's GIF reader keeps what it decoded of a cut file; a whole GIF ends with its trailer.
bool GifCutShort(const QString& name)
{
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly) || file.size() < 1 || !file.seek(file.size() - 1)) return true;
    return file.read(1) != QByteArray(1, '\x3B');
}

// The reduced size a JPEG is decoded at: 1/8, 1/4 or 1/2 of the stored size while it
// still covers the fitted size in both directions.
QSize JpegDecodeSize(const QImageReader& reader, const PictureOptions& options)
{
    const QSize stored = reader.size();
    const bool turned = reader.transformation() & QImageIOHandler::TransformationRotate90;
    const QSize upright = turned ? stored.transposed() : stored;
    const PictureSize fitted = FittedSize(upright.width(), upright.height(), options);
    const QSize need = turned ? QSize(fitted.height, fitted.width) : QSize(fitted.width, fitted.height);
    for (int d : {8, 4, 2}) {
        const QSize reduced((stored.width() + d - 1) / d, (stored.height() + d - 1) / d);
        if (reduced.width() >= need.width() && reduced.height() >= need.height()) return reduced;
    }
    return stored;
}

} // namespace

DecodeResult DecodePictureFile(const std::string& path, const PictureOptions& options)
{
    const QString name = QFile::decodeName(QByteArray::fromStdString(path));
    const QFileInfo info(name);
    if (!info.isFile() || !info.isReadable()) return Refuse(kMsgPictureCannotOpen);
    QImageReader reader(name);
    reader.setAutoTransform(true);
    reader.setAllocationLimit(int(kDecodeMaxPixels * 4 / (1024 * 1024)) + 1);
    if (!reader.canRead()) {
        return Refuse(reader.error() == QImageReader::FileNotFoundError ? kMsgPictureCannotOpen : kMsgPictureNotImage);
    }
    const QSize stored = reader.size();
    const QByteArray format = reader.format();
    const bool jpeg = format == "jpeg" || format == "jpg";
    QSize decoded = stored;
    if (jpeg && stored.isValid()) {
        decoded = JpegDecodeSize(reader, options);
        if (decoded != stored) reader.setScaledSize(decoded);
    }
    if (decoded.isValid() && int64_t(decoded.width()) * decoded.height() > kDecodeMaxPixels)
        return Refuse(kMsgPictureTooLarge);

    g_endedEarly = false;
    const QtMessageHandler previous = qInstallMessageHandler(WatchReader);
    QImage image = reader.read();
    qInstallMessageHandler(previous);
    if (image.isNull()) {
        // Qt's own allocation limit met a size the header did not give beforehand.
        const bool tooLarge = reader.error() == QImageReader::InvalidDataError && stored.isValid() &&
                              int64_t(stored.width()) * stored.height() > kDecodeMaxPixels;
        return Refuse(tooLarge ? kMsgPictureTooLarge : kMsgPictureBroken);
    }
    if (g_endedEarly || (format == "gif" && GifCutShort(name))) return Refuse(kMsgPictureBroken);
    if (int64_t(image.width()) * image.height() > kDecodeMaxPixels) return Refuse(kMsgPictureTooLarge);

    image.convertTo(QImage::Format_RGBA8888);
    DecodedPicture out;
    out.width = image.width();
    out.height = image.height();
    out.bmp = format == "bmp";
    out.rgba.resize(4 * size_t(out.width) * size_t(out.height));
    for (int y = 0; y < out.height; ++y)
        std::copy_n(image.constScanLine(y), 4 * size_t(out.width), out.rgba.begin() + long(4 * size_t(out.width) * size_t(y)));
    return out;
}

bool IsBmpFile(const std::string& path)
{
    QImageReader reader(QFile::decodeName(QByteArray::fromStdString(path)));
    return reader.canRead() && reader.format() == "bmp";
}

bool WriteDotsPng(const DotPicture& dots, const std::string& path)
{
    // Index 0 paper, 1 ink: the dots' own bit order and meaning.
    QImage image(dots.width, dots.height, QImage::Format_Mono);
    image.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    for (int y = 0; y < dots.height; ++y)
        std::copy_n(dots.rows.begin() + long(size_t(y) * dots.RowBytes()), dots.RowBytes(), image.scanLine(y));
    // 203 dpi, the head's: a viewer shows the picture at its printed size.
    image.setDotsPerMeterX(7992);
    image.setDotsPerMeterY(7992);
    QImageWriter writer(QFile::decodeName(QByteArray::fromStdString(path)), "png");
    return writer.write(image);
}

} // namespace tallyx
