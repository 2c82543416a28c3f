#include "forms/raw_image.h"

#include <QResource>
#include <QtEndian>

#include <memory>

namespace numora {

QImage LoadRawImage(const QString& path) {
    const QResource resource(path);
    if (!resource.isValid()) return {};
    // Stored uncompressed, the pixels are read where the program's file is mapped: no
    // copy. Compressed, they are inflated into a buffer that the image then owns.
    const bool inPlace = resource.compressionAlgorithm() == QResource::NoCompression;
    auto bytes = std::make_unique<QByteArray>(
        inPlace ? QByteArray::fromRawData(reinterpret_cast<const char*>(resource.data()),
                                          resource.size())
                : resource.uncompressedData());
    constexpr qsizetype kHeader = 16;
    if (bytes->size() < kHeader || !bytes->startsWith("QPX1")) return {};
    const auto field = [&](int i) {
        return qFromLittleEndian<quint32>(bytes->constData() + 4 * i);
    };
    const quint32 width = field(1), height = field(2), format = field(3);
    if (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32_Premultiplied) return {};
    if (width == 0 || height == 0 || width > 16384 || height > 16384 ||
        quint64(bytes->size() - kHeader) != quint64(width) * height * 4)
        return {};
    const auto* pixels = reinterpret_cast<const uchar*>(bytes->constData()) + kHeader;
    // Resources compiled into the program live as long as it. QImage wants its rows on
    // 4-byte boundaries; rcc does not promise that, so a misaligned one is copied.
    if (inPlace && reinterpret_cast<quintptr>(pixels) % 4 == 0)
        return QImage(pixels, int(width), int(height), int(width) * 4, QImage::Format(format));
    if (inPlace) bytes->detach(); // a deep copy, which is aligned
    pixels = reinterpret_cast<const uchar*>(bytes->constData()) + kHeader;
    QByteArray* owner = bytes.release();
    return QImage(
        pixels, int(width), int(height), int(width) * 4, QImage::Format(format),
        [](void* p) { delete static_cast<QByteArray*>(p); }, owner);
}

} // namespace numora
