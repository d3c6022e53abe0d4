// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "button_pictures.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>
#include <initializer_list>

namespace velmo {
namespace {

struct PictureSource {
    const char* resource;
    QSize size;
};

PictureSource Source(ButtonPicture picture) {
    switch (picture) {
        case ButtonPicture::RadioOn: return {":/pictures/radio_on.svg", {23, 23}};
        case ButtonPicture::RadioOff: return {":/pictures/radio_off.svg", {28, 28}};
        case ButtonPicture::FrequencyUp: return {":/pictures/frequency_up.svg", {31, 31}};
        case ButtonPicture::FrequencyDown: return {":/pictures/frequency_down.svg", {31, 31}};
        case ButtonPicture::Direct: return {":/pictures/direct.svg", {20, 22}};
        case ButtonPicture::Scan: return {":/pictures/scan.svg", {20, 22}};
    }
    return {"", {}};
}

QPixmap Render(QSvgRenderer& renderer, QSize size, qreal ratio = 1.0) {
    QPixmap pixmap(size * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return pixmap;
}

}  // namespace

QSize PictureSize(ButtonPicture picture) { return Source(picture).size; }

QIcon PictureIcon(ButtonPicture picture) {
    const PictureSource source = Source(picture);
    QSvgRenderer renderer(QString::fromLatin1(source.resource));
    QIcon icon;
    for (qreal ratio : {1.0, 1.5, 2.0, 3.0}) {
        icon.addPixmap(Render(renderer, source.size, ratio));
    }
    return icon;
}

QIcon WindowIcon() {
    QSvgRenderer renderer(QStringLiteral(":/pictures/velmo_icon.svg"));
    QIcon icon;
    for (int side : {16, 24, 32, 48, 64, 256}) {
        icon.addPixmap(Render(renderer, QSize(side, side)));
    }
    return icon;
}

}  // namespace velmo
