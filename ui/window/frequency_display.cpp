// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "frequency_display.h"

#include <QFontMetricsF>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <QStyle>
#include <QStyleOption>
#include <QTextDocument>
#include <algorithm>
#include <cmath>

#include "raster_target.h"

namespace velmo {
namespace {

// Pixels round a glyph's measured ink that antialiasing, or a difference
// between its measured and drawn outline, may still touch.
constexpr qreal kInkMargin = 3;

}  // namespace

bool FrequencyDisplay::PlainLayout() const {
    return margin() == 0 && indent() <= 0 && frameWidth() == 0 && !wordWrap() &&
           (textFormat() == Qt::PlainText || (textFormat() == Qt::AutoText && !Qt::mightBeRichText(text())));
}

std::vector<QRectF> FrequencyDisplay::InkReach(const QString& text) const {
    if (!PlainLayout()) return {};
    // A step asks for the reach of the text shown before and after it, and
    // its paint again for the new one: the last two are remembered.
    const ReachFor look{text, font(), contentsRect(), height(), {}};
    for (const ReachFor& known : reaches_) {
        if (known.text == look.text && known.font == look.font && known.area == look.area &&
            known.height == look.height) {
            return known.reach;
        }
    }
    std::vector<QRectF> reach = MeasureInkReach(text);
    reaches_[next_reach_] = {text, font(), contentsRect(), height(), reach};
    next_reach_ = (next_reach_ + 1) % reaches_.size();
    return reach;
}

std::vector<QRectF> FrequencyDisplay::MeasureInkReach(const QString& text) const {
    const QFontMetricsF metrics(font());
    const qreal cell = metrics.horizontalAdvance(QLatin1Char(' '));
    for (const QChar c : text) {
        if (metrics.horizontalAdvance(c) != cell) return {};
    }
    // Laid out as QLabel lays out a plain text: centred in the contents.
    const QRectF area = contentsRect();
    const qreal left = area.left() + (area.width() - cell * static_cast<qreal>(text.size())) / 2;
    std::vector<QRectF> reach;
    reach.reserve(static_cast<std::size_t>(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qreal x = left + cell * static_cast<qreal>(i);
        const QRectF ink = metrics.boundingRect(text[i]).translated(x, 0);
        const qreal from = std::min(x, ink.left()) - kInkMargin;
        const qreal to = std::max(x + cell, ink.right()) + kInkMargin;
        reach.emplace_back(from, 0, to - from, height());
    }
    return reach;
}

QRegion FrequencyDisplay::ChangedArea(const QString& before, const QString& after) const {
    const std::vector<QRectF> old_reach = InkReach(before);
    const std::vector<QRectF> new_reach = InkReach(after);
    if (old_reach.empty() || old_reach.size() != new_reach.size()) return QRegion(rect());
    QRegion changed;
    for (qsizetype i = 0; i < after.size(); ++i) {
        if (after[i] == before[i]) continue;
        const auto at = static_cast<std::size_t>(i);
        changed += old_reach[at].united(new_reach[at]).toAlignedRect();
    }
    return changed;
}

void FrequencyDisplay::ShowText(const QString& shown) {
    const QString before = text();
    if (shown == before) return;
    const QRegion changed = ChangedArea(before, shown);
    // setText repaints the whole label; held off here, as setUpdatesEnabled
    // would, but without the whole repaint that setUpdatesEnabled(true) asks for.
    setAttribute(Qt::WA_UpdatesDisabled, true);
    setText(shown);
    setAttribute(Qt::WA_UpdatesDisabled, false);
    update(changed);
}

void FrequencyDisplay::paintEvent(QPaintEvent* event) {
    // What QLabel::paintEvent does for a plain text, with the characters
    // whose ink cannot reach the painted area left out as spaces, which
    // keep every other glyph where it was.
    QString drawn = text();
    const std::vector<QRectF> reach = InkReach(drawn);
    if (reach.empty()) {
        QLabel::paintEvent(event);
        return;
    }
    const QRectF painted = event->region().boundingRect();
    QPainter painter(this);
    if (PaintFromPictures(painter, painted, reach)) return;
    for (qsizetype i = 0; i < drawn.size(); ++i) {
        if (!reach[static_cast<std::size_t>(i)].intersects(painted)) drawn[i] = QLatin1Char(' ');
    }
    drawFrame(&painter);
    PaintText(painter, drawn);
}

void FrequencyDisplay::PaintText(QPainter& painter, const QString& drawn) {
    QStyleOption option;
    option.initFrom(this);
    const bool right_to_left = text().isRightToLeft();
    const int flags =
        static_cast<int>(QStyle::visualAlignment(right_to_left ? Qt::RightToLeft : Qt::LeftToRight, alignment())) |
        (right_to_left ? Qt::TextForceRightToLeft : Qt::TextForceLeftToRight);
    style()->drawItemText(&painter, contentsRect(), flags, option.palette, isEnabled(), drawn, foregroundRole());
}

bool FrequencyDisplay::PaintFromPictures(QPainter& painter, const QRectF& painted, const std::vector<QRectF>& reach) {
    // Only onto the plain background the label fills itself, one picture
    // pixel to one device pixel, in a 32-bit image.
    const QImage* target = RasterTargetImage(painter);
    const QBrush background = palette().brush(backgroundRole());
    if (target == nullptr || target->depth() != 32 || !autoFillBackground() || background.style() != Qt::SolidPattern ||
        !background.isOpaque()) {
        return false;
    }
    const qreal ratio = target->devicePixelRatio();
    if (ratio != std::floor(ratio) || !WholeDevicePixels(painter, ratio) || painter.opacity() != 1.0 ||
        painter.compositionMode() != QPainter::CompositionMode_SourceOver) {
        return false;
    }
    const Look look{size(),  ratio,           palette().cacheKey(), font(), static_cast<int>(alignment()),
                    style(), target->format()};
    if (!(look == look_)) {
        glyphs_.clear();
        look_ = look;
    }
    const QString shown = text();
    std::vector<qsizetype> cells;
    for (qsizetype i = 0; i < shown.size(); ++i) {
        if (reach[static_cast<std::size_t>(i)].intersects(painted)) cells.push_back(i);
    }
    // Made first, then looked up: making one may drop another.
    if (static_cast<qsizetype>(cells.size()) > glyphs_.maxCost()) return false;
    for (const qsizetype cell : cells) GlyphAt(cell, shown[cell], *target);
    std::vector<const Glyph*> inked;
    for (const qsizetype cell : cells) {
        const Glyph* glyph = glyphs_.object(GlyphKey(shown.size(), cell, shown[cell]));
        if (glyph == nullptr) return false;
        if (!glyph->pixels.isEmpty()) inked.push_back(glyph);
    }
    // Two glyphs' ink in one pixel (or next to it, where a faint edge may
    // not have shown alone) blends differently when filled together.
    for (std::size_t a = 0; a < inked.size(); ++a) {
        for (std::size_t b = a + 1; b < inked.size(); ++b) {
            if (inked[a]->pixels.adjusted(-1, -1, 1, 1).intersects(inked[b]->pixels)) return false;
        }
    }
    for (const Glyph* glyph : inked) {
        painter.drawImage(QPointF(glyph->pixels.x() / ratio, glyph->pixels.y() / ratio), glyph->picture);
    }
    return true;
}

quint64 FrequencyDisplay::GlyphKey(qsizetype length, qsizetype cell, QChar character) {
    // Where a cell stands depends on the length of the text, centred.
    return (static_cast<quint64>(length) << 32) | (static_cast<quint64>(cell) << 16) | character.unicode();
}

const FrequencyDisplay::Glyph* FrequencyDisplay::GlyphAt(qsizetype cell, QChar character, const QImage& target) {
    const quint64 key = GlyphKey(text().size(), cell, character);
    if (const Glyph* known = glyphs_.object(key)) return known;
    // The label painted with this character alone in its cell.
    const qreal ratio = target.devicePixelRatio();
    QImage whole(size() * ratio, target.format());
    whole.setDevicePixelRatio(ratio);
    const QColor background = palette().color(backgroundRole());
    whole.fill(background);
    {
        QString alone(text().size(), QLatin1Char(' '));
        alone[cell] = character;
        QPainter on_whole(&whole);
        on_whole.setFont(font());
        PaintText(on_whole, alone);
    }
    QImage plain(1, 1, target.format());
    plain.fill(background);
    const QRgb unpainted = reinterpret_cast<const QRgb*>(plain.constScanLine(0))[0];
    QRect ink;
    for (int y = 0; y < whole.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(whole.constScanLine(y));
        for (int x = 0; x < whole.width(); ++x) {
            if (row[x] != unpainted) ink |= QRect(x, y, 1, 1);
        }
    }
    auto* glyph = new Glyph;
    if (!ink.isEmpty()) {
        glyph->pixels = ink;
        glyph->picture = whole.copy(ink);
        glyph->picture.setDevicePixelRatio(ratio);
    }
    glyphs_.insert(key, glyph);
    return glyphs_.object(key);
}

}  // namespace velmo
