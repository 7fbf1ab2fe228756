#include "manage/palettemime.h"

#include <QMimeData>

#include <gtest/gtest.h>
#include <memory>

namespace pigmora::ui {
namespace {

TEST(PaletteMime, RoundTripsColourAndSourceCell)
{
    for (const PaletteDrag drag :
         {PaletteDrag{{255, 0, 128}, -1}, PaletteDrag{{0, 0, 0}, 0}, PaletteDrag{{1, 2, 3}, 99}}) {
        std::unique_ptr<QMimeData> data(encodePaletteDrag(drag));
        const auto decoded = decodePaletteDrag(data.get());
        ASSERT_TRUE(decoded.has_value());
        EXPECT_EQ(decoded->color, drag.color);
        EXPECT_EQ(decoded->sourceCell, drag.sourceCell);
    }
}

TEST(PaletteMime, RefusesForeignAndMalformedData)
{
    EXPECT_FALSE(decodePaletteDrag(nullptr));
    QMimeData text;
    text.setText(QStringLiteral("255,0,0,-1"));
    EXPECT_FALSE(decodePaletteDrag(&text));
    for (const char *payload : {"", "1,2,3", "1,2,3,4,5", "256,0,0,-1", "0,0,0,100", "0,0,0,-2", "a,0,0,0"}) {
        QMimeData data;
        data.setData(QString::fromLatin1(kPaletteDragMimeType), QByteArray(payload));
        EXPECT_FALSE(decodePaletteDrag(&data)) << payload;
    }
}

} // namespace
} // namespace pigmora::ui
