// Pictures stored as the pixels Qt paints from (made at build time by
// resources/raw_image.cpp), for those shown at start-up: reading one is a copy, where
// decoding a PNG costs many instructions a pixel.
#pragma once

#include <QImage>
#include <QString>

namespace numora {

// The picture in the resource `path` (":/raw/bmp101.qpx"); a null image for one that is
// missing, truncated or not of this format.
QImage LoadRawImage(const QString& path);

} // namespace numora
