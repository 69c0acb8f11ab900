#include "pictures_maps/big_picture_model.h"

#include "app/settings.h"
#include "app/settings_general.h"
#include "data/media_records.h"

#include <algorithm>
#include <cmath>

// --- Taxon -------------------------------------------------------------------

bool TPictureTaxon::admits(const Tbig_picture& picture) const {
    if (picture.species != species) return false;
    if (!subspecies) return true;
    return picture.subspecies && picture.subspecies->subspecies == subspecies;
}

const Tbig_picture* TPictureTaxon::first() const {
    if (!species) return nullptr;
    for (const Tbig_picture* p = species->first_picture; p; p = p->next)
        if (admits(*p)) return p;
    return nullptr;
}

const Tbig_picture* TPictureTaxon::neighbour(const Tbig_picture& from, bool forward) const {
    for (const Tbig_picture* p = forward ? from.next : from.previous; p;
         p = forward ? p->next : p->previous)
        if (admits(*p)) return p;
    return nullptr;
}

// --- Geometry and zoom ---------------------------------------------------------

namespace big_picture {

double zoom(double oldFactor, double step) {
    const double factor = oldFactor * step;
    if ((oldFactor < 0.99 && factor > 0.95) || (factor < 1.05 && oldFactor > 1.01)) return 1.0;
    if ((oldFactor < 1.9999 && factor > 1.9) || (factor < 2.1 && oldFactor > 2.0001)) return 2.0;
    return factor;
}

bool fits(QSize picture, QSize screen) {
    return picture.width() * 1.5 < screen.width() && picture.height() * 1.5 < screen.height();
}

QSize normal_client_size(QSize picture, bool fitsScreen, QSize screen) {
    if (picture.isEmpty()) return {};
    const double aspect = double(picture.height()) / picture.width();
    int width = fitsScreen ? picture.width() : std::min(screen.width() / 2, picture.width());
    int height = static_cast<int>(std::lround(width * aspect));
    const int highest = screen.width() * 3 / 5;
    if (height > highest) {
        height = highest;
        width = static_cast<int>(std::lround(height / aspect));
    }
    return {width, height};
}

QPoint inside_work_area(QPoint topLeft, QSize window, const QRect& workArea) {
    return {std::max(workArea.left(),
                     std::min(topLeft.x(), workArea.width() - window.width() - 5)),
            std::max(workArea.top(),
                     std::min(topLeft.y(), workArea.height() - window.height() - 10))};
}

double fitting_factor(QSize picture, QSize available) {
    if (picture.isEmpty()) return 1.0;
    return std::min({double(available.height()) / picture.height(),
                     double(available.width()) / picture.width(), 1.0});
}

QRect fill_rect(QSize client, double aspect) {
    if (client.isEmpty() || aspect <= 0) return {};
    if (double(client.height()) / client.width() > aspect) {
        const int height = static_cast<int>(std::lround(aspect * client.width())) + 1;
        return {0, (client.height() - height) / 2, client.width(), height};
    }
    const int width = static_cast<int>(std::lround(client.height() / aspect)) + 1;
    return {(client.width() - width) / 2, 0, width, client.height()};
}

QRect zoomed_rect(QSize picture, double factor, QSize available) {
    const int width = static_cast<int>(std::lround(picture.width() * factor)) + 1;
    const int height = static_cast<int>(std::lround(picture.height() * factor)) + 1;
    return {std::max(0, (available.width() - width) / 2),
            std::max(0, (available.height() - height) / 2), width, height};
}

QString caption(const QString& text, const QString& photographer) {
    if (photographer.isEmpty()) return text;
    QString result = text;
    if (!result.isEmpty()) result += QStringLiteral("      ");
    return result + QChar(0xA9) + u' ' + photographer;
}

std::array<QPoint, 6> button_places(QSize client, bool hasInformation) {
    const int top = client.height() - 30;
    const int right = client.width();
    const int shift = hasInformation ? 25 : 0;
    return {QPoint(right - 185 - shift, top), QPoint(right - 160 - shift, top),
            QPoint(right - 110, top),         QPoint(right - 85, top),
            QPoint(right - 60, top),          QPoint(right - 35, top)};
}

QRect information_place(QPoint at, QSize size, QSize room) {
    constexpr int kInside = 5;
    const int left = std::max(0, std::min(at.x(), room.width() - kInside - size.width()));
    const int top = std::max(0, std::min(at.y(), room.height() - kInside - size.height()));
    return QRect(QPoint(left, top), size);
}

QString factor_text(double factor) {
    return QString::number(std::lround(factor * 100)) + u'%';
}

int next_month(int month) {
    return month >= 12 ? 1 : month + 1;
}

bool colours_warning_due(qint64 displayColours, int currentMonth, int storedMonth) {
    return displayColours < 300 && currentMonth >= storedMonth;
}

}  // namespace big_picture

// --- Settings ------------------------------------------------------------------

namespace {
// Colours are kept as 0x00BBGGRR.
int colour_value(const QColor& c) {
    return c.red() | (c.green() << 8) | (c.blue() << 16);
}
QColor colour_of(int value) {
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}
}  // namespace

TPictureSettings& GLB_picture_settings() {
    static TPictureSettings settings;
    return settings;
}

void GLB_read_picture_settings() {
    GLB_picture_settings().background = colour_of(
        GLB_read_int(settings::general::kSection, settings::general::kPicturesBackgroundColor, 0));
}

void GLB_write_picture_settings() {
    GLB_write_int(settings::general::kSection, settings::general::kPicturesBackgroundColor,
                  colour_value(GLB_picture_settings().background));
}
