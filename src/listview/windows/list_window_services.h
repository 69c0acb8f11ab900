#pragma once

// What a list window uses that lives in a later library or is shared by
// every list: the program makes one set at start and hands it to the main
// list window, which hands it on to every window it opens (new list
// windows, show windows) and to its list. A member left empty keeps its
// command switched off or does nothing, so a test makes only what it checks.

#include "listview/show_commands.h"

#include <QString>

#include <functional>
#include <optional>

class QWidget;
class TChildForm;
class Tcupaitem;
class TFindInShowStringsDialog;
class TListActions;
class TNameSearchIndex;
class TRecordingButtonFactory;
class TSmallPictureSource;
class TSpeciesMarks;
class Tspecies;
namespace sonogram {
class Cache;
}

// Menu commands whose windows live above the list. A command left empty
// stays off.
struct TListWindowCommands {
    std::function<void(int helpContext)> help;
    std::function<void()> readme;
    std::function<void()> recent_info;
    std::function<void(QWidget* window)> about;
    std::function<void(QWidget* window)> introduction;
};

struct TListWindowServices {
    // The windows a click in the list opens (pictures, maps, small windows).
    TListActions* list_actions = nullptr;
    // The recording buttons the list places on its recording lines.
    TRecordingButtonFactory* recording_buttons = nullptr;
    // The sonograms of the recordings, for every window's sonogram panel.
    sonogram::Cache* sonograms = nullptr;
    // The species' small pictures shown in the lists.
    TSmallPictureSource* small_pictures = nullptr;
    // The find dialog shared by every list window.
    TFindInShowStringsDialog* find_dialog = nullptr;
    // Help, readme, about and the introduction.
    TListWindowCommands commands;
    // The playlist window and the shows.
    TListWindowShowCommands show_commands;
    // "Copy to HD"; true when a copy was made.
    std::function<bool()> copy_to_hard_disk;
    // "Options"; true when the dialog ended with OK.
    std::function<bool(TChildForm&)> options;
    // "Make mp3s" of the window's list.
    std::function<void(TChildForm&)> make_mp3s;
    // "Quiz...": the listening quiz over the window's species.
    std::function<void(TChildForm&)> quiz;
    // The text of the CD-status panel, asked every 2 s; none leaves it.
    std::function<std::optional<QString>()> cd_status_report;
    // Volume steps from the list's keys (louder when positive).
    std::function<void(int steps)> volume_keys;
    // The user's own list: its marks in the lists, "My list..." on a
    // species and "Export my list...".
    const TSpeciesMarks* my_list_marks = nullptr;
    std::function<void(TChildForm&, const Tspecies&)> edit_my_list;
    std::function<void()> export_my_list;
    // The edition's names for search as you type, made on first use; none
    // keeps typing in the list from opening the search box.
    std::function<const TNameSearchIndex*()> name_index;
    // "Add to comparison" of a recording, from the list window `source`.
    std::function<void(QWidget* source, const Tcupaitem& recording)> add_to_comparison;
};
