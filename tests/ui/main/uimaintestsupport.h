#pragma once

#include "image/imageengine.h"
#include "image/picturebitmap.h"

#include <QImage>

#include <filesystem>

namespace pigmora::test {

// The image engine's bitmap of a picture with the image's pixels, taken in
// as 24-bit rows, so that every fourth byte is 0 as after decoding a file.
inline PictureBitmap bitmapOf(const QImage &image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_BGR888);
    CImageEngine engine;
    std::string id;
    const SourceBitmap source{rgb.width(), rgb.height(), 24, rgb.bytesPerLine(), rgb.constBits()};
    CImageDibObject *picture = engine.loadPictureFromImage(source, id);
    return picture ? picture->pictureToBitmap() : PictureBitmap();
}

} // namespace pigmora::test
