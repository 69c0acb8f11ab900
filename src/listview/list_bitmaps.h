#pragma once

#include <QPixmap>
#include <QPoint>
#include <QSize>
#include <QString>
#include <array>

// One bitmap of the list with the offset it is drawn at from the pen.
struct TListBitmap {
    QString resource_name;
    QPixmap pixmap;
    QPoint offset;
    QSize size;  // in list pixels, whatever the screen's resolution
};

// The list's eleven bitmaps, loaded once at start from the resources.
class TListBitmaps {
  public:
    static constexpr int kCount = 11;

    // Loads every bitmap; a missing one stops the program with
    // "Bitmap <name> resource missing".
    static void load();
    static bool loaded();
    // Entries 1..11.
    static const TListBitmap& at(int index);

    static QString resource_path(const QString& resourceName);
};
