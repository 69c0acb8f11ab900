#include "listview/windows/sonogram_panel.h"
#include "listview/windows/window_placement.h"

#include "app/settings.h"
#include "app/settings_general.h"
#include "data/media_records.h"
#include "data/people_places.h"
#include "data/taxa.h"
#include "listview/windows/sound_bar.h"
#include "listview/windows/sound_bar_accessible.h"
#include "platform/dialog_service.h"
#include "sound/players.h"
#include "sound/sonogram.h"
#include "sound/windows/sonogram_view.h"

#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QToolButton>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace {

// How far the clock may carry the playhead past the engine's last report.
constexpr int kLongestGuessMs = 120;

}  // namespace

sonogram::Source TSonogramPanel::source_of(Tsound_bar& bar) {
    const Tcutpart& cut = bar.cut_part();
    sonogram::Source source{bar.recording_file()};
    if (!cut.is_sound_file) {
        // A part of a track copied from an audio CD, or still on the CD.
        source.from_ms = cut.offset;
        source.to_ms = cut.offset + cut.length;
        if (source.file.isEmpty() && dynamic_cast<TAudioCDTrackPlayer*>(bar.player())) {
            namespace g = settings::general;
            source.cd_drive = GLB_read_int(g::kSection, g::kAudioCdDrive, g::kAudioCdDriveDefault) - 1;
            source.cd_track = cut.track;
            if (cut.audio_cd) source.disc_identity = cut.audio_cd->identity_text;
        }
    }
    return source;
}

namespace {

QString speciesOf(const Tsound_bar& bar) {
    const Tspecies* species = bar.recording().species;
    if (!species) return {};
    if (species->common_name.isEmpty()) return species->scientific_name;
    return species->common_name + QStringLiteral(" (") + species->scientific_name + u')';
}

QString recordingOf(const Tsound_bar& bar) {
    const Tcutpart& cut = bar.cut_part();
    QStringList parts{QStringLiteral("Recording ") + cut.catalogue_text().trimmed()};
    if (cut.date > 0)
        parts << QStringLiteral("%1-%2-%3")
                     .arg(cut.date / 10000)
                     .arg(cut.date / 100 % 100, 2, 10, QChar(u'0'))
                     .arg(cut.date % 100, 2, 10, QChar(u'0'));
    if (cut.locality && !cut.locality->name.isEmpty()) parts << cut.locality->name;
    if (cut.recordist && !cut.recordist->name.isEmpty()) parts << cut.recordist->name;
    return parts.join(QStringLiteral(", "));
}

}  // namespace

TSonogramPanel::TSonogramPanel(sonogram::Cache& cache, QWidget* parent)
    : QWidget(parent), cache_(cache), view_(new TSonogramView(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(listening_bar(this, listening_label_));
    layout->addWidget(view_, 1);
    setMinimumHeight(120);
    view_->set_settings(stored_settings());
    view_->set_note(QStringLiteral("Play a recording to see its sonogram here."));
    connect_view(*view_);
    poll_.setTimerType(Qt::PreciseTimer);
    poll_.setInterval(16);
    connect(&poll_, &QTimer::timeout, this, &TSonogramPanel::poll);
}

TSonogramPanel::~TSonogramPanel() {
    delete window_.data();
}

sonogram::Settings TSonogramPanel::stored_settings() {
    namespace g = settings::general;
    sonogram::Settings s;
    s.palette = sonogram::palette_from_name(GLB_read_string(g::kSection, g::kSonogramColours, QStringLiteral("grey")));
    s.range_db = std::clamp(GLB_read_int(g::kSection, g::kSonogramRange, s.range_db), sonogram::kMinRangeDb,
                            sonogram::kMaxRangeDb);
    s.floor_db = GLB_read_int(g::kSection, g::kSonogramFloor, s.floor_db);
    s.max_frequency_hz = std::max(1000, GLB_read_int(g::kSection, g::kSonogramTop, s.max_frequency_hz));
    return s;
}

QWidget* TSonogramPanel::listening_bar(QWidget* parent, QLabel*& label) {
    auto* bar = new QWidget(parent);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(4, 1, 4, 1);
    auto* button = new QToolButton(bar);
    button->setText(QStringLiteral("Listening"));
    button->setPopupMode(QToolButton::InstantPopup);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    auto* menu = new QMenu(button);
    connect(menu, &QMenu::aboutToShow, this, [this, menu] { fill_listening_menu(*menu); });
    button->setMenu(menu);
    label = new QLabel(listening_label(), bar);
    label->setObjectName(QStringLiteral("listening"));
    row->addWidget(button);
    row->addWidget(label, 1);
    return bar;
}

QString TSonogramPanel::listening_label() const {
    return QStringLiteral("Listening: ") + listening_.label();
}

void TSonogramPanel::fill_listening_menu(QMenu& menu) {
    menu.clear();
    for (int i = 0; i < TListeningChoice::kChoices; ++i) {
        const auto choice = static_cast<TListeningChoice::Choice>(i);
        if (choice == TListeningChoice::Loop) menu.addSeparator();
        QAction* action = menu.addAction(TListeningChoice::name(choice), this, [this, choice] { this->choose(choice); });
        action->setCheckable(true);
        action->setChecked(listening_.chosen(choice));
    }
}

void TSonogramPanel::choose(TListeningChoice::Choice choice) {
    listening_.choose(choice);
    listening_changed();
}

void TSonogramPanel::set_listening(const TListeningChoice& choice) {
    listening_ = choice;
    listening_changed();
}

void TSonogramPanel::listening_changed() {
    const std::optional<std::pair<double, double>> band =
        listening_.banded() ? listening_.band() : std::optional<std::pair<double, double>>();
    std::optional<std::pair<double, double>> range = listening_.range();
    if (range && range->second < 0) range.reset();
    for (TSonogramView* view : {view_, window_ ? &window_->view() : nullptr}) {
        if (!view) continue;
        view->set_band(band);
        view->set_selection(range);
    }
    listening_label_->setText(listening_label());
    if (window_) window_->listening_label().setText(listening_label());
    // The engine hears of it when this window's recording plays (or none
    // does); another window's recording plays on as that window says.
    Tsound_bar* playing = Tsound_bar::playing_button();
    if (!playing) apply_listening(bar_);
    else if (playing->window() == window()) apply_listening(playing);
}

void TSonogramPanel::apply_listening(Tsound_bar* bar) {
    TListeningChoice choice = listening_;
    std::int64_t offset = 0, length = 0;
    if (bar) {
        // A range belongs to the recording shown; another loops whole.
        if (bar != bar_) choice.set_range(std::nullopt);
        const Tcutpart& cut = bar->cut_part();
        // The loop is placed in the file the recording lies in (a part of a
        // copied CD track starts at its offset); none on a CD in the drive.
        if (!bar->recording_file().isEmpty()) {
            offset = cut.is_sound_file ? 0 : cut.offset;
            length = cut.length;
        }
    }
    platform::audio::mediaControl().setListening(choice.listening(offset, length));
}

void TSonogramPanel::connect_view(TSonogramView& view) {
    connect(&view, &TSonogramView::selection_changed, this, [this, &view] {
        listening_.set_range(view.selection());
        listening_changed();
    });
    connect(&view, &TSonogramView::band_selected, this, [this](double low, double high) {
        listening_.set_band(low, high);
        listening_changed();
    });
    connect(&view, &TSonogramView::loop_start_requested, this, [this](double seconds) {
        listening_.set_loop_start(seconds);
        listening_changed();
    });
    connect(&view, &TSonogramView::loop_end_requested, this, [this](double seconds) {
        listening_.set_loop_end(seconds);
        listening_changed();
    });
    connect(&view, &TSonogramView::normal_listening_requested, this, [this] { choose(TListeningChoice::Normal); });
    connect(&view, &TSonogramView::seek_requested, this, &TSonogramPanel::seek);
    connect(&view, &TSonogramView::play_pause_requested, this, &TSonogramPanel::play_pause);
    connect(&view, &TSonogramView::larger_view_requested, this, [this] { open_larger_view(); });
}

void TSonogramPanel::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    view_->set_settings(stored_settings());
    poll();
    poll_.start();
}

void TSonogramPanel::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (!window_ || !window_->isVisible()) poll_.stop();
}

void TSonogramPanel::show_button(Tsound_bar* bar) {
    if (!bar) return;
    if (bar != bar_) {
        // A loop's range belongs to the recording it was chosen on.
        listening_.set_range(std::nullopt);
        listening_label_->setText(listening_label());
    }
    bar_ = bar;
    reported_ms_ = -1;
    const sonogram::Source source = source_of(*bar);
    const double seconds = bar->cut_part().length / 1000.0;
    const sonogram::Settings settings = stored_settings();
    std::shared_ptr<sonogram::Sonogram> shown;
    QString note;
    if (source.file.isEmpty() && source.cd_drive < 0) {
        note = QStringLiteral("This recording's sound cannot be found: play it to see its sonogram.");
    } else {
        shown = cache_.get(source, settings);
    }
    for (TSonogramView* view : {view_, window_ ? &window_->view() : nullptr}) {
        if (!view) continue;
        view->set_settings(settings);
        view->set_sonogram(shown, seconds);
        view->set_note(note);
    }
    if (window_) window_->set_caption(speciesOf(*bar), recordingOf(*bar));
    poll_.start();
}

double TSonogramPanel::position_seconds() {
    if (!bar_) return view_->playhead();
    TMCIDevicePlayer* player = bar_->player();
    int ms = 0;
    if (bar_->is_playing() && player && player->GetPosition(ms)) {
        if (ms != reported_ms_) {
            reported_ms_ = ms;
            since_report_.restart();
        }
        // Slowed, the sound moves on through the recording more slowly.
        const qint64 guess = std::llround(std::min<qint64>(since_report_.elapsed(), kLongestGuessMs) * listening_.rate());
        return (reported_ms_ + guess) / 1000.0;
    }
    reported_ms_ = -1;
    if (bar_->opened() && player && player->GetPosition(ms)) return ms / 1000.0;
    return bar_->bar().value() / 10.0;
}

void TSonogramPanel::poll() {
    Tsound_bar* playing = Tsound_bar::playing_button();
    if (playing && playing != bar_) show_button(playing);
    // What a screen reader says of the picture.
    sound_bar_accessibility::describe_sonogram(*view_, bar_, view_->current().get());
    if (!bar_) return;
    const bool isPlaying = bar_->is_playing();
    const double at = position_seconds();
    view_->set_playhead(at, isPlaying);
    if (window_) window_->view().set_playhead(at, isPlaying);
}

void TSonogramPanel::seek(double seconds) {
    if (!bar_) return;
    bar_->seek_to(static_cast<int>(std::lround(seconds * 1000)));
    reported_ms_ = -1;
    poll();
}

void TSonogramPanel::play_pause() {
    if (!bar_) return;
    bar_->click();
    poll();
}

TSonogramWindow* TSonogramPanel::open_larger_view(Tsound_bar* bar) {
    if (!window_) {
        window_ = new TSonogramWindow(this);
        connect_view(window_->view());
        window_->view().set_band(view_->band());
    }
    if (bar && bar != bar_) {
        show_button(bar);
    } else if (bar_) {
        window_->view().set_settings(view_->settings());
        window_->view().set_sonogram(view_->current(), bar_->cut_part().length / 1000.0);
        window_->set_caption(speciesOf(*bar_), recordingOf(*bar_));
    }
    window_->show();
    window_->raise();
    window_->activateWindow();
    poll_.start();
    return window_;
}

// ---------------------------------------------------------------------------

TSonogramWindow::TSonogramWindow(TSonogramPanel* owner)
    : QWidget(owner, Qt::Window), view_(new TSonogramView(this)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Sonogram"));
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    auto* exportButton = new QPushButton(QStringLiteral("Export as PNG..."), this);
    exportButton->setAutoDefault(false);
    connect(exportButton, &QPushButton::clicked, this, [this] { export_png(); });
    top->addWidget(exportButton);
    top->addWidget(owner->listening_bar(this, listening_label_), 1);
    layout->addLayout(top);
    layout->addWidget(view_, 1);
    resize(GLB_size_within_screen(this, QSize(1000, 420)));
}

void TSonogramWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    GLB_move_onto_screen(this);
}

void TSonogramWindow::set_caption(const QString& species, const QString& recording) {
    species_ = species;
    recording_ = recording;
    setWindowTitle(QStringLiteral("Sonogram: ") + species);
}

bool TSonogramWindow::export_png() {
    // The species as the file's name, in the pictures folder where there is one.
    QString directory = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (!QDir(directory).exists()) directory = QDir::homePath();
    QString suggested = species_.isEmpty() ? QStringLiteral("Sonogram") : species_;
    suggested.replace(QRegularExpression(QStringLiteral("[/\\\\:*?\"<>|]")), QStringLiteral("-"));
    const std::optional<QString> name = platform::DialogService::saveFileName(
        {QStringLiteral("Export as PNG"), QDir(directory).filePath(suggested + QStringLiteral(".png")),
         QStringLiteral("PNG images (*.png)")});
    if (!name || name->isEmpty()) return false;
    QString path = *name;
    if (!path.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive)) path += QStringLiteral(".png");
    const QImage image = view_->picture(devicePixelRatioF(), caption_lines());
    if (!image.save(path, "PNG")) {
        platform::DialogService::message(QStringLiteral("The picture could not be written to \"") +
                                             QDir::toNativeSeparators(path) + QStringLiteral("\"."),
                                         QStringLiteral("Export as PNG"), platform::box::IconStop);
        return false;
    }
    return true;
}
