#pragma once

// What screen readers are told about a list window's lines. The list paints
// its lines itself, so without this it is one blank surface to them: here
// it becomes a tree whose items are the rows the window shows (class,
// family, species, notes, subspecies headings, recordings and their
// details), each named by its text as shown, with its level and whether it
// is folded, the selected row being the focused item.

#include <QString>

class QAccessibleInterface;
class QWidget;
class TShowForm;
class TRecordShowStringData;
class TShowStrings;

namespace list_accessibility {

// Makes Qt ask this layer for the list's and the recording buttons'
// interfaces; once is enough, later calls do nothing.
void install();

// The selection moved (a key, a click, the list got the keyboard): the
// selected row is announced as focused when the list has the keyboard.
void selection_moved(TShowForm& form);
// Rows came or went (a fold, a find, a rebuild): the readers hear which,
// and the folded or unfolded row's new state.
void lines_changed(TShowForm& form);

// The row item holding the recording button `button` (a child widget of
// the list); none when the button is not on a row of a list.
QAccessibleInterface* row_of_button(QWidget* button);
// What the row of a recording button says of the recording (its
// description and CD), without its number and letter.
QString recording_description(QWidget* button);

// The text a row shows, as a reader gets it: the texts of its lines in
// order with their style codes left out and the breaks made for the width
// undone.
QString row_text(const TShowStrings& list, const TRecordShowStringData& rowStart);

}  // namespace list_accessibility
