#include "playlists/sound_bar_drag.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QScreen>

TSoundBarDragObject::TSoundBarDragObject(const Tcupaitem& item, int recordingNumber)
    : item_(&item), recording_number_(recordingNumber) {
    setData(QString::fromLatin1(kMimeType), QByteArray::number(recordingNumber));
}

const TSoundBarDragObject* TSoundBarDragObject::from(const QMimeData* data) {
    return qobject_cast<const TSoundBarDragObject*>(data);
}

QPixmap GLB_drag_cursor_pixmap(int scale) {
    const int s = std::max(1, scale);
    QPixmap pixmap(32 * s, 32 * s);
    pixmap.setDevicePixelRatio(s);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    // The arrow, its tip at the hot spot.
    QPainterPath arrow;
    arrow.moveTo(1, 1);
    arrow.lineTo(1, 17);
    arrow.lineTo(5, 13);
    arrow.lineTo(8, 19);
    arrow.lineTo(10, 18);
    arrow.lineTo(7, 12);
    arrow.lineTo(12, 12);
    arrow.closeSubpath();
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawPath(arrow);
    // The sheet with a note on it: a recording on its way to a list.
    p.setBrush(Qt::white);
    p.drawRect(QRectF(13.5, 13.5, 16, 16));
    p.setBrush(Qt::black);
    p.drawEllipse(QRectF(17, 23, 5, 4));
    p.drawLine(QLineF(21.5, 25, 21.5, 16));
    p.drawLine(QLineF(21.5, 16, 26, 18));
    return pixmap;
}

QCursor GLB_drag_cursor() {
    const qreal ratio = QGuiApplication::primaryScreen()
                            ? QGuiApplication::primaryScreen()->devicePixelRatio()
                            : 1.0;
    return QCursor(GLB_drag_cursor_pixmap(ratio > 1.5 ? 2 : 1), 1, 1);
}
