#pragma once

// Pictures and icons stored in the program itself, and the screen's work
// area that picture and map windows place themselves in.

#include <QIcon>
#include <QImage>
#include <QRect>
#include <QString>
#include <memory>

// The JPEG resource of that name (":/jpeg/<name>.jpg"), or nil when there
// is none. The caller owns the image.
std::unique_ptr<QImage> LoadJpegResource(const QString& resourceName);
// The icon resource of that name (":/icons/<name>"); a null icon when absent.
QIcon LoadIconResource(const QString& resourceName);

// The desktop less the task bar, read once on first use.
struct TWorkArea {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    QRect rect() const { return QRect(left, top, width(), height()); }
};
const TWorkArea& GLB_work_area();
