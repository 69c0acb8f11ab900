#include "pictures_maps/picture_resources.h"

#include "pictures_maps/jpeg_files.h"

#include <QFile>
#include <QGuiApplication>
#include <QScreen>

std::unique_ptr<QImage> LoadJpegResource(const QString& resourceName) {
    QFile file(QStringLiteral(":/jpeg/") + resourceName + QStringLiteral(".jpg"));
    if (!file.open(QIODevice::ReadOnly)) return nullptr;
    QImage image = GLB_decode_jpeg(file.readAll());
    if (image.isNull()) return nullptr;
    return std::make_unique<QImage>(std::move(image));
}

QIcon LoadIconResource(const QString& resourceName) {
    const QString path = QStringLiteral(":/icons/") + resourceName;
    return QFile::exists(path) ? QIcon(path) : QIcon();
}

const TWorkArea& GLB_work_area() {
    static const TWorkArea area = [] {
        TWorkArea a;
        QRect r(0, 0, 1024, 768);
        if (const QScreen* screen = QGuiApplication::primaryScreen()) r = screen->availableGeometry();
        a.left = r.left();
        a.top = r.top();
        a.right = r.left() + r.width();
        a.bottom = r.top() + r.height();
        return a;
    }();
    return area;
}
