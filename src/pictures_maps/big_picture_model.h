#pragma once

// What the big picture window decides without drawing: which pictures a
// taxon has, zoom steps, sizes, the place of its controls and the settings
// it keeps. The window turns events into these calls and paints the result.

#include <QColor>
#include <QHash>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <array>

class Tspecies;
class Tsubspecies;
class Tbig_picture;

// The taxon whose pictures a window shows: a species, or one subspecies of it.
struct TPictureTaxon {
    const Tspecies* species = nullptr;
    const Tsubspecies* subspecies = nullptr;

    bool admits(const Tbig_picture& picture) const;
    // The taxon's first picture; null when it has none.
    const Tbig_picture* first() const;
    // The taxon's picture before or after the given one; null at either end.
    const Tbig_picture* neighbour(const Tbig_picture& from, bool forward) const;
};

// Zoom and scroll of one picture, kept while its window is open.
class TPictureDisplayInfoClass {
  public:
    double factor = -1.0;  // -1: not yet set
    int horizontal = -1;   // -1: not yet set
    int vertical = -1;
    void reset() { *this = TPictureDisplayInfoClass(); }
};

namespace big_picture {

inline constexpr double kShrink = 0.75;
inline constexpr double kEnlarge = 4.0 / 3.0;

// old × step, snapped to exactly 1 or 2 when the step passes either.
double zoom(double oldFactor, double step);

// The picture is small enough to be shown whole: 1.5 times it fits the screen.
bool fits(QSize picture, QSize screen);
// The client size of the window when it is not maximised.
QSize normal_client_size(QSize picture, bool fits, QSize screen);
// The window moved inside the work area (left and top of its frame).
QPoint inside_work_area(QPoint topLeft, QSize window, const QRect& workArea);
// The factor of a newly shown picture in a maximised window: the whole
// picture in view, never enlarged.
double fitting_factor(QSize picture, QSize available);

// Where the picture goes in a client area that is not maximised: filling it
// with the picture's aspect.
QRect fill_rect(QSize client, double aspect);
// Where the picture goes at a factor, centred in the available size.
QRect zoomed_rect(QSize picture, double factor, QSize available);

// "<text>      © <photographer>"; without text only the credit.
QString caption(const QString& text, const QString& photographer);

// The eight controls, in this order.
enum Control { Previous, Next, Shrink, Enlarge, Information, Credit, ColourButton, FactorLabel };
inline constexpr int kControlCount = 8;
inline constexpr int kButtonSide = 20;
// Top-left of each picture button in a client area; previous and next move
// 25 pixels further left when the picture has something to tell.
std::array<QPoint, 6> button_places(QSize client, bool hasInformation);
// Where a window about the picture (its information, its photographer) goes
// when asked for at a point: moved left and up to end at least 5 pixels
// inside the room it may take, never above or left of the client area.
QRect information_place(QPoint at, QSize size, QSize room);

// round(factor × 100) and "%".
QString factor_text(double factor);

// The month after this one (12 is followed by 1).
int next_month(int month);
// The colours warning is due: few colours, and the stored month reached.
bool colours_warning_due(qint64 displayColours, int currentMonth, int storedMonth);

}  // namespace big_picture

// What the user chooses for every big picture window: read at start,
// written at the end.
struct TPictureSettings {
    // Around a picture smaller than its window.
    QColor background = Qt::black;
};
TPictureSettings& GLB_picture_settings();
void GLB_read_picture_settings();
void GLB_write_picture_settings();
