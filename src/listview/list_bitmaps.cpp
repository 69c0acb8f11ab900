#include "listview/list_bitmaps.h"

#include "app/messages.h"

#include <QFile>

namespace {

struct Entry {
    const char* name;
    QPoint offset;
};

// Entries 1 and 3, 2 and 4 share their bitmaps: families and species draw
// the same toggles.
constexpr std::array<Entry, TListBitmaps::kCount> kEntries = {{
    {"PLUS_BITMAP", {0, -6}},
    {"MINUS_BITMAP", {0, -6}},
    {"PLUS_BITMAP", {0, -6}},
    {"MINUS_BITMAP", {0, -6}},
    {"INVISIBLE_STANDIN_FOR_MINUS_AND_PLUS_BITMAPS", {0, 0}},
    {"PICS_PRESENT_BITMAP", {5, -2}},
    {"RECS_PRESENT_BITMAP", {5, -2}},
    {"PICS_AND_RECS_PRESENT_BITMAP", {5, -2}},
    {"LITTLE_PLUS_BITMAP", {0, -4}},
    {"LITTLE_MINUS_BITMAP", {0, -4}},
    {"LITTLE_MAP_BITMAP", {5, -6}},
}};

std::array<TListBitmap, TListBitmaps::kCount>& table() {
    static std::array<TListBitmap, TListBitmaps::kCount> bitmaps;
    return bitmaps;
}

bool& loadedFlag() {
    static bool flag = false;
    return flag;
}

}  // namespace

QString TListBitmaps::resource_path(const QString& resourceName) {
    return QStringLiteral(":/bitmaps/") + resourceName + QStringLiteral(".png");
}

// Resources in a static library register only when something refers to them.
static void init_resources() {
    Q_INIT_RESOURCE(korvelan);
}

void TListBitmaps::load() {
    init_resources();
    for (size_t i = 0; i < kEntries.size(); ++i) {
        const QString name = QString::fromLatin1(kEntries[i].name);
        const QString path = resource_path(name);
        // QPixmap picks the "@2x" drawing on high-resolution screens.
        QPixmap pixmap(path);
        if (!QFile::exists(path) || pixmap.isNull())
            GLB_fatal_message("Bitmap " + name + " resource missing");
        const QSize logical = pixmap.deviceIndependentSize().toSize();
        table()[i] = {name, pixmap, kEntries[i].offset, logical};
    }
    loadedFlag() = true;
}

bool TListBitmaps::loaded() {
    return loadedFlag();
}

const TListBitmap& TListBitmaps::at(int index) {
    Q_ASSERT(index >= 1 && index <= kCount);
    return table()[static_cast<size_t>(index - 1)];
}
