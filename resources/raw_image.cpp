// Build tool: writes a picture as the pixels Qt paints from, so the program shows it
// without decoding. Qt's PNG reading costs about 100 instructions a pixel, and the
// banner, the splash and the window icon must all be read before the window is painted.
//
//   numora_raw_image IN.png OUT.qpx
//
// Format (src/forms/raw_image.h): "QPX1", then width, height and QImage::Format as
// 32-bit little-endian numbers, then the rows, 4 bytes a pixel, no padding.
#include <QFile>
#include <QImage>
#include <QtEndian>

#include <cstdio>

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: numora_raw_image IN OUT\n");
        return 2;
    }
    QImage image(QString::fromLocal8Bit(argv[1]));
    if (image.isNull()) {
        std::fprintf(stderr, "numora_raw_image: cannot read %s\n", argv[1]);
        return 1;
    }
    // The formats the raster paint engine draws from without converting.
    image = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                          : QImage::Format_RGB32);
    QByteArray bytes("QPX1");
    for (quint32 v : {quint32(image.width()), quint32(image.height()), quint32(image.format())}) {
        const quint32 le = qToLittleEndian(v);
        bytes.append(reinterpret_cast<const char*>(&le), sizeof le);
    }
    for (int y = 0; y < image.height(); ++y)
        bytes.append(reinterpret_cast<const char*>(image.constScanLine(y)), image.width() * 4);
    QFile out(QString::fromLocal8Bit(argv[2]));
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.flush()) {
        std::fprintf(stderr, "numora_raw_image: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
