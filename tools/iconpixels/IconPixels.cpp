// Draws the program's SVG icon at build time, with the same icon engine a window would use, and
// writes the pixels out as C++ arrays: the windows then show the same picture without reading an
// image file or loading an SVG renderer while the program starts.
// Usage: tallyx-iconpixels SVG OUT.cpp SIZE...
#include <QFile>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QTextStream>
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: tallyx-iconpixels SVG OUT.cpp SIZE...\n");
        return 64;
    }
    // A build machine may have no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QIcon icon(QString::fromLocal8Bit(argv[1]));
    QString pictures, table;
    for (int i = 3; i < argc; ++i) {
        const int size = QByteArray(argv[i]).toInt();
        const QImage image = icon.pixmap(QSize(size, size)).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
        if (size <= 0 || image.size() != QSize(size, size)) {
            std::fprintf(stderr, "tallyx-iconpixels: cannot draw %s at %s pixels\n", argv[1], argv[i]);
            return 1;
        }
        pictures += QStringLiteral("const uint32_t k%1[] = {").arg(size);
        for (int y = 0; y < size; ++y) {
            pictures += QStringLiteral("\n   ");
            const auto* row = reinterpret_cast<const uint32_t*>(image.constScanLine(y));
            for (int x = 0; x < size; ++x) pictures += QStringLiteral(" 0x%1,").arg(row[x], 8, 16, QLatin1Char('0'));
        }
        pictures += QStringLiteral("\n};\n");
        table += QStringLiteral("    {%1, k%1},\n").arg(size);
    }
    QFile out(QString::fromLocal8Bit(argv[2]));
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        std::fprintf(stderr, "tallyx-iconpixels: cannot write %s\n", argv[2]);
        return 1;
    }
    QTextStream(&out) << "// Drawn from " << QString::fromLocal8Bit(argv[1]).section(QLatin1Char('/'), -1)
                      << " by tallyx-iconpixels at build time: premultiplied ARGB, one row after another.\n"
                      << "#include \"app/AppIconPixels.h\"\n\nnamespace tallyx {\n\nnamespace {\n"
                      << pictures << "const AppIconPicture kPictures[] = {\n" << table << "};\n} // namespace\n\n"
                      << "const std::span<const AppIconPicture> kAppIconPictures{kPictures};\n\n} // namespace tallyx\n";
    return out.error() == QFile::NoError ? 0 : 1;
}
