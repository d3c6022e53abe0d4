// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QCache>
#include <QImage>
#include <QLabel>
#include <QRectF>
#include <QRegion>
#include <QString>
#include <array>
#include <vector>

namespace velmo {

// The frequency display: a label in a font so large that every glyph is
// filled as a path each time it is painted, which made showing a new
// frequency the dearest part of a scanner step. A tuning step changes one
// or two digits, so a new text repaints only the character cells that
// changed, and a paint takes only the glyphs whose ink reaches into what
// it paints. Each glyph is filled once in its cell, alone on the label's
// background, and copied from that picture after: where no two glyphs' ink
// shares a pixel, that gives the pixels of the whole label filled afresh,
// and where two would, the label is painted as a plain one. So is a font
// whose characters are not all as wide as a space.
class FrequencyDisplay : public QLabel {
    // Found by its type (findChild), which Qt 6.8 allows only with this.
    Q_OBJECT

public:
    explicit FrequencyDisplay(QWidget* parent) : QLabel(parent) {}

    // Sets the text, as setText does, repainting what changed.
    void ShowText(const QString& text);
    // What ShowText repaints going from `before` to `after`; the whole
    // label when their characters do not stand in the same cells.
    QRegion ChangedArea(const QString& before, const QString& after) const;

    // Glyphs kept as pictures.
    int KeptGlyphs() const { return static_cast<int>(glyphs_.size()); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // Laid out as this paints it: a plain text, no frame, margin or indent.
    bool PlainLayout() const;
    // Where the ink of each character of `text` can reach, or nothing when
    // the characters do not stand in cells of one width.
    std::vector<QRectF> InkReach(const QString& text) const;
    std::vector<QRectF> MeasureInkReach(const QString& text) const;
    struct ReachFor {
        QString text;
        QFont font;
        QRect area;
        int height = 0;
        std::vector<QRectF> reach;
    };
    mutable std::array<ReachFor, 2> reaches_;
    mutable std::size_t next_reach_ = 0;

    // One character as the label paints it in its cell: the pixels its ink
    // changed, in device pixels of the label, and their picture.
    struct Glyph {
        QRect pixels;
        QImage picture;
    };
    // What the pictures depend on besides the character and its cell.
    struct Look {
        QSize size;
        qreal ratio = 0;
        qint64 palette = 0;
        QFont font;
        int alignment = 0;
        const void* style = nullptr;
        QImage::Format format = QImage::Format_Invalid;
        bool operator==(const Look&) const = default;
    };
    static quint64 GlyphKey(qsizetype length, qsizetype cell, QChar character);
    // The glyph of `character` in `cell`, made if it is not kept.
    const Glyph* GlyphAt(qsizetype cell, QChar character, const QImage& target);
    // Paints the glyphs reaching `painted` from their pictures; false, with
    // nothing painted, where that would not give the label's own pixels.
    bool PaintFromPictures(QPainter& painter, const QRectF& painted, const std::vector<QRectF>& reach);
    void PaintText(QPainter& painter, const QString& drawn);

    Look look_;
    // By the text's length, the cell and the character. A scan over the
    // whole range shows every digit in every cell of every length; the
    // glyphs used most lately are kept, enough for the cells a scan changes.
    static constexpr qsizetype kKeptGlyphs = 48;
    QCache<quint64, Glyph> glyphs_{kKeptGlyphs};
};

}  // namespace velmo
