#pragma once

#include "data/colormanager.h"
#include "data/platform.h"
#include "image/imageengine.h"
#include "image/picturebitmap.h"
#include "store/datafolder.h"

#include <QImage>

#include <filesystem>
#include <initializer_list>
#include <vector>

namespace pigmora::test {

// The default data files in the colour manager's folder with the start box
// current; the box's paints with the codes, in their order (none when the
// box or a code is missing).
inline std::vector<PaintColorRecord> openStartBox(CColorManager &colors, Notifier &notifier,
                                                  std::initializer_list<const char *> codes)
{
    if (!DataFolder(colors.programFolder(), &notifier).createMissingFiles())
        return {};
    colors.buildBuiltInCatalogue();
    colors.loadColorGroups();
    if (!colors.loadColorBox("我的颜色盒"))
        return {};
    std::vector<PaintColorRecord> paints;
    for (const char *code : codes) {
        for (const PaintColorRecord &paint : colors.currentBoxRecords())
            if (platform::gbkToUtf8(paint.code()) == code)
                paints.push_back(paint);
    }
    return paints.size() == codes.size() ? paints : std::vector<PaintColorRecord>();
}

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
