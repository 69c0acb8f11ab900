#pragma once

// The measures and texts of the small information windows, worked out
// without a window so that they can be checked on their own.

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class Tperson;
class TaudioCD;

// How texts are measured and broken in the windows' font.
struct TTextMeasurer {
    // Width of a text with its style codes left out.
    std::function<int(const QString&)> width;
    // Width of a text drawn in bold (the person's name).
    std::function<int(const QString&)> bold_width;
    // Breaks the text to the width with line feeds; returns its line count.
    std::function<int(int availableWidth, QString& text)> wrap;
};

// One labelled text of the person window.
struct TPersonBlock {
    QString label;         // with its trailing blank
    QString text;          // wrapped
    int label_width = 0;
    int first_line = 0;    // 1 is the line below the name
    int line_count = 1;
    bool link = false;     // the web address, drawn underlined
};

struct TPersonLayout {
    int width = 300;
    int height = 0;
    QString name_line;  // with the copyright sign when asked for
    std::vector<TPersonBlock> blocks;
    // Presses at or below this y open the web address; -1 without one.
    int link_top = -1;
    QString link_address;
};

inline constexpr int kInformationTextLeft = 10;
// Width of the person window, and the wider one for long texts.
inline constexpr int kPersonWidth = 300;
inline constexpr int kWidePersonWidth = 400;
inline constexpr int kLongPersonText = 49;
inline constexpr int kThreatenedStatusWidth = 300;
inline constexpr int kAudioCDWidth = 300;
inline constexpr int kAudioCDTextWidth = 280;

// `labels` are the three lines of "PERSONAL".
TPersonLayout GLB_person_layout(const Tperson& person, bool copyrightLine,
                                const QStringList& labels, const TTextMeasurer& measurer,
                                int lineHeight);

struct TTextWindowLayout {
    QString text;  // with line feeds between its lines
    int lines = 1;
    QSize size;
};

// One line per literature entry (already composed by the database).
TTextWindowLayout GLB_literature_layout(const QString& literatureText,
                                        const TTextMeasurer& measurer, int lineHeight);

// The fixed source of the threat categories.
struct TThreatSource {
    QString title;
    QString publisher;
    QString address;
};
const TThreatSource& GLB_threat_source();

// `labels` are the status names the list shows; `section` the lines of
// "THREATENEDBIRDS": three explanations, the words before the source's title
// and the words before its publisher.
QString GLB_threatened_status_text(const QStringList& labels, const QStringList& section);
TTextWindowLayout GLB_threatened_status_layout(const QStringList& labels,
                                               const QStringList& section,
                                               const TTextMeasurer& measurer, int lineHeight);

// `section` holds the three lines of "AUDIO_CD_3".
QString GLB_audio_cd_text(const TaudioCD& cd, const QStringList& section);
TTextWindowLayout GLB_audio_cd_layout(const TaudioCD& cd, const QStringList& section,
                                      const TTextMeasurer& measurer, int lineHeight);

// Where a window of the size goes when asked for at the point: moved left
// or up so that it ends 5 pixels inside the parent; with keepFromLeftTop it
// also keeps 5 pixels from the left and top edges.
QRect GLB_place_information_window(QPoint at, QSize size, QSize parent, bool keepFromLeftTop);
