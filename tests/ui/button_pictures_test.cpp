// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "button_pictures.h"

#include <gtest/gtest.h>
#include <QImage>
#include <QPixmap>

namespace velmo {
namespace {

QImage Picture(ButtonPicture picture) {
    return PictureIcon(picture).pixmap(PictureSize(picture)).toImage().convertToFormat(QImage::Format_ARGB32);
}

// Share of the drawn (opaque) pixels whose colour is close to `colour`.
double ShareOf(const QImage& image, QColor colour) {
    int drawn = 0, matching = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (pixel.alpha() < 200) continue;
            ++drawn;
            if (std::abs(pixel.red() - colour.red()) < 60 && std::abs(pixel.green() - colour.green()) < 60 &&
                std::abs(pixel.blue() - colour.blue()) < 60) {
                ++matching;
            }
        }
    }
    return drawn ? static_cast<double>(matching) / drawn : 0.0;
}

// The row in which the picture has the most drawn pixels.
int WidestRow(const QImage& image) {
    int widest = -1, best = -1;
    for (int y = 0; y < image.height(); ++y) {
        int count = 0;
        for (int x = 0; x < image.width(); ++x) count += image.pixelColor(x, y).alpha() >= 200;
        if (count > widest) widest = count, best = y;
    }
    return best;
}

TEST(ButtonPicturesTest, PicturesHaveTheirSizesAndTransparentCorners) {
    const std::pair<ButtonPicture, QSize> sizes[] = {
        {ButtonPicture::RadioOn, {23, 23}},     {ButtonPicture::RadioOff, {28, 28}},
        {ButtonPicture::FrequencyUp, {31, 31}}, {ButtonPicture::FrequencyDown, {31, 31}},
        {ButtonPicture::Direct, {20, 22}},      {ButtonPicture::Scan, {20, 22}}};
    for (const auto& [picture, size] : sizes) {
        SCOPED_TRACE(static_cast<int>(picture));
        EXPECT_EQ(PictureSize(picture), size);
        const QImage image = Picture(picture);
        ASSERT_EQ(image.size(), size);
        EXPECT_EQ(image.pixelColor(0, 0).alpha(), 0);
        EXPECT_EQ(image.pixelColor(size.width() - 1, size.height() - 1).alpha(), 0);
        EXPECT_NE(WidestRow(image), -1);
        // A sharper copy for HiDPI screens.
        EXPECT_EQ(PictureIcon(picture).pixmap(size, 2.0).size(), size * 2);
    }
}

TEST(ButtonPicturesTest, PicturesAreDrawnInTheirColours) {
    EXPECT_GT(ShareOf(Picture(ButtonPicture::RadioOn), QColor(0, 200, 0)), 0.5);        // green check mark
    EXPECT_GT(ShareOf(Picture(ButtonPicture::RadioOff), QColor(224, 0, 0)), 0.8);       // red prohibition sign
    EXPECT_GT(ShareOf(Picture(ButtonPicture::FrequencyUp), QColor(0, 255, 255)), 0.5);  // cyan arrows
    EXPECT_GT(ShareOf(Picture(ButtonPicture::FrequencyDown), QColor(0, 255, 255)), 0.5);
    EXPECT_GT(ShareOf(Picture(ButtonPicture::Direct), QColor(255, 255, 255)), 0.4);  // sheets of paper
    EXPECT_GT(ShareOf(Picture(ButtonPicture::Scan), QColor(255, 255, 255)), 0.3);
}

TEST(ButtonPicturesTest, ArrowsPointUpAndDown) {
    // The head is the widest part of an arrow.
    EXPECT_LT(WidestRow(Picture(ButtonPicture::FrequencyUp)), 15);
    EXPECT_GT(WidestRow(Picture(ButtonPicture::FrequencyDown)), 15);
}

TEST(ButtonPicturesTest, WindowIconHasSixImages) {
    const QIcon icon = WindowIcon();
    QList<QSize> expected;
    for (int side : {16, 24, 32, 48, 64, 256}) expected.append(QSize(side, side));
    EXPECT_EQ(icon.availableSizes(), expected);
    const QImage large = icon.pixmap(256).toImage();
    EXPECT_GT(large.pixelColor(128, 128).alpha(), 0);
}

}  // namespace
}  // namespace velmo
