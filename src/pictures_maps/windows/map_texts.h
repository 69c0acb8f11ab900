#pragma once

// The texts below a distribution map: the taxon's distribution and the
// description of a place, as marked-up paragraphs.

#include <QString>
#include <QStringList>

class Tspecies;
class Tlocality;

struct TMapTexts {
    QString distribution;    // empty when the taxon has no distribution text
    QStringList locality;    // one paragraph per line of the description
    bool has_any() const { return !distribution.isEmpty() || !locality.isEmpty(); }
};

// The dialog font with a pixel size, so that the writer's size steps work.
class QFont;
QFont GLB_map_text_font();

// Entry n of the window's texts ("BS_MAPWN").
QString GLB_map_window_text(int entry);

TMapTexts GLB_map_texts(const Tspecies* species, const Tlocality* locality);

// The site-description page of a locality under the base directory.
QString GLB_site_description_path(const Tlocality& locality);

// A site-description page opens by the program's page rule: in the
// program's own browser window, or the system's browser when the settings
// say so; a page that cannot be shown says so in a box. Asks for the base
// directory while the page is missing (cancelling ends the attempt); true
// when the page was opened.
bool OpenSiteDescription(const Tlocality& locality);
