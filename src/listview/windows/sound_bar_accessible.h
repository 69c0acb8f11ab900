#pragma once

// What screen readers are told about a recording button: a button named
// for the recording ("Recording 2, <what the row says>, <place>, 68
// seconds") whose value is the position ("12 of 68 seconds"), pressed while
// it plays, with the actions play, pause and seek forward and back.

#include <QString>

class QAccessibleInterface;
class QObject;
class QWidget;
class Tsound_bar;
namespace sonogram {
class Sonogram;
}

namespace sound_bar_accessibility {

// The interface for a recording button's widgets; none for other classes.
QAccessibleInterface* make_interface(const QString& className, QObject* object);

// The button started or stopped playing.
void playing_changed(Tsound_bar& bar);

// Gives a sonogram view its text alternative: the recording's label, its
// duration and the band of its strongest marks once they are computed
// ("Sonogram of Song at dusk. Cusco, Peru, 68 seconds, strongest marks
// between 2.1 and 3.4 kHz"). Cheap to call often: it works only when the
// recording or the sonogram's state changed.
void describe_sonogram(QWidget& view, Tsound_bar* bar, const sonogram::Sonogram* shown);

// The names of the button's own actions besides Qt's press.
QString play_action();
QString pause_action();
QString seek_forward_action();
QString seek_back_action();

}  // namespace sound_bar_accessibility
