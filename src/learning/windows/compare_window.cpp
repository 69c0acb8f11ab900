#include "learning/windows/compare_window.h"

#include "data/media_records.h"
#include "data/species_database.h"
#include "data/visibility_filter.h"
#include "listview/show_string_record.h"
#include "listview/windows/sonogram_panel.h"
#include "listview/windows/sound_bar.h"
#include "platform/audio/media_control.h"
#include "platform/dialog_service.h"
#include "sound/players.h"
#include "sound/sonogram.h"
#include "sound/windows/sonogram_view.h"
#include "listview/windows/window_placement.h"

#include <QCloseEvent>
#include <QDir>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QSpacerItem>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <cmath>

namespace {

const QString kCaption = QStringLiteral("Comparison");
const QString kFilter = QStringLiteral("Comparison sets (*.json)");

void tell(const QString& text, int style = platform::box::IconInformation) {
    platform::DialogService::message(text, kCaption, style);
}

}  // namespace

// One recording's row: its names, its button and its sonogram. The button
// refers to the block and the carriers, so it goes first.
struct TCompareWindow::Row {
    std::unique_ptr<TClassSoundCarriersUseSpecification> carriers;
    std::unique_ptr<TRecordingButtonBlock> block;
    QWidget* widget = nullptr;
    QWidget* side = nullptr;  // the names, the button and "Remove"
    Tsound_bar* bar = nullptr;
    TSonogramView* view = nullptr;
    ~Row() { delete widget; }
};

TCompareWindow::TCompareWindow(sonogram::Cache& cache, Carriers carriers, QWidget* parent)
    : QWidget(parent, Qt::Window), cache_(cache), carriers_(std::move(carriers)) {
    setObjectName(QStringLiteral("compare_window"));
    setWindowTitle(kCaption);
    auto* layout = new QVBoxLayout(this);
    auto* buttons = new QHBoxLayout;
    play_button_ = new QPushButton(QStringLiteral("Play in turn"), this);
    stop_button_ = new QPushButton(QStringLiteral("Stop"), this);
    save_button_ = new QPushButton(QStringLiteral("Save set..."), this);
    auto* open = new QPushButton(QStringLiteral("Open set..."), this);
    auto* clear = new QPushButton(QStringLiteral("Clear"), this);
    for (QPushButton* b : {play_button_, stop_button_, save_button_, open, clear}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    auto* listening = new QToolButton(this);
    listening->setText(QStringLiteral("Listening"));
    listening->setPopupMode(QToolButton::InstantPopup);
    auto* listeningMenu = new QMenu(listening);
    connect(listeningMenu, &QMenu::aboutToShow, this, [this, listeningMenu] {
        listeningMenu->clear();
        for (int i = 0; i < TListeningChoice::kChoices; ++i) {
            const auto choice = static_cast<TListeningChoice::Choice>(i);
            if (choice == TListeningChoice::Loop) listeningMenu->addSeparator();
            QAction* action = listeningMenu->addAction(TListeningChoice::name(choice), this,
                                                       [this, choice] { this->choose(choice); });
            action->setCheckable(true);
            action->setChecked(listening_.chosen(choice));
        }
    });
    listening->setMenu(listeningMenu);
    listening_label_ = new QLabel(this);
    listening_label_->setObjectName(QStringLiteral("listening"));
    buttons->addWidget(listening);
    buttons->addWidget(listening_label_);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    connect(play_button_, &QPushButton::clicked, this, &TCompareWindow::play_in_turn);
    connect(stop_button_, &QPushButton::clicked, this, &TCompareWindow::stop);
    connect(save_button_, &QPushButton::clicked, this, [this] { save_set(); });
    connect(open, &QPushButton::clicked, this, [this] { open_set(); });
    connect(clear, &QPushButton::clicked, this, [this] {
        stop();
        clear_rows();
        set_.clear();
        update_buttons();
    });

    empty_note_ = new QLabel(QStringLiteral("Choose \"Add to comparison\" on a recording button's menu or on a "
                                            "species' menu in a list: up to %1 recordings.")
                                 .arg(TComparisonSet::kMostRecordings),
                             this);
    empty_note_->setWordWrap(true);
    layout->addWidget(empty_note_);
    rows_layout_ = new QVBoxLayout;
    rows_layout_->setSpacing(4);
    layout->addLayout(rows_layout_, 1);
    auto* bottom = new QHBoxLayout;
    bottom_spacer_ = new QSpacerItem(236, 1, QSizePolicy::Fixed, QSizePolicy::Minimum);
    bottom->addSpacerItem(bottom_spacer_);
    time_bar_ = new QScrollBar(Qt::Horizontal, this);
    bottom->addWidget(time_bar_, 1);
    layout->addLayout(bottom);
    auto* hint = new QLabel(QStringLiteral("Wheel: time, Ctrl+wheel: frequency; every sonogram follows."), this);
    hint->setEnabled(false);
    layout->addWidget(hint);
    connect(time_bar_, &QScrollBar::valueChanged, this, [this](int ms) {
        scale_.scroll_to(ms / 1000.0);
        apply_scale();
    });

    scale_.set_top(TSonogramPanel::stored_settings().max_frequency_hz);
    poll_.setInterval(30);
    connect(&poll_, &QTimer::timeout, this, &TCompareWindow::poll);
    pause_.setSingleShot(true);
    pause_.setInterval(kPauseBetweenMs);
    connect(&pause_, &QTimer::timeout, this, [this] {
        if (turn_ >= 0) start_turn(turn_ + 1);
    });
    resize(GLB_size_within_screen(this, QSize(1000, 760)));
    update_buttons();
}

TCompareWindow::~TCompareWindow() {
    poll_.stop();
    rows_.clear();
}

TSonogramView& TCompareWindow::view(int row) {
    return *rows_.at(static_cast<std::size_t>(row))->view;
}

Tsound_bar& TCompareWindow::button(int row) {
    return *rows_.at(static_cast<std::size_t>(row))->bar;
}

bool TCompareWindow::add(const Tcupaitem& recording) {
    if (!recording.cut_part) return false;
    const TComparisonSet::Added added = set_.add(recording);
    show();
    raise();
    activateWindow();
    if (added == TComparisonSet::Added::Full) {
        tell(QStringLiteral("A comparison holds at most %1 recordings. Remove one to add \"%2\".")
                 .arg(TComparisonSet::kMostRecordings)
                 .arg(GLB_comparison_species_text(recording)),
             platform::box::IconWarning);
        return false;
    }
    if (added == TComparisonSet::Added::AlreadyThere) return false;
    add_row(recording);
    return true;
}

void TCompareWindow::add_row(const Tcupaitem& recording) {
    auto row = std::make_unique<Row>();
    row->carriers = std::make_unique<TClassSoundCarriersUseSpecification>(
        carriers_ ? carriers_() : TClassSoundCarriersUseSpecification());
    row->block = std::make_unique<TRecordingButtonBlock>();
    row->block->recording = &recording;
    row->widget = new QWidget(this);
    auto* line = new QHBoxLayout(row->widget);
    line->setContentsMargins(0, 0, 0, 0);
    auto* side = new QWidget(row->widget);
    auto* names = new QVBoxLayout(side);
    names->setContentsMargins(0, 0, 0, 0);
    auto* species = new QLabel(GLB_comparison_species_text(recording), side);
    QFont bold = species->font();
    bold.setBold(true);
    species->setFont(bold);
    species->setWordWrap(true);
    auto* label = new QLabel(GLB_comparison_recording_text(recording), side);
    label->setWordWrap(true);
    names->addWidget(species);
    names->addWidget(label);
    auto* holder = new QWidget(side);
    row->bar = new Tsound_bar(holder, *row->block, QPoint(0, 0), *row->carriers);
    row->bar->move(0, 0);
    holder->setFixedSize(row->bar->size());
    auto* removeButton = new QPushButton(QStringLiteral("Remove"), side);
    removeButton->setAutoDefault(false);
    names->addWidget(holder);
    names->addWidget(removeButton, 0, Qt::AlignLeft);
    names->addStretch(1);
    row->side = side;
    line->addWidget(side);
    row->view = new TSonogramView(row->widget);
    line->addWidget(row->view, 1);

    const sonogram::Settings settings = TSonogramPanel::stored_settings();
    row->view->set_settings(settings);
    const Tcutpart& cut = *recording.cut_part;
    const sonogram::Source source = TSonogramPanel::source_of(*row->bar);
    if (source.file.isEmpty() && source.cd_drive < 0) {
        row->view->set_sonogram(nullptr, cut.length / 1000.0);
        row->view->set_note(QStringLiteral("This recording's sound cannot be found."));
    } else {
        row->view->set_sonogram(cache_.get(source, settings), cut.length / 1000.0);
    }
    if (listening_.banded()) row->view->set_band(listening_.band());
    connect(row->view, &TSonogramView::band_selected, this, [this](double low, double high) {
        listening_.set_band(low, high);
        listening_changed();
    });
    row->view->installEventFilter(this);
    Tsound_bar* bar = row->bar;
    connect(row->view, &TSonogramView::seek_requested, bar,
            [bar](double seconds) { bar->seek_to(static_cast<int>(std::lround(seconds * 1000))); });
    connect(row->view, &TSonogramView::play_pause_requested, bar, [bar] { bar->click(); });
    QWidget* widget = row->widget;
    connect(removeButton, &QPushButton::clicked, this, [this, widget] {
        // Not from inside the button's own click: the row goes once it is over.
        QTimer::singleShot(0, this, [this, widget] {
            for (std::size_t i = 0; i < rows_.size(); ++i)
                if (rows_[i]->widget == widget) remove(static_cast<int>(i));
        });
    });
    rows_layout_->addWidget(row->widget, 1);
    rows_.push_back(std::move(row));
    align_sides();
    update_limits();
    apply_scale();
    update_buttons();
    poll_.start();
}

void TCompareWindow::remove(int index) {
    if (index < 0 || index >= rows()) return;
    if (turn_ >= 0) stop();
    rows_.erase(rows_.begin() + index);
    set_.remove(index);
    align_sides();
    update_limits();
    apply_scale();
    update_buttons();
}

void TCompareWindow::align_sides() {
    // The sonograms start at one x: every side as wide as the widest button
    // needs (a long recording has a long bar).
    int width = 230;
    for (const auto& row : rows_) width = std::max(width, row->bar->width() + 8);
    for (const auto& row : rows_) row->side->setFixedWidth(width);
    if (bottom_spacer_) bottom_spacer_->changeSize(width + 6, 1);
    if (layout()) layout()->invalidate();
}

void TCompareWindow::clear_rows() {
    rows_.clear();
}

void TCompareWindow::update_buttons() {
    const bool any = !rows_.empty();
    play_button_->setEnabled(any);
    stop_button_->setEnabled(any);
    save_button_->setEnabled(any);
    empty_note_->setVisible(!any);
    time_bar_->setVisible(any);
}

void TCompareWindow::update_limits() {
    double longest = 0;
    double highest = 0;
    for (const auto& row : rows_) {
        const auto& shown = row->view->current();
        const bool known = shown && shown->state() != sonogram::Sonogram::Decoding &&
                           shown->state() != sonogram::Sonogram::Failed && shown->rate() > 0;
        longest = std::max(longest, known ? shown->seconds() : row->bar->cut_part().length / 1000.0);
        highest = std::max(highest, known ? shown->rate() / 2.0 : row->view->settings().max_frequency_hz);
    }
    if (rows_.empty()) return;
    if (longest != scale_.longest() || highest != scale_.highest()) {
        const bool wasWhole = scale_.from() <= 0 && scale_.to() >= scale_.longest();
        scale_.set_limits(longest, highest);
        // A view that showed everything goes on showing everything.
        if (wasWhole) scale_.set_view(0, longest);
    }
}

void TCompareWindow::apply_scale(const TSonogramView* except) {
    for (const auto& row : rows_) {
        TSonogramView* view = row->view;
        if (view == except) continue;
        view->set_scale_limits(scale_.longest(), scale_.highest());
        view->set_view(scale_.from(), scale_.to());
        if (view->top_hz() > 0 && view->top_hz() != scale_.top_hz()) view->zoom_frequency(scale_.top_hz() / view->top_hz());
    }
    const QSignalBlocker quiet(time_bar_);
    const int width = static_cast<int>(std::lround((scale_.to() - scale_.from()) * 1000));
    time_bar_->setRange(0, std::max(0, static_cast<int>(std::lround(scale_.longest() * 1000)) - width));
    time_bar_->setPageStep(std::max(1, width));
    time_bar_->setSingleStep(std::max(1, width / 10));
    time_bar_->setValue(static_cast<int>(std::lround(scale_.from() * 1000)));
}

void TCompareWindow::poll() {
    if (rows_.empty()) {
        poll_.stop();
        return;
    }
    const double longest = scale_.longest(), highest = scale_.highest();
    update_limits();
    if (longest != scale_.longest() || highest != scale_.highest()) apply_scale();
    for (const auto& row : rows_) {
        Tsound_bar& bar = *row->bar;
        const bool playing = bar.is_playing();
        int ms = 0;
        double at = bar.bar().value() / 10.0;
        if (bar.opened() && bar.player() && bar.player()->GetPosition(ms)) at = ms / 1000.0;
        row->view->set_playhead(at, playing);
        // The playing one turned its page: the others turn with it.
        if (playing && (row->view->view_from() != scale_.from() || row->view->view_to() != scale_.to())) {
            scale_.set_view(row->view->view_from(), row->view->view_to());
            apply_scale(row->view);
        }
    }
    if (turn_ >= 0 && !pause_.isActive() && !rows_[static_cast<std::size_t>(turn_)]->bar->is_playing()) {
        if (turn_ + 1 >= rows()) turn_ = -1;
        else pause_.start();
    }
}

void TCompareWindow::play_in_turn() {
    if (rows_.empty()) return;
    stop();
    start_turn(0);
}

void TCompareWindow::start_turn(int row) {
    if (row < 0 || row >= rows()) {
        turn_ = -1;
        return;
    }
    turn_ = row;
    Tsound_bar& bar = *rows_[static_cast<std::size_t>(row)]->bar;
    bar.seek_to(0);
    if (!bar.is_playing()) bar.click();
    // One that cannot play (its file gone) is passed over after the pause.
    poll_.start();
}

void TCompareWindow::stop() {
    pause_.stop();
    turn_ = -1;
    for (const auto& row : rows_)
        if (row->bar->is_playing()) row->bar->click();
}

bool TCompareWindow::save_set() {
    if (set_.empty()) return false;
    const QString folder = GLB_comparisons_folder();
    QDir().mkpath(folder);
    const std::optional<QString> name =
        platform::DialogService::saveFileName({QStringLiteral("Save comparison set"), folder, kFilter});
    if (!name || name->isEmpty()) return false;
    QString path = *name;
    if (!path.endsWith(QStringLiteral(".json"), Qt::CaseInsensitive)) path += QStringLiteral(".json");
    if (!GLB_write_comparison(set_, path)) {
        tell(QStringLiteral("The comparison set could not be written to \"%1\".").arg(QDir::toNativeSeparators(path)),
             platform::box::IconStop);
        return false;
    }
    return true;
}

bool TCompareWindow::open_set() {
    const QString folder = GLB_comparisons_folder();
    const std::optional<QString> name = platform::DialogService::openFileName(
        {QStringLiteral("Open comparison set"), QFileInfo(folder).isDir() ? folder : QDir::homePath(), kFilter});
    if (!name || name->isEmpty()) return false;
    return open_set_file(*name);
}

bool TCompareWindow::open_set_file(const QString& path) {
    const TComparisonRead read = GLB_read_comparison(path, GLB_data());
    const QString shown = QDir::toNativeSeparators(path);
    if (read.status == TComparisonRead::Unreadable) {
        tell(QStringLiteral("The comparison set \"%1\" could not be read.").arg(shown), platform::box::IconStop);
        return false;
    }
    stop();
    clear_rows();
    set_.clear();
    if (read.status == TComparisonRead::Damaged) {
        tell(QStringLiteral("The comparison set \"%1\" is damaged and cannot be opened. %2 The comparison starts "
                            "afresh.")
                 .arg(shown, read.kept_aside.isEmpty()
                                 ? QStringLiteral("It was left where it is.")
                                 : QStringLiteral("It was kept as \"%1\".")
                                       .arg(QDir::toNativeSeparators(read.kept_aside))),
             platform::box::IconWarning);
        update_buttons();
        show();
        return false;
    }
    for (const Tcupaitem* item : read.set.recordings()) {
        set_.add(*item);
        add_row(*item);
    }
    update_buttons();
    show();
    raise();
    if (!read.missing.isEmpty())
        tell(QStringLiteral("These recordings of the set are not in this edition and were left out:\n") +
                 read.missing.join(u'\n'),
             platform::box::IconWarning);
    return true;
}

bool TCompareWindow::eventFilter(QObject* watched, QEvent* event) {
    auto* view = qobject_cast<TSonogramView*>(watched);
    if (!view) return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::Wheel) {
        auto* wheel = static_cast<QWheelEvent*>(event);
        const double notches = wheel->angleDelta().y() / 120.0;
        if (notches == 0) return true;
        const double factor = std::pow(1.25, -notches);
        if (wheel->modifiers().testFlag(Qt::ControlModifier)) scale_.zoom_frequency(factor);
        else scale_.zoom_time(factor, view->seconds_at(static_cast<int>(wheel->position().x())));
        apply_scale();
        wheel->accept();
        return true;
    }
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        const bool in = key == Qt::Key_Plus || key == Qt::Key_Equal;
        if (in || key == Qt::Key_Minus) {
            scale_.zoom_time(in ? 1 / 1.5 : 1.5, std::clamp(view->playhead(), scale_.from(), scale_.to()));
            apply_scale();
            return true;
        }
        if (key == Qt::Key_Return || key == Qt::Key_Enter) return true;  // no larger view here
    }
    return QWidget::eventFilter(watched, event);
}

void TCompareWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    GLB_move_onto_screen(this);
}

void TCompareWindow::closeEvent(QCloseEvent* event) {
    stop();
    QWidget::closeEvent(event);
}

void TCompareWindow::choose(TListeningChoice::Choice choice) {
    listening_.choose(choice);
    listening_changed();
}

void TCompareWindow::listening_changed() {
    const std::optional<std::pair<double, double>> band =
        listening_.banded() ? listening_.band() : std::optional<std::pair<double, double>>();
    for (const auto& row : rows_) row->view->set_band(band);
    listening_label_->setText(QStringLiteral("Listening: ") + listening_.label());
    // A row playing now is heard the new way at once.
    if (Tsound_bar* playing = Tsound_bar::playing_button(); playing && playing->window() == this)
        apply_listening(*playing);
}

void TCompareWindow::apply_listening(Tsound_bar& bar) {
    TListeningChoice choice = listening_;
    choice.set_range(std::nullopt);
    std::int64_t offset = 0, length = 0;
    // Placed in the file the recording lies in (a part of a copied CD track
    // starts at its offset); none on a CD in the drive.
    if (!bar.recording_file().isEmpty()) {
        const Tcutpart& cut = bar.cut_part();
        offset = cut.is_sound_file ? 0 : cut.offset;
        length = cut.length;
    }
    platform::audio::mediaControl().setListening(choice.listening(offset, length));
}
