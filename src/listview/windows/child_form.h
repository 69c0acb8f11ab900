#pragma once

#include "listview/fold_snapshot.h"
#include "listview/top_forms.h"
#include "listview/windows/list_window_services.h"

#include <QMainWindow>
#include <QTimer>
#include <functional>
#include <optional>

class QAction;
class QDockWidget;
class QLabel;
class TSonogramPanel;
class TShowForm;
class SHST_TClassShowStringsData;

// A list window: the main window of the program or one of its further list
// windows, with the common menu, the hosted list and the status bar.
class TChildForm : public QMainWindow, public TRegisteredListWindow {
    Q_OBJECT
  public:
    struct TOpenOptions {
        bool restore = false;                      // from "WINDOW n"
        const TChildForm* list_to_copy = nullptr;  // New Window
        const SHST_TClassShowStringsData* settings_to_copy = nullptr;
    };

    // A show window (secondary too) plays a show in a list without menu; the
    // show itself plugs in with the shows. The window keeps a copy of the
    // services and hands them to every window it opens.
    TChildForm(const TListWindowServices& services, bool secondary, QWidget* parent = nullptr,
               bool showWindow = false);
    ~TChildForm() override;

    // Joins the register, then sets the list up as the options say.
    void open_list_window(const TOpenOptions& options);

    bool is_secondary() const { return secondary_; }
    bool is_show_window() const { return show_window_; }
    QAction* menu_action(int menuLine) const;  // by its line in "MENUS", from 1
    TShowForm* list_form() const { return list_form_; }
    // The sonogram strip along the bottom (none without the program's
    // sonograms) and the View menu's switch for it.
    TSonogramPanel* sonogram_panel() const { return sonogram_panel_; }
    QAction* sonogram_action() const { return sonogram_action_; }
    void show_sonogram(bool on);
    QString caption_panel_text() const;
    QString area_panel_text() const;
    int status_panel_count() const;

    const TListWindowServices& services() const { return services_; }
    QString cd_status_text() const;

    // Menu commands.
    TChildForm* new_window();
    void fold_all();
    // Builds the list anew from the settings (after Options): the fold state
    // and the view stay while the systematic order does, else it starts
    // folded at the top; the area panel follows.
    void rebuild_list(const SHST_TClassShowStringsData& settings);
    void update_area_panel();
    void find(bool fromTop);
    void find_command();
    void find_again();
    // "My list..." on the selected species (a beep without one).
    void edit_my_list();
    // The search-as-you-type box over the list, opened with what was typed.
    void open_search_box(const QString& typed);

    QString find_text;
    bool search_from_top = true;

    // TRegisteredListWindow
    void set_window_caption(const QString& caption) override;
    void refresh_list() override;
    void focus_list() override;
    void write_window_state(int n) const override;
    void set_soundbar_dragging_enabled(bool enabled) override;

    // Set while "close all" shuts every window.
    static bool closing_all();

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    void create_menus();
    void create_shortcuts();
    void layout_status_panels();
    void remember_normal_rect();
    void open_further_windows();
    void open_owned_windows();
    void restore_geometry(int n);
    // Sets the client rectangle, fitted with the frame into the screen's
    // work area; the frame is this window's or, before it has one, the
    // reference window's.
    void place_fitted(const QRect& client, const QWidget* reference);
    void refit_with_frame();
    void check_cd_rom();

    const TListWindowServices services_;
    bool secondary_;
    bool show_window_;
    bool further_windows_opened_ = false;
    QList<QAction*> actions_;  // index = line of "MENUS" - 1
    TShowForm* list_form_ = nullptr;
    QLabel* caption_panel_ = nullptr;
    QLabel* area_panel_ = nullptr;
    QLabel* cd_status_panel_ = nullptr;
    // The panels' whole texts; a panel too narrow for its text shows it
    // cut with "…" and the whole text as its tooltip.
    QString caption_text_;
    QString area_text_;
    TSonogramPanel* sonogram_panel_ = nullptr;
    QDockWidget* sonogram_dock_ = nullptr;
    QAction* sonogram_action_ = nullptr;
    QAction* not_on_my_list_action_ = nullptr;
    QRect normal_rect_;
    // A restored "Coord" that had to be fitted to the screen, and where it
    // was fitted to: while the window stays there the stored text is kept.
    QString stored_coord_;
    QRect fitted_rect_;
    bool refit_when_framed_ = false;
    bool restored_maximized_ = false;
    QTimer Timer_check_CD_ROM;
    QTimer Timer_intro_form;
};

// Opens the program's main list window, restored from the settings, with
// the services every list window of the program uses.
TChildForm* GLB_open_main_list_window(const TListWindowServices& services);
