#pragma once

// What the About and introduction windows tell: the edition, the people whose
// recordings and photographs the edition holds, and the licences of the
// libraries and map data the program is built on.

#include <QString>
#include <QStringList>
#include <vector>

class Tdata;
struct TEdition;
enum class TLanguage;

// Names of the people credited for recordings, sorted, each once.
QStringList GLB_recordist_names(const Tdata& data);
// Names of the people credited for photographs, sorted, each once.
QStringList GLB_photographer_names(const Tdata& data);

struct TLicence {
    QString component;
    QString licence;
    QString address;
};
// In the interface language where the program has the words (English and
// Spanish), else in English.
const std::vector<TLicence>& GLB_licences(TLanguage language);

// The edition's title with its version, as the About window heads it.
QString GLB_edition_heading(const TEdition& edition, const QString& versionWord);

// The words of the About window: texts-file section "ABOUT".
struct TAboutWords {
    QString version;       // "Version"
    QString recordings;    // heading of the recordists
    QString photographs;   // heading of the photographers
    QString libraries;     // heading of the licences
    QString licence;       // "Licence"
};
TAboutWords GLB_about_words();
// The About window's page: heading, the edition's credits, the people of the
// data, the licences. `data` may be missing (no database loaded).
QString GLB_about_html(const TEdition& edition, const Tdata* data, const TAboutWords& words);
