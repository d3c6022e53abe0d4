// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QLabel>
#include <QRectF>
#include <QRegion>
#include <QString>
#include <vector>

namespace velmo {

// The frequency display: a label in a font so large that every glyph is
// filled as a path each time it is painted, which made showing a new
// frequency the dearest part of a scanner step. A tuning step changes one
// or two digits, so a new text repaints only the character cells that
// changed, and a paint fills only the glyphs whose ink reaches into what
// it paints. The pixels are those of the whole label painted afresh; a
// font whose characters are not all as wide as a space is painted whole.
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

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // Laid out as this paints it: a plain text, no frame, margin or indent.
    bool PlainLayout() const;
    // Where the ink of each character of `text` can reach, or nothing when
    // the characters do not stand in cells of one width.
    std::vector<QRectF> InkReach(const QString& text) const;
};

}  // namespace velmo
