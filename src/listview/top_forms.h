#pragma once

#include <QList>
#include <QString>

struct TEdition;

// What the register needs of a list window.
class TRegisteredListWindow {
  public:
    virtual ~TRegisteredListWindow() = default;
    virtual void set_window_caption(const QString& caption) = 0;
    virtual void refresh_list() = 0;
    virtual void focus_list() = 0;
    // Writes the window's state into the settings section "WINDOW " + n.
    virtual void write_window_state(int n) const = 0;
    // Lets the list's recording buttons be dragged (the playlist window shows).
    virtual void set_soundbar_dragging_enabled(bool enabled) { (void)enabled; }
};

// The caption of window k (0-based) of the register.
QString GLB_list_window_caption(const TEdition& edition, int k);

// The register of open list windows (show windows are not in it); the first
// entry is the main window.
class Ttop_forms {
  public:
    static Ttop_forms& instance();

    void add_form(TRegisteredListWindow* form);
    void delete_form(TRegisteredListWindow* form);
    TRegisteredListWindow* main_child_form() const;
    // The window after / before the given one, cyclic.
    TRegisteredListWindow* next(const TRegisteredListWindow* form) const;
    TRegisteredListWindow* previous(const TRegisteredListWindow* form) const;
    void rewrite_captions() const;
    void refresh_all_forms() const;
    // Lets the recording buttons of every list be dragged onto the playlist
    // window, or not.
    void set_soundbar_dragging_enabled(bool enabled);
    // What buttons made from now on start with.
    bool soundbar_dragging_enabled() const { return soundbar_dragging_enabled_; }
    // "Windows" = the number open, then each window's own section.
    void write_data_to_ini_file() const;

    int count() const { return static_cast<int>(forms_.size()); }
    int index_of(const TRegisteredListWindow* form) const;
    TRegisteredListWindow* at(int index) const { return forms_.value(index); }

  private:
    QList<TRegisteredListWindow*> forms_;
    bool soundbar_dragging_enabled_ = false;
};
