#pragma once

#include "listview/show_strings_data.h"
#include "utilities/options_settings.h"

#include <QFrame>
#include <QStringList>
#include <functional>

// What the options dialog edits: a working copy of one list's display
// settings, and what OK found changed. Program-wide settings are stored by
// their frames directly.
struct TOptionsContext {
    explicit TOptionsContext(const SHST_TClassShowStringsData& listSettings)
        : settings(listSettings) {}

    SHST_TClassShowStringsData settings;
    TOptionsFlags flags;
    // The text size changed: every list window is laid out anew.
    bool text_size_changed = false;
};

// One group of settings in the options dialog. It keeps the value it was
// filled with, so that storing can tell whether the user changed it.
class TOptionsFrame : public QFrame {
    Q_OBJECT
  public:
    using QFrame::QFrame;

    virtual void fill(const TOptionsContext& context) = 0;
    virtual void store(TOptionsContext& context) = 0;
    // Only frames that apply their choice at once have something to undo.
    virtual void restore() {}

    // Up to nine lines of a texts-file section, missing ones empty.
    static QStringList section_texts(const QString& section);
};
