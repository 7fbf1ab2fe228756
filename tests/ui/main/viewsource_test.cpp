#include "main/pictureview.h"
#include "main/viewsource.h"
#include "uimaintestsupport.h"

#include <QPainter>

#include <gtest/gtest.h>

namespace pigmora::ui {
namespace {

TEST(ViewSource, WrapSharesTheRowsAndReadsOpaqueDespiteTheZeroFourthByte)
{
    QImage original(3, 2, QImage::Format_RGB32);
    original.fill(QColor(10, 20, 30));
    original.setPixel(2, 1, qRgb(200, 100, 50));
    const PictureBitmap bitmap = test::bitmapOf(original);
    ASSERT_EQ(bitmap.bitsPerPixel(), 32);
    ASSERT_EQ(bitmap.scanLine(0)[3], 0); // the core's fourth byte

    const QImage wrapped = wrapPictureBitmap(bitmap);
    EXPECT_EQ(wrapped.constBits(), bitmap.bits()); // no copy
    EXPECT_EQ(wrapped.pixel(2, 1), qRgb(200, 100, 50));
    EXPECT_EQ(qAlpha(wrapped.pixel(0, 0)), 255);

    // Drawing the wrap as it is onto a target with alpha would copy the zero
    // byte and make the picture transparent; the view source draws opaque
    // pixels onto every kind of target.
    BitmapViewSource source(bitmap);
    for (QImage::Format format :
         {QImage::Format_RGB32, QImage::Format_ARGB32_Premultiplied, QImage::Format_ARGB32, QImage::Format_RGB888}) {
        QImage target(5, 4, format);
        target.fill(Qt::white);
        QPainter painter(&target);
        source.draw(painter, QPoint(1, 1), QRect(0, 0, 3, 2));
        painter.end();
        EXPECT_EQ(target.pixel(3, 2), qRgb(200, 100, 50)) << format;
        EXPECT_EQ(target.pixel(1, 1), qRgb(10, 20, 30)) << format;
        EXPECT_EQ(target.pixel(0, 0), qRgb(255, 255, 255)) << format;
        const QImage converted = target.convertToFormat(QImage::Format_ARGB32);
        EXPECT_EQ(qAlpha(converted.pixel(3, 2)), 255) << format;
    }
    EXPECT_EQ(wrapped.convertToFormat(QImage::Format_ARGB32).pixel(2, 1), qRgb(200, 100, 50));

    EXPECT_TRUE(wrapPictureBitmap(PictureBitmap()).isNull());
}

TEST(ViewSource, DrawsOnlyTheOverlapWithThePicture)
{
    QImage original(4, 4, QImage::Format_RGB32);
    original.fill(QColor(1, 2, 3));
    BitmapViewSource source(test::bitmapOf(original));
    QImage target(6, 6, QImage::Format_RGB32);
    target.fill(Qt::white);
    QPainter painter(&target);
    source.draw(painter, QPoint(0, 0), QRect(2, 2, 6, 6)); // partly beyond the picture
    painter.end();
    EXPECT_EQ(target.pixel(1, 1), qRgb(1, 2, 3));
    EXPECT_EQ(target.pixel(2, 1), qRgb(255, 255, 255));
    EXPECT_EQ(target.pixel(1, 2), qRgb(255, 255, 255));
    EXPECT_EQ(source.colorAt({3, 3}), (RgbColor{1, 2, 3}));
    EXPECT_FALSE(source.colorAt({4, 0}));
}

TEST(PictureViewPainting, GridLinesInvertAndCrossingsShowThePicture)
{
    QImage picture(400, 300, QImage::Format_RGB32);
    picture.fill(QColor(200, 100, 50));
    BitmapViewSource source(test::bitmapOf(picture));
    QImage box(419, 319, QImage::Format_RGB32);
    box.fill(Qt::white);
    ViewOverlay overlay;
    overlay.grid = true;
    overlay.gridColumns = 4;
    overlay.gridRows = 3;
    QPainter painter(&box);
    paintPictureView(painter, &source, overlay, box.rect());
    painter.end();

    const QRgb plain = qRgb(200, 100, 50);
    const QRgb inverted = qRgb(55, 155, 205);
    const std::set<int> columns{18, 118, 218, 318, 417};
    const std::set<int> rows{18, 118, 218, 317};
    for (int x = 17; x <= 418; ++x) {
        const int y = 60; // between rows
        const QRgb expected = x < 18 || x > 417 ? qRgb(255, 255, 255) : columns.count(x) ? inverted : plain;
        ASSERT_EQ(box.pixel(x, y), expected) << x;
    }
    for (int y = 17; y <= 318; ++y) {
        const int x = 70;
        const QRgb expected = y < 18 || y > 317 ? qRgb(255, 255, 255) : rows.count(y) ? inverted : plain;
        ASSERT_EQ(box.pixel(x, y), expected) << y;
    }
    for (int x : columns)
        for (int y : rows)
            EXPECT_EQ(box.pixel(x, y), plain) << x << "," << y; // inverted twice

    // The lens outline inverts the pixels under it, once each.
    box.fill(Qt::white);
    overlay = {};
    overlay.lens = QPoint(100, 100);
    painter.begin(&box);
    paintPictureView(painter, &source, overlay, box.rect());
    painter.end();
    EXPECT_EQ(box.pixel(65, 75), inverted);
    EXPECT_EQ(box.pixel(135, 125), inverted);
    EXPECT_EQ(box.pixel(100, 100), plain);
    EXPECT_EQ(box.pixel(64, 75), plain);
}

} // namespace
} // namespace pigmora::ui
