#include "playlists/windows/playlist_form.h"

#include "app/external_programs.h"
#include "app/globals.h"
#include "app/settings.h"
#include "app/settings_playlists.h"
#include "app/settings_window.h"
#include "data/species_database.h"
#include "formats/textfile.h"
#include "listview/windows/child_form.h"
#include "listview/list_fonts.h"
#include "listview/windows/show_form.h"
#include "listview/windows/show_strings.h"
#include "listview/top_forms.h"
#include "listview/windows/window_placement.h"
#include "listview/window_state.h"
#include "platform/dialog_service.h"
#include "playlists/windows/play_sound_options_frame.h"
#include "playlists/playlist_folders.h"
#include "playlists/sound_bar_drag.h"
#include "playlists/windows/sounds_show_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QFileInfo>
#include <QHeaderView>
#include <QIntValidator>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QProgressDialog>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyledItemDelegate>

namespace {

using settings::playlists::kSection;

// The grid's rows at the usual text size.
constexpr int kRowHeight = 20;

QString text(int line) {
    return GLB_text(QStringLiteral("PLAY_LISTS"), line);
}

// The current row is cyan in every cell but the number. It is painted from
// the grid's current index rather than stored in the items, so that moving the
// current cell never changes the grid's contents (Qt moves it while it removes
// rows).
class TCurrentRowDelegate : public QStyledItemDelegate {
  public:
    explicit TCurrentRowDelegate(QTableWidget* grid) : QStyledItemDelegate(grid), grid_(grid) {}
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        if (index.row() != grid_->currentRow()) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        painter->save();
        painter->fillRect(option.rect, QColor(0, 255, 255));
        painter->setPen(Qt::black);
        painter->setFont(option.font);
        painter->drawText(option.rect.adjusted(2, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop,
                          index.data(Qt::DisplayRole).toString());
        painter->restore();
    }

  private:
    QTableWidget* grid_;
};

// Repeat counts are edited as at most two digits.
class TRepeatDelegate : public TCurrentRowDelegate {
  public:
    using TCurrentRowDelegate::TCurrentRowDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        auto* edit =
            qobject_cast<QLineEdit*>(TCurrentRowDelegate::createEditor(parent, option, index));
        if (edit) {
            edit->setValidator(new QIntValidator(0, TPlayListInfo::kMaxRepeatCount, edit));
            edit->setMaxLength(2);
        }
        return edit;
    }
};

// The preparation's progress window.
class TProgressWindow : public TAudioCDProgress {
  public:
    explicit TProgressWindow(QWidget* parent) : parent_(parent) {}
    void open(const QString& caption, const QString& label) override {
        label_ = label;
        dialog_ = std::make_unique<QProgressDialog>(label, GLB_text(QStringLiteral("SHOW_SETTINGS_DB"), 16),
                                                    0, 100, parent_);
        dialog_->setWindowTitle(caption);
        dialog_->setWindowModality(Qt::ApplicationModal);
        dialog_->setMinimumDuration(0);
        dialog_->show();
    }
    bool step(int n, int percent) override {
        QApplication::processEvents();
        if (!dialog_ || dialog_->wasCanceled()) return false;
        dialog_->setLabelText(label_ + u' ' + QString::number(n));
        dialog_->setValue(percent);
        return true;
    }
    void close() override { dialog_.reset(); }

  private:
    QWidget* parent_;
    QString label_;
    std::unique_ptr<QProgressDialog> dialog_;
};

TChildForm* mainListWindow() {
    return dynamic_cast<TChildForm*>(Ttop_forms::instance().main_child_form());
}

}  // namespace

// --- The grid ---------------------------------------------------------------

TPlayListGrid::TPlayListGrid(QWidget* parent) : QTableWidget(1, 3, parent) {
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DropOnly);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(kRowHeight);
    horizontalHeader()->setDefaultSectionSize(50);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    // The arrows walk the cells; Tab goes on to the window's next control
    // (walking the cells it came round inside the grid and never left it).
    setTabKeyNavigation(false);
}

void TPlayListGrid::dragEnterEvent(QDragEnterEvent* event) {
    if (TSoundBarDragObject::from(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TPlayListGrid::dragMoveEvent(QDragMoveEvent* event) {
    if (TSoundBarDragObject::from(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TPlayListGrid::dropEvent(QDropEvent* event) {
    const TSoundBarDragObject* drag = TSoundBarDragObject::from(event->mimeData());
    if (!drag) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    emit recording_dropped(drag->entry());
}

void TPlayListGrid::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Delete && state() != QAbstractItemView::EditingState) {
        emit delete_pressed();
        return;
    }
    QTableWidget::keyPressEvent(event);
}

void TPlayListGrid::mousePressEvent(QMouseEvent* event) {
    const QModelIndex index = indexAt(event->position().toPoint());
    pressed_row_ = index.isValid() && index.column() == 0 ? index.row() : -1;
    if (index.isValid()) setCurrentCell(index.row(), 2);
    if (index.isValid() && index.column() == 2) QTableWidget::mousePressEvent(event);
}

void TPlayListGrid::mouseReleaseEvent(QMouseEvent* event) {
    const QModelIndex index = indexAt(event->position().toPoint());
    if (pressed_row_ >= 0 && index.isValid() && index.row() != pressed_row_)
        emit row_moved(pressed_row_ + 1, index.row() + 1);
    pressed_row_ = -1;
    QTableWidget::mouseReleaseEvent(event);
}

// --- The window --------------------------------------------------------------

// A tool window of the main window: kept above it by the window manager,
// while its own dialogs and the program's come above it.
TPlayListForm::TPlayListForm(TAudioCDFileWriter* writer, TShowRecordingSource& recordings,
                             QWidget* parent)
    : QWidget(parent, Qt::Tool), writer_(writer), recordings_(recordings) {
    MainMenu = new QMenuBar(this);
    create_menus();
    BetweenSoundsOptionsFrame = new TPlaySoundOptionsFrame(this);
    CheckBox_endless_loop = new QCheckBox(text(14), this);
    CheckBox_start_playing_at_selected_recording = new QCheckBox(text(15), this);
    Button_play_or_stop = new QPushButton(text(12), this);
    Button_play_or_stop->setDefault(true);
    QFont bold = Button_play_or_stop->font();
    bold.setBold(true);
    Button_play_or_stop->setFont(bold);
    grid = new TPlayListGrid(this);
    grid->setHorizontalHeaderLabels({QString(), QString(), text(16)});
    grid->setItemDelegateForColumn(1, new TCurrentRowDelegate(grid));
    grid->setItemDelegateForColumn(2, new TRepeatDelegate(grid));

    connect(Button_play_or_stop, &QPushButton::clicked, this, &TPlayListForm::play_or_stop);
    connect(grid, &TPlayListGrid::recording_dropped, this, &TPlayListForm::add_entry);
    connect(grid, &TPlayListGrid::delete_pressed, this, [this] {
        if (list_.delete_row(grid->currentRow() + 1)) after_rows_changed();
    });
    connect(grid, &TPlayListGrid::row_moved, this, [this](int from, int to) {
        if (list_.move_row(from, to)) {
            after_rows_changed();
            grid->setCurrentCell(to - 1, 2);
        }
    });
    connect(grid, &QTableWidget::cellChanged, this, &TPlayListForm::repeat_edited);
    connect(grid->horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int column) {
                if (!fitting_columns_ && column != 1) columns_sized_by_user_ = true;
            });
    connect(grid, &QTableWidget::currentCellChanged, grid->viewport(),
            qOverload<>(&QWidget::update));

    BetweenSoundsOptionsFrame->set_options(TBetweenSoundsOptions::read_settings(kSection));
    list_.set_path(GLB_read_string(kSection, settings::playlists::kCurrent, QString()));
    const QString folder = QFileInfo(list_.path()).path();
    dialog_folder_ = !list_.path().isEmpty() && QFileInfo(folder).isDir()
                         ? folder
                         : TPlayListFolders::deepest_existing_folder(
                               TPlayListFolders::default_play_list_folder());
    resize(520, 480);
    lay_out();
    refresh_texts();
    refresh_caption();
}

TPlayListForm::~TPlayListForm() = default;

void TPlayListForm::create_menus() {
    QMenu* file = MainMenu->addMenu(text(3));
    new_list_menu_item = file->addAction(text(4), QKeySequence(Qt::CTRL | Qt::Key_N), this,
                                         &TPlayListForm::new_list);
    open_list_menu_item = file->addAction(text(5) + QStringLiteral("..."),
                                          QKeySequence(Qt::CTRL | Qt::Key_O), this,
                                          [this] { open_list(); });
    save_menu_item = file->addAction(text(6), QKeySequence(Qt::CTRL | Qt::Key_S), this,
                                     [this] { save(); });
    save_as_menu_item = file->addAction(text(7) + QStringLiteral("..."), this, [this] { save_as(); });
    QMenu* extra = MainMenu->addMenu(text(8));
    copy_to_clipboard_menu_item = extra->addAction(text(9), QKeySequence(Qt::CTRL | Qt::Key_C),
                                                   this, &TPlayListForm::copy_to_clipboard);
    prepare_for_audio_CD_menu_item = extra->addAction(text(10) + QStringLiteral("..."), this,
                                                      &TPlayListForm::prepare_for_audio_cd);
    help_menu_item = MainMenu->addAction(text(11), this, [] {
        if (!GLB().help_file.isEmpty()) GLB_open_with_shell(GLB().help_file);
    });
}

void TPlayListForm::lay_out() {
    const int top = MainMenu->sizeHint().height() + 4;
    BetweenSoundsOptionsFrame->move(8, top);
    CheckBox_endless_loop->adjustSize();
    CheckBox_endless_loop->move(8, BetweenSoundsOptionsFrame->geometry().bottom() + 1 + 6);
    CheckBox_start_playing_at_selected_recording->adjustSize();
    CheckBox_start_playing_at_selected_recording->move(
        8, CheckBox_endless_loop->geometry().bottom() + 1 + 4);
    Button_play_or_stop->adjustSize();
    Button_play_or_stop->resize(std::max(90, Button_play_or_stop->width()),
                                Button_play_or_stop->height());
    Button_play_or_stop->move(
        8, CheckBox_start_playing_at_selected_recording->geometry().bottom() + 1 + 10);
    const int gridTop = Button_play_or_stop->geometry().bottom() + 1 + 10;
    // The window is at least as large as its controls at the text size in
    // use: the list's text size, up to several times the usual one.
    int needed = MainMenu->sizeHint().width();
    for (const QWidget* w : std::initializer_list<const QWidget*>{
             BetweenSoundsOptionsFrame, CheckBox_endless_loop,
             CheckBox_start_playing_at_selected_recording, Button_play_or_stop})
        needed = std::max(needed, w->geometry().right() + 1 + 8);
    const int gridChrome = 2 * grid->frameWidth() + grid->verticalScrollBar()->sizeHint().width();
    needed = std::max(needed, gridChrome + number_column_width() + kMinimumTitleWidth +
                                  repeat_column_width() + 4);
    // Rows as tall as their text (20 pixels at the usual size).
    const int rowHeight = std::max(kRowHeight, grid->fontMetrics().height() + 2);
    grid->verticalHeader()->setDefaultSectionSize(rowHeight);
    QSize minimum(needed, gridTop + grid->horizontalHeader()->sizeHint().height() +
                              3 * rowHeight + 2 * grid->frameWidth());
    // Never larger than the screen it is on (its frame included).
    const QRect area = screen() ? screen()->availableGeometry() : QRect();
    const QMargins frame(geometry().left() - frameGeometry().left(),
                         geometry().top() - frameGeometry().top(),
                         frameGeometry().right() - geometry().right(),
                         frameGeometry().bottom() - geometry().bottom());
    if (area.isValid())
        minimum = minimum.boundedTo(area.size().shrunkBy(frame).expandedTo(QSize(100, 100)));
    if (minimumSize() != minimum && !growing_) {
        growing_ = true;
        setMinimumSize(minimum);
        if (width() < minimum.width() || height() < minimum.height()) {
            resize(size().expandedTo(minimum));
            // Grown on the screen, it moves back inside it.
            if (isVisible() && area.isValid()) {
                const QRect outer = frameGeometry();
                const int dx = std::max(area.left() - outer.left(), std::min(0, area.right() - outer.right()));
                const int dy = std::max(area.top() - outer.top(), std::min(0, area.bottom() - outer.bottom()));
                if (dx != 0 || dy != 0) move(pos() + QPoint(dx, dy));
            }
        }
        growing_ = false;
    }
    grid->setGeometry(0, gridTop, width(), std::max(40, height() - gridTop));
    MainMenu->setGeometry(0, 0, width(), MainMenu->sizeHint().height());
    fit_columns();
}

int TPlayListForm::number_column_width() const {
    return std::max(30, grid->fontMetrics().horizontalAdvance(QStringLiteral("999")) + 8);
}

int TPlayListForm::repeat_column_width() const {
    return std::max(std::min(90, grid->viewport()->width() / 4),
                    grid->horizontalHeader()->sectionSizeHint(2));
}

void TPlayListForm::fit_columns() {
    fitting_columns_ = true;
    // The number and repeat columns get their widths until the user sizes them.
    const int client = grid->viewport()->width();
    if (!columns_sized_by_user_) {
        grid->setColumnWidth(0, number_column_width());
        grid->setColumnWidth(2, repeat_column_width());
    }
    grid->setColumnWidth(1, std::max(kMinimumTitleWidth,
                                     client - grid->columnWidth(0) - grid->columnWidth(2) - 4));
    fitting_columns_ = false;
}

void TPlayListForm::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    lay_out();
}

void TPlayListForm::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    // The play button is the window's default button.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        play_or_stop();
        return;
    }
    QWidget::keyPressEvent(event);
}

TTaxonNaming TPlayListForm::naming() const {
    if (!list_state_) return {};
    return {list_state_->name_kind_at(1), list_state_->name_kind_at(2)};
}

void TPlayListForm::refresh_list_state() {
    const Tdata* data = GLB_data_or_null();
    if (!data) return;
    TChildForm* main = mainListWindow();
    if (main && main->list_form()->has_strings())
        list_state_ = std::make_unique<SHST_TClassShowStringsData>(
            main->list_form()->strings().model().settings());
    else if (!list_state_)
        list_state_ =
            std::make_unique<SHST_TClassShowStringsData>(*data, settings::window::section(1));
}

void TPlayListForm::refresh_texts() {
    filling_ = true;
    const int rows = list_.row_count();
    // A current cell in a row that goes moves to the new last row first: the
    // grid never has to find a current cell of its own while it drops rows.
    if (grid->currentRow() >= rows) grid->setCurrentCell(rows - 1, 2);
    grid->setRowCount(rows);
    const TTaxonNaming names = naming();
    for (int r = 1; r <= rows; ++r) {
        const QStringList cells{TPlayList::row_number_text(r), list_.recording_text(r, names),
                                list_.repeat_text(r)};
        for (int c = 0; c < 3; ++c) {
            QTableWidgetItem* item = grid->item(r - 1, c);
            if (!item) {
                item = new QTableWidgetItem;
                grid->setItem(r - 1, c, item);
            }
            item->setText(cells[c]);
            item->setFlags(c == 2 ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable
                                  : Qt::ItemIsEnabled);
        }
    }
    filling_ = false;
    grid->viewport()->update();
}

void TPlayListForm::refresh_caption() {
    setWindowTitle(text(1) + QStringLiteral(": ") + list_.list_name(text(2)));
}

void TPlayListForm::after_rows_changed() {
    refresh_texts();
    refresh_caption();
}

void TPlayListForm::repeat_edited(int row, int column) {
    if (filling_ || column != 2) return;
    list_.set_repeat_text(row + 1, grid->item(row, column)->text());
    refresh_texts();
}

void TPlayListForm::add_entry(const TPlayListInfo& entry) {
    TPlayListInfo e = entry;
    e.repeat_count = 1;
    list_.add_entry(e);
    refresh_texts();
    grid->scrollToBottom();
}

void TPlayListForm::take_loaded(const TPlayListLoadResult& result) {
    if (!result.changes_list()) return;
    BetweenSoundsOptionsFrame->set_options(result.contents.options);
    CheckBox_endless_loop->setChecked(result.contents.endless_loop);
    list_.take_rows(result.contents.rows);
}

bool TPlayListForm::open_file(const QString& path) {
    refresh_list_state();
    const TPlayListLoadResult result = TPlayListFile::load(path, list_state_->visible_set);
    take_loaded(result);
    if (result.accepted()) {
        list_.set_path(path);
        GLB_write_string(kSection, settings::playlists::kCurrent, path);
        CheckBox_start_playing_at_selected_recording->setChecked(false);
    } else if (result.changes_list()) {
        // The rows read before the damage are not the playlist that was open:
        // they become a new list, so that saving them asks for a file of its
        // own instead of writing them over the open one.
        list_.set_new();
        list_.set_modified(list_.has_first_entry());
        CheckBox_start_playing_at_selected_recording->setChecked(false);
    }
    after_rows_changed();
    return result.accepted();
}

void TPlayListForm::show_window(bool atStartup) {
    const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    // Sized for the list's text before it is placed: a large text makes it
    // larger, and it must be placed whole on the screen.
    setFont(GLB_list_fonts().standard().font);
    lay_out();
    const QMargins frame = GLB_frame_margins(this, owner);
    const auto rect =
        atStartup ? GLB_parse_coord(GLB_read_string(kSection, settings::playlists::kCoord, {}))
                  : std::nullopt;
    if (rect) {
        setGeometry(GLB_fitted_client_rect(*rect, frame));
    } else if (!testAttribute(Qt::WA_Moved)) {
        // The first showing: beside the list, clear of its menu bar.
        move(GLB_floating_window_place(size().grownBy(frame),
                                       GLB_work_area_for(owner ? owner->frameGeometry() : QRect()),
                                       TFloatingPlace::TopRight));
    }
    show();
    raise();
    activateWindow();
}

void TPlayListForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    setFont(GLB_list_fonts().standard().font);
    refresh_list_state();
    const QString path = list_.path();
    bool loaded = false;
    // Closing the window asks nothing, so unsaved work is still in the list
    // when it shows again: the file is read only over a list with none.
    if (list_.modified()) {
        after_rows_changed();
        Ttop_forms::instance().set_soundbar_dragging_enabled(true);
        lay_out();
        return;
    }
    if (!path.isEmpty() && QFileInfo(path).isFile()) {
        const TPlayListLoadResult result = TPlayListFile::load(path, list_state_->visible_set);
        take_loaded(result);
        loaded = result.accepted();
    }
    if (loaded)
        list_.set_path(path);
    else
        list_.set_new();
    after_rows_changed();
    Ttop_forms::instance().set_soundbar_dragging_enabled(true);
    lay_out();
    grid->setCurrentCell(0, 2);
}

void TPlayListForm::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    Ttop_forms::instance().set_soundbar_dragging_enabled(false);
}

void TPlayListForm::closeEvent(QCloseEvent* event) {
    if (playing()) play_or_stop();
    Ttop_forms::instance().set_soundbar_dragging_enabled(false);
    event->accept();
}

void TPlayListForm::write_settings() const {
    GLB_write_string(kSection, settings::playlists::kCoord, GLB_format_coord(geometry()));
    BetweenSoundsOptionsFrame->options().write_settings(kSection);
}

bool TPlayListForm::is_there_unsaved_work() {
    if (!list_.modified()) return true;
    const int answer = platform::DialogService::message(
        text(19) + list_.list_name(text(2)) + text(20), GLB().message_box_caption,
        platform::box::YesNoCancel);
    if (answer == platform::answer::Cancel) return false;
    if (answer == platform::answer::Yes) {
        save();
        return !list_.modified();
    }
    return true;
}

void TPlayListForm::new_list() {
    if (!is_there_unsaved_work()) return;
    list_.clear();
    list_.set_new();
    CheckBox_start_playing_at_selected_recording->setChecked(false);
    after_rows_changed();
}

bool TPlayListForm::open_list() {
    if (!is_there_unsaved_work()) return false;
    const auto path = platform::DialogService::openFileName(
        {.caption = text(17), .directory = dialog_folder_, .filter = QStringLiteral("*.pl")});
    if (!path) return false;
    return open_file(*path);
}

bool TPlayListForm::save_to(const QString& path) {
    refresh_list_state();
    const TPlayListContents contents{list_.rows(), BetweenSoundsOptionsFrame->options(),
                                     CheckBox_endless_loop->isChecked()};
    if (!TPlayListFile::save(path, contents)) return false;
    list_.set_path(path);
    refresh_caption();
    return true;
}

bool TPlayListForm::save() {
    if (list_.is_new()) return save_as();
    return save_to(list_.path());
}

bool TPlayListForm::save_as() {
    QString folder = dialog_folder_;
    if (list_.path().isEmpty()) {
        const auto ensured =
            TPlayListFolders::ensure_folder(TPlayListFolders::default_play_list_folder(), text(21));
        if (!ensured) return false;
        folder = *ensured;
    }
    auto path = platform::DialogService::saveFileName(
        {.caption = text(18), .directory = folder, .filter = QStringLiteral("*.pl")});
    if (!path) return false;
    if (QFileInfo(*path).suffix().isEmpty()) *path += QStringLiteral(".pl");
    if (!save_to(*path)) return false;
    dialog_folder_ = QFileInfo(*path).path();
    return true;
}

void TPlayListForm::copy_to_clipboard() {
    QApplication::clipboard()->setText(list_.clipboard_text(naming(), text(16)));
}

void TPlayListForm::prepare_for_audio_cd() {
    if (!writer_ || !list_.has_first_entry()) return;
    std::vector<TAudioCDEntry> entries;
    for (int r = 1; r <= list_.row_count(); ++r)
        if (const TPlayListInfo* e = list_.entry(r))
            entries.push_back({e->recording_item, e->repeat_count, list_.recording_text(r, naming())});
    refresh_list_state();
    TProgressWindow progress(this);
    TAudioCDPreparation(*writer_, progress).run(entries, list_state_->visible_set);
}

void TPlayListForm::play_or_stop() {
    if (playing()) {
        if (show_window_) show_window_->close();
        set_playing(false);
        return;
    }
    // The show window is a list window like those of the main window: it
    // lists with the main window's services.
    TChildForm* main = mainListWindow();
    if (!main || !list_.has_first_entry()) return;
    refresh_list_state();
    const int startRow =
        CheckBox_start_playing_at_selected_recording->isChecked() ? grid->currentRow() + 1 : 0;
    list_.start_playing(startRow);
    show_window_ = GLB_open_show_window(
        main->services(), recordings_, this, *list_state_,
        {.play_list = true, .quality_class = 3, .options = BetweenSoundsOptionsFrame->options()},
        this, nullptr);
    set_playing(true);
}

void TPlayListForm::playing_ended() {
    show_window_ = nullptr;
    set_playing(false);
}

void TPlayListForm::set_playing(bool playing) {
    new_list_menu_item->setEnabled(!playing);
    open_list_menu_item->setEnabled(!playing);
    grid->setEnabled(!playing);
    Button_play_or_stop->setText(text(playing ? 13 : 12));
}

std::optional<TNextRecording> TPlayListForm::next_recording() {
    auto next = list_.next_recording(CheckBox_endless_loop->isChecked());
    if (next) grid->setCurrentCell(next->row - 1, 2);
    return next;
}
