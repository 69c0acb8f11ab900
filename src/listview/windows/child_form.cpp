#include "listview/windows/child_form.h"

#include "app/editions.h"
#include "app/globals.h"
#include "app/settings.h"
#include "app/settings_general.h"
#include "app/settings_window.h"
#include "data/media_records.h"
#include "data/species_database.h"
#include "data/taxa.h"
#include "formats/textfile.h"
#include "listview/windows/find_dialog.h"
#include "listview/windows/incremental_search.h"
#include "listview/list_actions.h"
#include "listview/windows/list_find.h"
#include "listview/show_commands.h"
#include "listview/windows/show_form.h"
#include "listview/windows/show_strings.h"
#include "listview/windows/sonogram_panel.h"
#include "listview/windows/sound_bar.h"
#include "listview/windows/window_placement.h"
#include "listview/window_state.h"
#include "data/areas.h"
#include "platform/dialog_service.h"

#include <QAction>
#include <QMenu>
#include <QContextMenuEvent>
#include <QCloseEvent>
#include <QDockWidget>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QStatusBar>
#include <QWindow>

namespace {

// Lines of the texts-file section "MENUS", in menu order.
enum MenuLine {
    kFile = 1,
    kNewWindow,
    kFoldAll,
    kShow,
    kWhatWasThat,
    kPlayLists,
    kMakeMp3s,
    kExit,
    kCloseWord,
    kSearch,
    kFind,
    kFindAgain,
    kView,
    kSiteDescriptions,
    kOptionsMenu,
    kOptions,
    kCopyToHd,
    kHelpMenu,
    kHelp,
    kReadme,
    kRecentInfoOnTheWeb,
    kAbout,
    kMenuLineCount = kAbout
};

QString menuText(int line) {
    return GLB_text(QStringLiteral("MENUS"), line);
}
QString windowSection(int n) {
    return settings::window::section(n);
}

// The page of the user's guide about the species list.
constexpr int kListHelpContext = 1;

bool& closeAll() {
    static bool flag = false;
    return flag;
}

bool hasClassRows() {
    return GLB_edition().has_class_rows;
}

}  // namespace

bool TChildForm::closing_all() {
    return closeAll();
}

TChildForm::TChildForm(const TListWindowServices& services, bool secondary, QWidget* parent,
                       bool showWindow)
    // Further list windows and show windows are tool windows of their
    // parent: the window manager keeps an owned window above its owner (a
    // plain window with a parent is not owned on X11), and dialogs come
    // above them, which a stay-on-top window would hide.
    : QMainWindow(parent, secondary || showWindow ? Qt::Tool : Qt::WindowFlags()),
      services_(services),
      secondary_(secondary || showWindow),
      show_window_(showWindow) {
    setAttribute(Qt::WA_DeleteOnClose, secondary);
    resize(684, 512);
    create_menus();
    create_shortcuts();

    list_form_ = new TShowForm(services_, this);
    setCentralWidget(list_form_);
    connect(list_form_, &TShowForm::caption_changed, this,
            [this](const QString& text) {
                caption_text_ = ' ' + text;
                layout_status_panels();
            });

    caption_panel_ = new QLabel(this);
    area_panel_ = new QLabel(this);
    area_panel_->setAlignment(Qt::AlignCenter);
    cd_status_panel_ = new QLabel(this);
    statusBar()->addWidget(caption_panel_);
    statusBar()->addWidget(area_panel_);
    statusBar()->addWidget(cd_status_panel_, 1);
    area_panel_->hide();

    if (sonogram_action_) {
        sonogram_panel_ = new TSonogramPanel(*services_.sonograms, this);
        sonogram_dock_ = new QDockWidget(this);
        sonogram_dock_->setObjectName(QStringLiteral("sonogram"));
        sonogram_dock_->setFeatures(QDockWidget::NoDockWidgetFeatures);
        sonogram_dock_->setTitleBarWidget(new QWidget(sonogram_dock_));
        sonogram_dock_->setWidget(sonogram_panel_);
        addDockWidget(Qt::BottomDockWidgetArea, sonogram_dock_);
        resizeDocks({sonogram_dock_}, {200}, Qt::Vertical);
        sonogram_dock_->hide();
    }

    Timer_check_CD_ROM.setInterval(2000);
    connect(&Timer_check_CD_ROM, &QTimer::timeout, this, &TChildForm::check_cd_rom);
    Timer_check_CD_ROM.start();

    Timer_intro_form.setInterval(100);
    Timer_intro_form.setSingleShot(true);
    connect(&Timer_intro_form, &QTimer::timeout, this, [this] {
        if (services_.commands.introduction) services_.commands.introduction(this);
    });
}

TChildForm::~TChildForm() {
    Ttop_forms::instance().delete_form(this);
}

void TChildForm::create_menus() {
    actions_.resize(kMenuLineCount);
    auto addAction = [this](QMenu* menu, int line, const QString& suffix = {}) {
        QAction* action = menu->addAction(menuText(line) + suffix);
        // Commands whose windows are not part of this program yet stay off.
        action->setEnabled(false);
        actions_[line - 1] = action;
        return action;
    };
    auto enable = [](QAction* action, auto slot) {
        action->setEnabled(true);
        QObject::connect(action, &QAction::triggered, slot);
    };
    const QString dialogDots = QStringLiteral("...");

    QMenu* file = menuBar()->addMenu(menuText(kFile));
    enable(addAction(file, kNewWindow), [this] { new_window(); });
    enable(addAction(file, kFoldAll), [this] { fold_all(); });
    // The shows and the playlist window come with their own library.
    const TListWindowShowCommands& shows = services_.show_commands;
    QAction* show = addAction(file, kShow, dialogDots);
    if (shows.show) enable(show, [this] { services_.show_commands.show(*this); });
    QAction* whatWasThat = addAction(file, kWhatWasThat, dialogDots);
    if (shows.what_was_that)
        enable(whatWasThat, [this] { services_.show_commands.what_was_that(*this); });
    QAction* playLists = addAction(file, kPlayLists);
    if (shows.play_lists)
        enable(playLists, [this] { services_.show_commands.play_lists(*this); });
    QAction* makeMp3s = addAction(file, kMakeMp3s, dialogDots);
    if (services_.make_mp3s) enable(makeMp3s, [this] { services_.make_mp3s(*this); });
    if (services_.edit_my_list && !show_window_) {
        file->addSeparator();
        QAction* myList = file->addAction(QStringLiteral("My list..."));
        myList->setObjectName(QStringLiteral("my_list_action"));
        myList->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
        myList->setShortcutContext(Qt::WindowShortcut);
        connect(myList, &QAction::triggered, this, [this] { edit_my_list(); });
        QAction* exportList = file->addAction(QStringLiteral("Export my list..."));
        exportList->setObjectName(QStringLiteral("export_my_list_action"));
        if (services_.export_my_list) connect(exportList, &QAction::triggered, this, services_.export_my_list);
        else exportList->setEnabled(false);
    }
    if (services_.quiz && !show_window_) {
        QAction* quiz = file->addAction(QStringLiteral("Quiz..."));
        quiz->setObjectName(QStringLiteral("quiz"));
        connect(quiz, &QAction::triggered, this, [this] { services_.quiz(*this); });
    }
    file->addSeparator();
    enable(addAction(file, secondary_ ? kCloseWord : kExit), [this] { close(); });
    if (secondary_) actions_[kPlayLists - 1]->setVisible(false);

    QMenu* search = menuBar()->addMenu(menuText(kSearch));
    enable(addAction(search, kFind, dialogDots + '\t' + QStringLiteral("Ctrl+F")),
           [this] { find_command(); });
    enable(addAction(search, kFindAgain, '\t' + QStringLiteral("F3")), [this] { find_again(); });

    QMenu* view = menuBar()->addMenu(menuText(kView));
    enable(addAction(view, kSiteDescriptions, dialogDots),
           [this] {
               if (services_.list_actions) services_.list_actions->open_localities_map(
                   list_form_->strings().model().settings().visible_set);
           });
    const Tdata* data = GLB_data_or_null();
    if (!data || data->described_sites().empty()) actions_[kSiteDescriptions - 1]->setVisible(false);
    if (services_.sonograms && !show_window_) {
        sonogram_action_ = view->addAction(QStringLiteral("Sonogram"));
        sonogram_action_->setCheckable(true);
        connect(sonogram_action_, &QAction::toggled, this, [this](bool on) { show_sonogram(on); });
    } else if (!actions_[kSiteDescriptions - 1]->isVisible()) {
        view->menuAction()->setVisible(false);
    }
    if (services_.my_list_marks && !show_window_) {
        view->menuAction()->setVisible(true);
        not_on_my_list_action_ = view->addAction(QStringLiteral("Not yet on my list"));
        not_on_my_list_action_->setObjectName(QStringLiteral("not_on_my_list_action"));
        not_on_my_list_action_->setCheckable(true);
        connect(not_on_my_list_action_, &QAction::toggled, this, [this](bool on) {
            if (!list_form_->has_strings()) return;
            SHST_TClassShowStringsData settings = list_form_->strings().model().settings();
            if (settings.visible_set.only_not_marked == on) return;
            settings.visible_set.only_not_marked = on;
            rebuild_list(settings);
        });
    }

    QMenu* options = menuBar()->addMenu(menuText(kOptionsMenu));
    QAction* optionsAction = addAction(options, kOptions, dialogDots);
    if (services_.options) enable(optionsAction, [this] {
            if (services_.options(*this)) update_area_panel();
        });
    QAction* copyToHd = addAction(options, kCopyToHd, dialogDots);
    if (services_.copy_to_hard_disk) enable(copyToHd, [this] {
            if (services_.copy_to_hard_disk()) fold_all();
        });
    if (secondary_ || !GLB().modern_platform_family ||
        !GLB_edition().rules.offers_copy_to_hard_disk)
        actions_[kCopyToHd - 1]->setVisible(false);

    QMenu* help = menuBar()->addMenu(menuText(kHelpMenu));
    const TListWindowCommands& installed = services_.commands;
    QAction* helpAction = addAction(help, kHelp);
    if (installed.help) enable(helpAction, [this] { services_.commands.help(0); });
    QAction* readme = addAction(help, kReadme);
    if (installed.readme) enable(readme, [this] { services_.commands.readme(); });
    QAction* recentInfo = addAction(help, kRecentInfoOnTheWeb);
    if (installed.recent_info && !GLB_edition().update_page().isEmpty())
        enable(recentInfo, [this] { services_.commands.recent_info(); });
    help->addSeparator();
    QAction* about = addAction(help, kAbout, dialogDots);
    if (installed.about) {
        enable(about, [this] { services_.commands.about(this); });
    } else {
        enable(about, [] {
            const TEdition& e = GLB_edition();
            platform::DialogService::message(
                e.title + '\n' + QStringLiteral("Version ") + e.version + "\n\n" + e.credits,
                e.title, platform::box::IconInformation);
        });
    }
}

void TChildForm::create_shortcuts() {
    auto shortcut = [this](const QKeySequence& keys, auto slot) {
        auto* s = new QShortcut(keys, this);
        s->setContext(Qt::WindowShortcut);
        connect(s, &QShortcut::activated, this, slot);
    };
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_F), [this] { find_command(); });
    shortcut(QKeySequence(Qt::Key_F3), [this] { find_again(); });
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_K), [this] { open_search_box({}); });
    shortcut(QKeySequence(Qt::Key_F1), [this] {
        if (services_.commands.help) services_.commands.help(kListHelpContext);
    });
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_Tab), [this] {
        if (auto* next = Ttop_forms::instance().next(this)) next->focus_list();
    });
    shortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), [this] {
        if (auto* previous = Ttop_forms::instance().previous(this)) previous->focus_list();
    });
    shortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), [this] {
        if (auto* previous = Ttop_forms::instance().previous(this)) previous->focus_list();
    });
}

QAction* TChildForm::menu_action(int menuLine) const {
    if (menuLine < 1 || menuLine > actions_.size()) return nullptr;
    return actions_[menuLine - 1];
}

void TChildForm::open_list_window(const TOpenOptions& options) {
    Ttop_forms& register_ = Ttop_forms::instance();
    if (show_window_) {
        menuBar()->hide();
        list_form_->setEnabled(false);
    } else {
        register_.add_form(this);
        register_.rewrite_captions();
    }
    const int n = register_.count();
    const Tdata& data = GLB_data();

    if (options.list_to_copy && options.list_to_copy->list_form_->has_strings()) {
        list_form_->set_up_as_copy(options.list_to_copy->list_form_->strings());
    } else if (options.restore) {
        restore_geometry(n);
        SHST_TClassShowStringsData settings(data, windowSection(n));
        // A window that never stored its carriers starts with the audio CDs
        // the disc carries or the hard disk holds, rather than with none.
        if (GLB_read_string(windowSection(n), settings::window::kVisibleAudioCds,
                            QStringLiteral("\x01absent")) == QStringLiteral("\x01absent"))
            settings.visible_set.reset_carriers();
        settings.visible_set.marks = services_.my_list_marks;
        const TFoldSnapshot snapshot = TFoldSnapshot::from_text(
            GLB_read_string(windowSection(n), settings::window::kVisible, QString()),
            hasClassRows());
        list_form_->set_up(settings, snapshot);
        if (sonogram_action_)
            sonogram_action_->setChecked(GLB_read_flag(windowSection(n), settings::window::kSonogram,
                                                       settings::window::kSonogramDefault));
        if (sonogram_panel_)
            sonogram_panel_->set_listening(TListeningChoice::from_setting(
                GLB_read_string(windowSection(n), settings::window::kListening, QString())));
    } else {
        SHST_TClassShowStringsData settings =
            options.settings_to_copy ? *options.settings_to_copy : SHST_TClassShowStringsData(data);
        if (!options.settings_to_copy) settings.visible_set.reset_carriers();
        settings.visible_set.marks = services_.my_list_marks;
        TFoldSnapshot snapshot = TFoldSnapshot::initial();
        list_form_->set_up(settings, snapshot);
    }
    data.warn_if_order_incomplete(list_form_->strings().model().settings().systematic_order);
    update_area_panel();
    remember_normal_rect();
    if (not_on_my_list_action_) {
        const QSignalBlocker quiet(not_on_my_list_action_);
        not_on_my_list_action_->setChecked(
            list_form_->strings().model().settings().visible_set.only_not_marked);
    }
}

void TChildForm::restore_geometry(int n) {
    const QString section = windowSection(n);
    const QRect screen = QGuiApplication::primaryScreen()
                             ? QGuiApplication::primaryScreen()->availableGeometry()
                             : QRect(0, 0, 1280, 1024);
    const QString stored = GLB_read_string(section, settings::window::kCoord, QString());
    const auto coord = GLB_parse_coord(stored);
    if (coord) {
        place_fitted(*coord, dynamic_cast<const QWidget*>(Ttop_forms::instance().main_child_form()));
        // A place off today's screens (another monitor, another resolution)
        // stays the user's: written back as it was unless the window moves.
        if (geometry() != *coord) {
            stored_coord_ = stored;
            fitted_rect_ = geometry();
        }
        restored_maximized_ = GLB_read_flag(section, settings::window::kMaximized, settings::window::kMaximizedDefault);
    } else {
        setGeometry(GLB_default_window_rect(screen));
        restored_maximized_ = true;
    }
}

void TChildForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    refit_with_frame();
    // The window manager frames the window a moment after it shows.
    if (refit_when_framed_) QTimer::singleShot(250, this, &TChildForm::refit_with_frame);
    if (restored_maximized_) {
        restored_maximized_ = false;
        setWindowState(windowState() | Qt::WindowMaximized);
    }
    if (!show_window_) list_form_->setFocus();
    // The windows the main window owns open once it is on the screen: a
    // window manager that has not taken the owner on yet stacks an owned
    // window as a window of its own, below the owner.
    if (!secondary_ && !further_windows_opened_ && windowHandle()) {
        if (windowHandle()->isExposed())
            open_owned_windows();
        else
            windowHandle()->installEventFilter(this);
    }
}

bool TChildForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == windowHandle() && event->type() == QEvent::Expose && windowHandle()->isExposed()) {
        windowHandle()->removeEventFilter(this);
        open_owned_windows();
    }
    return QMainWindow::eventFilter(watched, event);
}

void TChildForm::open_owned_windows() {
    if (further_windows_opened_) return;
    further_windows_opened_ = true;
    open_further_windows();
    if (const auto& shown = services_.show_commands.main_window_shown) shown();
    if (GLB_edition().rules.shows_introduction) Timer_intro_form.start();
}

void TChildForm::open_further_windows() {
    const int count =
        std::max(1, GLB_read_int(GLB().default_section, settings::general::kWindows, settings::general::kWindowsDefault));
    for (int n = 2; n <= count; ++n) {
        auto* window = new TChildForm(services_, true, this);
        window->open_list_window({.restore = true});
        window->show();
    }
    activateWindow();
    list_form_->setFocus();
}

TChildForm* TChildForm::new_window() {
    // Further windows stay above the main window and close with it.
    auto* main = dynamic_cast<QWidget*>(Ttop_forms::instance().main_child_form());
    auto* window = new TChildForm(services_, true, main ? main : this);
    window->open_list_window({.list_to_copy = this});
    // Offset from this window, but on the screen even when this one fills
    // it (maximised).
    window->place_fitted(geometry().translated(30, 30), this);
    window->show();
    return window;
}

void TChildForm::fold_all() {
    list_form_->fold_all();
}

void TChildForm::rebuild_list(const SHST_TClassShowStringsData& settings) {
    if (!list_form_->has_strings()) return;
    // The new settings may be the old list's own: keep a copy before the
    // old list goes.
    const SHST_TClassShowStringsData kept = settings;
    const int oldOrder = list_form_->strings().model().settings().systematic_order;
    const TFoldSnapshot snapshot = kept.systematic_order == oldOrder
                                       ? list_form_->take_snapshot()
                                       : TFoldSnapshot::initial();
    list_form_->set_up(kept, snapshot);
    if (kept.systematic_order != oldOrder) GLB_data().warn_if_order_incomplete(kept.systematic_order);
    update_area_panel();
    list_form_->setFocus();
}

void TChildForm::find(bool fromTop) {
    if (find_text.isEmpty() || !list_form_->has_strings()) return;
    const int top = list_form_->scroll_position();
    const TViewBand view{top, top + list_form_->viewport()->height()};
    const TListFindResult result =
        GLB_find_in_list(list_form_->strings(), find_text, fromTop, false, view);
    if (!result.found) {
        platform::DialogService::message(GLB_text(QStringLiteral("BS_CHILD"), 1) + find_text +
                                             GLB_text(QStringLiteral("BS_CHILD"), 2),
                                         GLB().message_box_caption, platform::box::IconWarning);
        return;
    }
    list_form_->list_changed();
    if (result.must_scroll) list_form_->scroll_to(result.found_top - list_form_->quarter_height());
}

void TChildForm::find_command() {
    if (!services_.find_dialog) return;
    QString text = find_text;
    bool fromTop = search_from_top;
    if (!services_.find_dialog->run(text, fromTop)) return;
    find_text = text;
    search_from_top = fromTop;
    find(search_from_top);
    list_form_->setFocus();
}

void TChildForm::find_again() {
    find(false);
}

void TChildForm::open_search_box(const QString& typed) {
    const TNameSearchIndex* index = services_.name_index ? services_.name_index() : nullptr;
    if (!index || !list_form_ || !list_form_->has_strings()) return;
    auto* box = findChild<TIncrementalSearchBox*>(QString(), Qt::FindDirectChildrenOnly);
    if (!box) box = new TIncrementalSearchBox(*this, *index);
    box->open(typed);
}

void TChildForm::contextMenuEvent(QContextMenuEvent* event) {
    // On a species' lines: its first recording to the comparison.
    const Tcupaitem* recording = nullptr;
    if (services_.add_to_comparison && list_form_ && list_form_->has_strings()) {
        const QPoint at = list_form_->viewport()->mapFrom(this, event->pos());
        if (list_form_->viewport()->rect().contains(at)) {
            const int y = at.y() + list_form_->scroll_position();
            int reference = 0;
            for (const TRecordShowStringData* line = list_form_->strings().model().first_line(); line;
                 line = line->next) {
                reference += line->advance;
                if (reference < y) continue;
                if (line->species)
                    for (const Tcupaitem* item = line->species->first_item; item && !recording;
                         item = item->next_of_species)
                        if (item->cut_part) recording = item;
                break;
            }
        }
    }
    if (!recording) {
        QMainWindow::contextMenuEvent(event);
        return;
    }
    QMenu menu(this);
    menu.addAction(QStringLiteral("Add to comparison"), this,
                   [this, recording] { services_.add_to_comparison(this, *recording); });
    menu.exec(event->globalPos());
}

void TChildForm::keyPressEvent(QKeyEvent* event) {
    // A letter the list did not take begins a search as you type.
    if (!show_window_ && TIncrementalSearchBox::starts_search(*event)) {
        open_search_box(event->text());
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void TChildForm::set_window_caption(const QString& caption) {
    setWindowTitle(caption);
}

void TChildForm::edit_my_list() {
    const TRecordShowStringData* selected =
        list_form_->has_strings() ? list_form_->strings().selected() : nullptr;
    if (!services_.edit_my_list || !selected || !selected->species) {
        platform::DialogService::beep();
        return;
    }
    services_.edit_my_list(*this, *selected->species);
}

void TChildForm::refresh_list() {
    list_form_->viewport()->update();
}

void TChildForm::focus_list() {
    activateWindow();
    raise();
    list_form_->setFocus(Qt::TabFocusReason);
}

void TChildForm::write_window_state(int n) const {
    const QString section = windowSection(n);
    GLB_write_string(section, settings::window::kCoord,
                     !stored_coord_.isEmpty() && normal_rect_ == fitted_rect_
                         ? stored_coord_
                         : GLB_format_coord(normal_rect_));
    GLB_write_flag(section, settings::window::kMaximized, isMaximized());
    if (sonogram_action_) GLB_write_flag(section, settings::window::kSonogram, sonogram_action_->isChecked());
    if (sonogram_panel_) GLB_write_string(section, settings::window::kListening, sonogram_panel_->listening().setting());
    if (!list_form_->has_strings()) return;
    list_form_->strings().model().settings().write_settings(section);
    GLB_write_string(section, settings::window::kVisible,
                     list_form_->take_snapshot().to_text(hasClassRows()));
}

void TChildForm::show_sonogram(bool on) {
    if (!sonogram_dock_) return;
    if (sonogram_action_->isChecked() != on) sonogram_action_->setChecked(on);  // comes back here
    sonogram_dock_->setVisible(on);
}

void TChildForm::set_soundbar_dragging_enabled(bool enabled) {
    for (Tsound_bar* bar : findChildren<Tsound_bar*>()) bar->set_drag_enabled(enabled);
}

void TChildForm::closeEvent(QCloseEvent* event) {
    const TListWindowShowCommands& shows = services_.show_commands;
    if (show_window_) {
        if (shows.show_window_closed) shows.show_window_closed(*this);
        event->accept();
        return;
    }
    if (!secondary_ && !closeAll() && shows.may_close_main_window &&
        !shows.may_close_main_window()) {
        event->ignore();
        return;
    }
    if (secondary_ && !closeAll()) {
        const int answer = platform::DialogService::message(
            GLB_text(QStringLiteral("BS_CHILD"), 3), GLB().message_box_caption,
            platform::box::QuestionYesNoCancelDefault2);
        if (answer == platform::answer::Cancel) {
            event->ignore();
            return;
        }
        if (answer == platform::answer::Yes) {
            closeAll() = true;
            event->ignore();
            if (auto* main = dynamic_cast<QWidget*>(Ttop_forms::instance().main_child_form()))
                main->close();
            return;
        }
    }
    if (secondary_) {
        Ttop_forms::instance().delete_form(this);
        Ttop_forms::instance().rewrite_captions();
        event->accept();
        return;
    }
    // The main window: every window's state, then the end of the program.
    Ttop_forms::instance().write_data_to_ini_file();
    if (shows.write_state) shows.write_state();
    closeAll() = true;
    for (int i = Ttop_forms::instance().count() - 1; i >= 1; --i)
        if (auto* window = dynamic_cast<QWidget*>(Ttop_forms::instance().at(i))) window->close();
    event->accept();
}

void TChildForm::place_fitted(const QRect& client, const QWidget* reference) {
    const QMargins frame = GLB_frame_margins(this, reference);
    setGeometry(GLB_fitted_client_rect(client, frame));
    // Fitted without knowing the frame: once the window is framed, again.
    refit_when_framed_ = frame.isNull();
}

void TChildForm::refit_with_frame() {
    if (!refit_when_framed_ || !isVisible() || isMaximized() || isMinimized() || isFullScreen()) return;
    const QMargins frame = GLB_frame_margins(this);
    if (frame.isNull()) return;
    refit_when_framed_ = false;
    const QRect fitted = GLB_fitted_client_rect(geometry(), frame);
    if (fitted == geometry()) return;
    if (!stored_coord_.isEmpty() && fitted_rect_ == geometry()) fitted_rect_ = fitted;
    setGeometry(fitted);
}

void TChildForm::remember_normal_rect() {
    if (!isMaximized() && !isMinimized() && !isFullScreen()) normal_rect_ = geometry();
}

void TChildForm::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    refit_with_frame();
    remember_normal_rect();
}

void TChildForm::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    refit_with_frame();
    remember_normal_rect();
    layout_status_panels();
}

void TChildForm::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange) {
        refit_with_frame();
        if (list_form_) list_form_->viewport()->update();
    }
}

QString TChildForm::caption_panel_text() const {
    return caption_text_;
}
QString TChildForm::area_panel_text() const {
    return area_text_;
}
int TChildForm::status_panel_count() const {
    return area_panel_->isVisible() ? 3 : 2;
}

void TChildForm::update_area_panel() {
    QString names;
    if (list_form_->has_strings()) {
        if (const TArea* area =
                list_form_->strings().model().settings().visible_set.selected_area())
            area->SelectedNames(names);
    }
    area_text_ = names;
    area_panel_->setVisible(!names.isEmpty());
    layout_status_panels();
}

namespace {

// Shows as much of the text as the label's width holds, cut with "…", and
// the whole text as its tooltip and its name for a screen reader.
void fit_text(QLabel& label, const QString& text) {
    const int room = label.contentsRect().width() - 2 * label.margin() - label.indent();
    const QString shown = label.fontMetrics().elidedText(text, Qt::ElideRight, std::max(room, 0));
    label.setText(shown);
    label.setToolTip(shown == text ? QString() : text);
    label.setAccessibleName(text);
}

}  // namespace

void TChildForm::layout_status_panels() {
    if (!caption_panel_ || !area_panel_) return;
    // The caption and the area share what the CD panel leaves them. The area
    // takes its whole text while the caption's still fits beside it; in a
    // narrow window (or large text) the area gives way down to a third, so
    // the caption never shrinks to a few pixels.
    const int shared = std::max(width() - 300, width() / 2);
    int areaWidth = 0;
    if (!area_text_.isEmpty()) {
        const QFontMetrics metrics = area_panel_->fontMetrics();
        const QString pad = QStringLiteral("       ");
        areaWidth = metrics.horizontalAdvance(pad + area_text_ + pad);
        const int captionWanted =
            caption_panel_->fontMetrics().horizontalAdvance(caption_text_ + QStringLiteral("  "));
        if (shared - areaWidth < captionWanted)
            areaWidth = std::min(areaWidth, std::max(shared - captionWanted, shared / 3));
        area_panel_->setFixedWidth(areaWidth);
    }
    caption_panel_->setFixedWidth(std::max(shared - areaWidth, 0));
    fit_text(*caption_panel_, caption_text_);
    fit_text(*area_panel_, area_text_);
}

QString TChildForm::cd_status_text() const {
    return cd_status_panel_->text();
}

void TChildForm::check_cd_rom() {
    if (isMinimized()) return;
    if (!services_.cd_status_report) return;
    if (const std::optional<QString> text = services_.cd_status_report()) cd_status_panel_->setText(*text);
}

TChildForm* GLB_open_main_list_window(const TListWindowServices& services) {
    closeAll() = false;
    auto* window = new TChildForm(services, false);
    window->open_list_window({.restore = true});
    return window;
}
