// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The frequency display repaints only what a new text changed, and paints
// only the glyphs that reach what it paints, from pictures of them: the
// pixels must be those of a plain label of the same font, colours and size
// painted whole, at a device pixel ratio of 1 and of 2.

#include <gtest/gtest.h>

#include <QImage>
#include <QLabel>
#include <algorithm>
#include <memory>
#include <string>

#include "fake_link.h"
#include "frequency_display.h"
#include "main_window.h"
#include "window_test_support.h"

namespace velmo {
namespace {

using testing::Control;

// "same", or how many pixels differ and where the first is.
std::string Difference(const QImage& painted, const QImage& expected) {
    if (painted.size() != expected.size()) return "sizes differ";
    int count = 0;
    QPoint first;
    for (int y = 0; y < painted.height(); ++y) {
        for (int x = 0; x < painted.width(); ++x) {
            if (painted.pixel(x, y) == expected.pixel(x, y)) continue;
            if (count++ == 0) first = QPoint(x, y);
        }
    }
    if (count == 0) return "same";
    return std::to_string(count) + " pixels differ, the first at (" + std::to_string(first.x()) + ", " +
           std::to_string(first.y()) + ")";
}

class FrequencyDisplayTest : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override {
        window = std::make_unique<MainWindow>(link, 1, [](const std::exception&) {});
        display = Control<FrequencyDisplay>(*window, "DisplayFrequency");
        ASSERT_NE(display, nullptr);
        reference.setFont(display->font());
        reference.setPalette(display->palette());
        reference.setAutoFillBackground(true);
        reference.setAlignment(display->alignment());
        reference.resize(display->size());
    }

    // An image of the display's size at the pixel ratio under test.
    QImage Blank() const {
        QImage image(display->size() * GetParam(), QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(GetParam());
        image.fill(Qt::magenta);
        return image;
    }

    // A plain label painted whole.
    QImage Whole(const QString& text) {
        reference.setText(text);
        QImage image = Blank();
        reference.render(&image);
        return image;
    }

    testing::FakeLink link;
    std::unique_ptr<MainWindow> window;
    FrequencyDisplay* display = nullptr;
    QLabel reference;
};

TEST_P(FrequencyDisplayTest, PaintedWholeItIsAPlainLabel) {
    for (const char* text : {"81.300.000", "1300.000.000", "0.100.000"}) {
        display->setText(QString::fromLatin1(text));
        QImage painted = Blank();
        display->render(&painted);
        EXPECT_EQ(Difference(painted, Whole(QString::fromLatin1(text))), "same") << text;
    }
    // Painted from pictures of its glyphs, not filled as a plain label.
    EXPECT_GT(display->KeptGlyphs(), 0);
}

// A step repaints what it changed on top of what was there; the result is
// the new text painted whole. The changed area must also be a small part
// of the display for a step of one digit.
TEST_P(FrequencyDisplayTest, AStepRepaintsWhatChangedAndGivesTheWholeNewText) {
    struct Step {
        const char* before;
        const char* after;
        bool small;  // one or two digits changed
    };
    const Step steps[] = {
        {"81.300.000", "81.400.000", true},    {"81.900.000", "82.000.000", false},
        {"99.900.000", "100.000.000", false},  // longer: painted whole
        {"146.512.500", "146.525.000", false}, {"1300.000.000", "0.100.000", false},
        {"81.300.000", "81.300.001", true},
    };
    for (const Step& step : steps) {
        const QString before = QString::fromLatin1(step.before);
        const QString after = QString::fromLatin1(step.after);
        QImage painted = Whole(before);
        // render() puts the top left of the area it paints at the offset.
        const QRegion changed = display->ChangedArea(before, after);
        display->setText(after);
        display->render(&painted, changed.boundingRect().topLeft(), changed);
        EXPECT_EQ(Difference(painted, Whole(after)), "same") << step.before << " -> " << step.after;
        if (step.small) {
            EXPECT_LT(changed.boundingRect().width(), display->width() / 4) << step.before << " -> " << step.after;
        }
    }
}

// Any part painted alone, as an uncovered corner or a window system's
// expose would ask, matches the whole.
TEST_P(FrequencyDisplayTest, AnyPartPaintedAloneMatchesTheWhole) {
    const QString text = QStringLiteral("146.512.500");
    display->setText(text);
    const QImage whole = Whole(text);
    for (int x = 0; x < display->width(); x += 7) {
        // A thin strip, through the middle of a glyph or between two.
        const QRegion strip(x, 0, 3, display->height());
        QImage blanked = whole;
        const int ratio = GetParam();
        for (int y = 0; y < blanked.height(); ++y) {
            for (int dx = x * ratio; dx < std::min((x + 3) * ratio, blanked.width()); ++dx) {
                blanked.setPixel(dx, y, qRgb(255, 0, 255));
            }
        }
        display->render(&blanked, strip.boundingRect().topLeft(), strip);
        ASSERT_EQ(Difference(blanked, whole), "same") << "strip at x = " << x;
    }
}

// A display whose glyphs' pictures are painted again in a new colour, font
// or size must not show the old ones.
TEST_P(FrequencyDisplayTest, ANewLookIsPaintedAfresh) {
    const QString text = QStringLiteral("146.512.500");
    display->setText(text);
    QImage first = Blank();
    display->render(&first);
    QPalette palette = display->palette();
    palette.setColor(QPalette::WindowText, Qt::yellow);
    display->setPalette(palette);
    reference.setPalette(palette);
    QFont font = display->font();
    font.setPointSizeF(font.pointSizeF() * 0.75);
    display->setFont(font);
    reference.setFont(font);
    QImage painted = Blank();
    display->render(&painted);
    EXPECT_EQ(Difference(painted, Whole(text)), "same");
}

INSTANTIATE_TEST_SUITE_P(PixelRatio, FrequencyDisplayTest, ::testing::Values(1, 2),
                         [](const ::testing::TestParamInfo<int>& ratio) {
                             return "Ratio" + std::to_string(ratio.param);
                         });

}  // namespace
}  // namespace velmo
