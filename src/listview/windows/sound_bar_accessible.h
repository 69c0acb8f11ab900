#pragma once

// What screen readers are told about a recording button: a button named
// for the recording ("Recording 2, <what the row says>, <place>, 68
// seconds") whose value is the position ("12 of 68 seconds"), pressed while
// it plays, with the actions play, pause and seek forward and back.

#include <QString>

class QAccessibleInterface;
class QObject;
class Tsound_bar;

namespace sound_bar_accessibility {

// The interface for a recording button's widgets; none for other classes.
QAccessibleInterface* make_interface(const QString& className, QObject* object);

// The button started or stopped playing.
void playing_changed(Tsound_bar& bar);

// The names of the button's own actions besides Qt's press.
QString play_action();
QString pause_action();
QString seek_forward_action();
QString seek_back_action();

}  // namespace sound_bar_accessibility
