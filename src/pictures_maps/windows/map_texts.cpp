#include "pictures_maps/windows/map_texts.h"

#include "app/base_directory.h"
#include "app/editions.h"
#include "app/globals.h"
#include "data/people_places.h"
#include "data/taxa.h"
#include "formats/textfile.h"
#include "info_windows/windows/web_browser_form.h"
#include "platform/paths.h"

#include <QFontInfo>
#include <QGuiApplication>
#include <QFileInfo>

namespace {

// The in-line code that switches underlining (a link) on and off.
constexpr QChar kUnderlineCode(13);

QString label(int entry) {
    const QString text = GLB_map_window_text(entry).trimmed();
    return text.isEmpty() ? text : text + u' ';
}

QString regionLine(const Tlocality& l) {
    const QString word = l.region_word();
    const bool foreign = !l.country.isEmpty() && !GLB_edition().region_name.contains(l.country);
    QString line = word;
    if (foreign) line += QStringLiteral(", ") + GLB_map_window_text(4).trimmed();
    line += QStringLiteral(": ") + l.region;
    if (foreign) line += QStringLiteral(", ") + l.country;
    if (!line.isEmpty()) line[0] = line[0].toUpper();
    return line;
}

}  // namespace

QFont GLB_map_text_font() {
    QFont font = QGuiApplication::font();
    font.setPixelSize(QFontInfo(font).pixelSize());
    return font;
}

QString GLB_map_window_text(int entry) {
    return GLB_text(QStringLiteral("BS_MAPWN"), entry + 1);
}

TMapTexts GLB_map_texts(const Tspecies* species, const Tlocality* locality) {
    TMapTexts texts;
    if (species && !species->fourth_text.isEmpty())
        texts.distribution = label(0) + species->fourth_text;
    if (!locality) return texts;
    const Tlocality& l = *locality;
    QString name = label(2) + l.name;
    if (!l.site_description.isEmpty())
        name += QStringLiteral("   (") + GLB_map_window_text(10).trimmed() + u' ' +
                kUnderlineCode + GLB_map_window_text(11).trimmed() +
                kUnderlineCode + u')';
    texts.locality << name;
    if (!l.text.isEmpty()) texts.locality << label(1) + l.text;
    if (!l.prefix.isEmpty()) texts.locality << label(3) + l.prefix;
    if (!l.region.isEmpty()) texts.locality << regionLine(l);
    if (l.has_coordinates()) texts.locality << label(5) + l.coordinates_text();
    return texts;
}

QString GLB_site_description_path(const Tlocality& locality) {
    return GLB().base_directory + QStringLiteral("localities\\") + locality.site_description;
}

bool OpenSiteDescription(const Tlocality& locality) {
    if (locality.site_description.isEmpty()) return false;
    QString path = platform::resolveCaseInsensitive(platform::nativePath(GLB_site_description_path(locality)));
    while (!QFileInfo::exists(path)) {
        if (!GLB_ask_for_base_directory()) return false;
        path = platform::resolveCaseInsensitive(platform::nativePath(GLB_site_description_path(locality)));
    }
    return GLB_open_web_page(path);
}
