#include "info_windows/about_texts.h"

#include "app/editions.h"
#include "data/media_records.h"
#include "data/people_places.h"
#include "data/species_database.h"
#include "formats/textfile.h"

#include <QCollator>
#include <set>

namespace {

QStringList sortedNames(const std::set<QString>& names) {
    QStringList list(names.begin(), names.end());
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(list.begin(), list.end(), collator);
    return list;
}

}  // namespace

QStringList GLB_recordist_names(const Tdata& data) {
    std::set<QString> names;
    for (const Tcutpart* part : data.cut_parts())
        if (part->recordist && !part->recordist->name.trimmed().isEmpty())
            names.insert(part->recordist->name.trimmed());
    return sortedNames(names);
}

QStringList GLB_photographer_names(const Tdata& data) {
    std::set<QString> names;
    for (const Tspecies* species : data.species_by_id_text())
        for (const Tbig_picture* p = species->first_picture; p; p = p->next)
            if (p->photographer && !p->photographer->name.trimmed().isEmpty())
                names.insert(p->photographer->name.trimmed());
    return sortedNames(names);
}

const std::vector<TLicence>& GLB_licences(TLanguage language) {
    static const std::vector<TLicence> english{
        {QStringLiteral("Qt 6"), QStringLiteral("GNU LGPL version 3"),
         QStringLiteral("https://www.qt.io/licensing/open-source-lgpl-obligations")},
        {QStringLiteral("FFmpeg (libavformat, libavcodec, libswresample)"),
         QStringLiteral("GNU LGPL version 2.1 or later; the Debian build also uses GPL parts "
                        "(GNU GPL version 2 or later)"),
         QStringLiteral("https://ffmpeg.org/legal.html")},
        {QStringLiteral("SDL 2"), QStringLiteral("zlib licence"),
         QStringLiteral("https://www.libsdl.org/license.php")},
        {QStringLiteral("libcdio and libcdio-paranoia"),
         QStringLiteral("GNU GPL version 3 or later"),
         QStringLiteral("https://www.gnu.org/software/libcdio/")},
        {QStringLiteral("libjpeg-turbo"),
         QStringLiteral("IJG licence, modified (3-clause) BSD licence and zlib licence; this "
                        "software is based in part on the work of the Independent JPEG Group"),
         QStringLiteral("https://libjpeg-turbo.org/About/License")},
        {QStringLiteral("Map data: DCW (Digital Chart of the World) as prepared for GMT"),
         QStringLiteral("public domain source data; the GMT Team's edition under the GNU LGPL "
                        "version 3 or later"),
         QStringLiteral("https://www.soest.hawaii.edu/pwessel/dcw/")},
        {QStringLiteral("Map data: GSHHG shorelines, borders and rivers"),
         QStringLiteral("GNU LGPL version 3 or later (\u00A9 the GMT Team)"),
         QStringLiteral("https://www.soest.hawaii.edu/pwessel/gshhg/")},
    };
    static const std::vector<TLicence> spanish{
        {QStringLiteral("Qt 6"), QStringLiteral("GNU LGPL versi\u00F3n 3"),
         QStringLiteral("https://www.qt.io/licensing/open-source-lgpl-obligations")},
        {QStringLiteral("FFmpeg (libavformat, libavcodec, libswresample)"),
         QStringLiteral("GNU LGPL versi\u00F3n 2.1 o posterior; la compilaci\u00F3n de Debian "
                        "usa tambi\u00E9n partes GPL (GNU GPL versi\u00F3n 2 o posterior)"),
         QStringLiteral("https://ffmpeg.org/legal.html")},
        {QStringLiteral("SDL 2"), QStringLiteral("licencia zlib"),
         QStringLiteral("https://www.libsdl.org/license.php")},
        {QStringLiteral("libcdio y libcdio-paranoia"),
         QStringLiteral("GNU GPL versi\u00F3n 3 o posterior"),
         QStringLiteral("https://www.gnu.org/software/libcdio/")},
        {QStringLiteral("libjpeg-turbo"),
         QStringLiteral("licencia IJG, licencia BSD modificada (de 3 cl\u00E1usulas) y licencia "
                        "zlib; este software se basa en parte en el trabajo del Independent "
                        "JPEG Group"),
         QStringLiteral("https://libjpeg-turbo.org/About/License")},
        {QStringLiteral("Datos de mapas: DCW (Digital Chart of the World) preparados para GMT"),
         QStringLiteral("datos de origen de dominio p\u00FAblico; la edici\u00F3n del GMT Team "
                        "bajo la GNU LGPL versi\u00F3n 3 o posterior"),
         QStringLiteral("https://www.soest.hawaii.edu/pwessel/dcw/")},
        {QStringLiteral("Datos de mapas: costas, fronteras y r\u00EDos de GSHHG"),
         QStringLiteral("GNU LGPL versi\u00F3n 3 o posterior (\u00A9 el GMT Team)"),
         QStringLiteral("https://www.soest.hawaii.edu/pwessel/gshhg/")},
    };
    // The licences' names are their own; what is said around them follows
    // the interface where the program has the words.
    return language == TLanguage::Spanish ? spanish : english;
}

QString GLB_edition_heading(const TEdition& edition, const QString& versionWord) {
    return edition.title + u' ' + versionWord + u' ' + edition.version;
}

TAboutWords GLB_about_words() {
    QStringList lines;
    GLB_texts().lines(QStringLiteral("ABOUT"), lines, 5);
    return {lines.value(1), lines.value(2), lines.value(3), lines.value(4), lines.value(5)};
}

namespace {

// Names and titles may carry the data's style codes; the page shows the
// words alone.
QString escaped(const QString& text) {
    QString plain;
    for (QChar c : text)
        if (c.unicode() >= 32) plain.append(c);
    return plain.toHtmlEscaped();
}

QString nameList(const QStringList& names) {
    QStringList items;
    for (const QString& name : names) items << escaped(name);
    return items.join(QStringLiteral(", "));
}

}  // namespace

QString GLB_about_html(const TEdition& edition, const Tdata* data, const TAboutWords& words) {
    QString html = QStringLiteral("<h2>") + escaped(edition.title) + QStringLiteral("</h2>");
    html += QStringLiteral("<p>") + escaped(words.version) + u' ' + escaped(edition.version) +
            QStringLiteral("</p>");
    if (!edition.credits.isEmpty())
        html += QStringLiteral("<p>") + escaped(edition.credits) + QStringLiteral("</p>");
    if (data) {
        const QStringList recordists = GLB_recordist_names(*data);
        const QStringList photographers = GLB_photographer_names(*data);
        if (!recordists.isEmpty())
            html += QStringLiteral("<p><b>") + escaped(words.recordings) +
                    QStringLiteral("</b><br>") + nameList(recordists) + QStringLiteral("</p>");
        if (!photographers.isEmpty())
            html += QStringLiteral("<p><b>") + escaped(words.photographs) +
                    QStringLiteral("</b><br>") + nameList(photographers) + QStringLiteral("</p>");
    }
    html += QStringLiteral("<p><b>") + escaped(words.libraries) + QStringLiteral("</b></p><ul>");
    for (const TLicence& l : GLB_licences(edition.language)) {
        html += QStringLiteral("<li>") + escaped(l.component) + QStringLiteral(": ") +
                escaped(l.licence) + QStringLiteral(" (") + escaped(l.address) +
                QStringLiteral(")</li>");
    }
    html += QStringLiteral("</ul>");
    return html;
}
