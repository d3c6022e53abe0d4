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
    for (qsizetype i = 0; i < drawn.size(); ++i) {
        if (!reach[static_cast<std::size_t>(i)].intersects(painted)) drawn[i] = QLatin1Char(' ');
    }
    QPainter painter(this);
    drawFrame(&painter);
    QStyleOption option;
    option.initFrom(this);
    const bool right_to_left = text().isRightToLeft();
    const int flags =
        static_cast<int>(QStyle::visualAlignment(right_to_left ? Qt::RightToLeft : Qt::LeftToRight, alignment())) |
        (right_to_left ? Qt::TextForceRightToLeft : Qt::TextForceLeftToRight);
    style()->drawItemText(&painter, contentsRect(), flags, option.palette, isEnabled(), drawn, foregroundRole());
}

}  // namespace velmo
