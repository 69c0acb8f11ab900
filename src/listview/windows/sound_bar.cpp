#include "listview/windows/sound_bar.h"

#include "app/base_directory.h"
#include "app/messages.h"
#include "app/settings.h"
#include "app/settings_general.h"
#include "data/media_records.h"
#include "data/visibility_filter.h"
#include "formats/textfile.h"
#include "listview/list_fonts.h"
#include "listview/windows/show_form.h"
#include "listview/windows/sonogram_panel.h"
#include "listview/windows/sound_bar_accessible.h"
#include "listview/show_strings_data.h"
#include "listview/top_forms.h"
#include "platform/dialog_service.h"
#include "sound/players.h"
#include "sound/recording_paths.h"
#include "sound/sound_editor.h"

#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionButton>
#include <cmath>

namespace {

const QString kSection = QStringLiteral("SOUNDBARS");
Tsound_bar* globallyPlaying = nullptr;
std::vector<Tsound_bar*> allBars;

// A button made without the program's commands offers none of them.
TSoundBarCommands& noCommands() {
    static TSoundBarCommands none;
    return none;
}

QString text(int n) {
    return GLB_text(kSection, n);
}

const QFont& labelFont() {
    return GLB_list_fonts().font(1, -2, 0).font;
}

QString seconds(int tenths) {
    return QString::number(tenths / 10.0, 'f', 1);
}

constexpr QSize kGlyphSize(16, 14);

QPixmap drawGlyph(sound_bar_glyph::Kind kind, qreal ratio) {
    QPixmap pixmap(kGlyphSize * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const bool playing = kind == sound_bar_glyph::Playing || kind == sound_bar_glyph::PlayingCursor;
    const bool cursor = kind == sound_bar_glyph::NotPlayingCursor || kind == sound_bar_glyph::PlayingCursor;
    const QColor ink = cursor ? QColor(0, 0, 160) : QColor(0, 110, 0);
    if (playing) {
        // Two bars: a click pauses.
        p.fillRect(QRectF(4, 3, 3, 8), ink);
        p.fillRect(QRectF(9, 3, 3, 8), ink);
    } else {
        const QPointF triangle[] = {{5, 2.5}, {12, 7}, {5, 11.5}};
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        p.drawPolygon(triangle, 3);
    }
    return pixmap;
}

}  // namespace

const QPixmap& sound_bar_glyph::glyph(Kind kind) {
    static std::array<QPixmap, 4> glyphs;
    static qreal ratio = 0;
    const qreal wanted = qApp ? qApp->devicePixelRatio() >= 1.5 ? 2.0 : 1.0 : 1.0;
    if (ratio != wanted) {
        ratio = wanted;
        for (int k = 0; k < 4; ++k) glyphs[static_cast<std::size_t>(k)] = drawGlyph(static_cast<Kind>(k), ratio);
    }
    return glyphs[static_cast<std::size_t>(kind)];
}

const char* sound_bar_glyph::resource_name(Kind kind) {
    static constexpr const char* names[] = {"SOUNDBAR_BUTTON_NOT_PLAYING", "SOUNDBAR_BUTTON_PLAYING",
                                            "SOUNDBAR_BUTTON_NOT_PLAYING_CURSOR",
                                            "SOUNDBAR_BUTTON_PLAYING_CURSOR"};
    return names[kind];
}

// ---------------------------------------------------------------------------

TBitBtn_sound_bar::TBitBtn_sound_bar(Tsound_bar* owner) : QAbstractButton(owner), owner_(owner) {
    setFocusPolicy(Qt::ClickFocus);
    setObjectName(QStringLiteral("sound_bar_button"));
}

QSize TBitBtn_sound_bar::sizeHint() const {
    return kGlyphSize + QSize(4, 4);
}

void TBitBtn_sound_bar::paintEvent(QPaintEvent*) {
    QPainter p(this);
    QRect r = rect();
    if (isDown()) {
        p.setPen(palette().color(QPalette::Dark));
        p.setBrush(palette().color(QPalette::Button));
        p.drawRect(r.adjusted(0, 0, -1, -1));
        r.adjust(2, 2, -2, -2);
    } else {
        QStyleOptionButton option;
        option.initFrom(this);
        option.state |= QStyle::State_Raised;
        if (!isEnabled()) option.state &= ~QStyle::State_Enabled;
        style()->drawControl(QStyle::CE_PushButtonBevel, &option, &p, this);
        r.adjust(2, 2, -2, -2);
    }
    if (!owner_->shown()) return;
    const bool focused = hasFocus() || owner_->bar().hasFocus();
    using namespace sound_bar_glyph;
    Kind kind = owner_->is_playing() ? (focused || owner_->marked_by_show() ? PlayingCursor : Playing)
                                     : (focused ? NotPlayingCursor : NotPlaying);
    p.drawPixmap(r.topLeft(), glyph(kind));
    if (kind == PlayingCursor || kind == NotPlayingCursor) {
        // The keyboard's mark, in the button's own ink: black on a light
        // bevel, light on a dark (high-contrast) one.
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(palette().color(QPalette::ButtonText), 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(1.5, 0.5, 13, 12.5).translated(r.topLeft()));
    }
}

void TBitBtn_sound_bar::keyPressEvent(QKeyEvent* event) {
    owner_->key(event);
}

bool TBitBtn_sound_bar::event(QEvent* event) {
    // Arrows and Tab come here as keys, not as focus moves.
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            owner_->key(key);
            return true;
        }
    }
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) update();
    return QAbstractButton::event(event);
}

// ---------------------------------------------------------------------------

int Tsound_bar::bar_width(double seconds) {
    if (seconds <= 0) return 50;
    return std::max(50, static_cast<int>(std::lround(60.0 * std::log(seconds) + 20.0)));
}

const QFont& Tsound_bar::label_font() {
    return labelFont();
}

QString Tsound_bar::duration_label(const Tcutpart& cut) {
    return cut.length_is_file_length ? QString::number(std::lround(cut.length / 1000.0))
                                     : seconds(std::max(1, cut.length / 100));
}

int Tsound_bar::bar_width_for(const Tcutpart& cut) {
    const int tenths = std::max(1, cut.length / 100);
    // The three numbers over the bar (start, position, length) stay apart
    // however large the list's text: the bar is at least as wide as they are.
    const QFontMetrics metrics(labelFont());
    const int side = std::max(metrics.horizontalAdvance(QStringLiteral("0.0")),
                              metrics.horizontalAdvance(duration_label(cut)));
    const int labels = metrics.horizontalAdvance(seconds(tenths)) + 2 * side + 4;
    return std::max(bar_width(tenths / 10.0), labels);
}

int Tsound_bar::width_for(const Tcutpart& cut) {
    const int inset = cut.is_sound_file ? 0 : 1;
    const int glyph = kGlyphSize.width() + 4;  // the button's size hint
    // The bar starts 2 pixels after the button; the button ends on the
    // second pixel past the bar's last column.
    return inset + glyph + 2 + bar_width_for(cut) + 1;
}

Tsound_bar* Tsound_bar::playing_button() {
    return globallyPlaying;
}

Tsound_bar::Tsound_bar(QWidget* host, TRecordingButtonBlock& block, QPoint at,
                       const TClassSoundCarriersUseSpecification& carriers, bool rewindAtEnd,
                       TSoundBarCommands* commands)
    : QWidget(host), block_(&block), item_(block.recording), cut_(block.recording->cut_part),
      carriers_(carriers), commands_(commands ? *commands : noCommands()),
      rewind_at_end_(rewindAtEnd) {
    setObjectName(QStringLiteral("sound_bar"));
    on_cd_ = !cut_->is_sound_file;
    if (on_cd_) {
        const TaudioCD* cd = cut_->audio_cd;
        shown_ = cd && cd->sequence_number > 0 && cd->sequence_number < 256 &&
                 carriers.playable_audio_cds.test(static_cast<std::size_t>(cd->sequence_number));
    }
    player_ = GLB_make_player(*cut_, carriers);
    label_height_ = QFontMetrics(labelFont()).height() + 1 + (on_cd_ ? 1 : 0);

    button_ = new TBitBtn_sound_bar(this);
    bar_ = new QScrollBar(Qt::Horizontal, this);
    bar_->setFocusPolicy(Qt::ClickFocus);
    const int tenths = std::max(1, cut_->length / 100);
    const int barHeight = std::max(14, bar_->sizeHint().height());
    const QSize glyph = button_->sizeHint();
    // A recording on an audio CD has a frame around button and bar.
    const int inset = on_cd_ ? 1 : 0;
    button_->setGeometry(inset, label_height_, glyph.width(), barHeight);
    bar_->setGeometry(inset + glyph.width() + 2, label_height_, bar_width_for(*cut_), barHeight);
    bar_->setRange(0, tenths);
    bar_->setSingleStep(on_cd_ ? 10 : 5);
    bar_->setPageStep(std::min(20, tenths));
    bar_->setValue(std::clamp(block.saved_position, 0, tenths));
    button_->setVisible(shown_);
    bar_->setVisible(shown_);
    // The pen is where the button goes; the labels lie above it.
    setGeometry(QRect(at - QPoint(0, label_height_), QSize(width_for(*cut_), label_height_ + barHeight + 1)));
    // Made while the playlist window shows: it drags from the start.
    drag_enabled_ = Ttop_forms::instance().soundbar_dragging_enabled() && shown_;

    timer_.setInterval(200);
    connect(&timer_, &QTimer::timeout, this, &Tsound_bar::tick);
    connect(button_, &QAbstractButton::clicked, this, &Tsound_bar::button_clicked);
    connect(bar_, &QScrollBar::actionTriggered, this, [this](int) {
        // The action's value lands after this signal; act on it then.
        QTimer::singleShot(0, this, [this] { bar_moved(bar_->value()); });
    });
    connect(bar_, &QScrollBar::sliderReleased, this, [this] { bar_moved(bar_->value()); });
    connect(bar_, &QScrollBar::valueChanged, this, [this](int) { update(0, 0, width(), label_height_); });
    bar_->installEventFilter(this);
    button_->installEventFilter(this);
    Tsound_bars::add(this);
    show();
}

Tsound_bar::~Tsound_bar() {
    block_->saved_position = bar_->value();
    if (QWidget* f = form(); f && (button_->hasFocus() || bar_->hasFocus())) f->setFocus();
    if (globallyPlaying == this) globallyPlaying = nullptr;
    timer_.stop();
    player_.reset();
    Tsound_bars::remove(this);
}

TShowForm* Tsound_bar::form() const {
    for (QWidget* w = parentWidget(); w; w = w->parentWidget())
        if (auto* f = qobject_cast<TShowForm*>(w)) return f;
    return nullptr;
}

void Tsound_bar::select_own_line() {
    TShowForm* f = form();
    if (!f || !f->has_strings()) return;
    for (TRecordShowStringData* line = f->strings().model().first_line(); line; line = line->next)
        if (line->button_block.get() == block_) {
            if (f->strings().selected() != line) {
                f->strings().select_line(line);
                f->viewport()->update();
            }
            break;
        }
    button_->setFocus();
}

void Tsound_bar::highlight() {
    highlighted_ = true;
    if (shown_) button_->setFocus();
    button_->update();
    update();
}

void Tsound_bar::unhighlight() {
    highlighted_ = false;
    if (button_->hasFocus() || bar_->hasFocus())
        if (TShowForm* f = form()) f->setFocus();
    button_->update();
    update();
}

void Tsound_bar::mark_by_show(bool marked) {
    marked_ = marked;
    button_->update();
}

void Tsound_bar::button_clicked() {
    select_own_line();
    click();
}

void Tsound_bar::click() {
    if (!shown_) return;
    if (!opened_) {
        if (!open()) return;
        play();
    } else if (playing_) {
        pause();
    } else {
        play();
    }
}

QString Tsound_bar::recording_file() const {
    return GLB_recording_file(*cut_, carriers_);
}

bool Tsound_bar::open() {
    if (globallyPlaying && globallyPlaying != this) globallyPlaying->close_player();
    int length = cut_->length;
    bool ok = false;
    if (auto* cutPlayer = dynamic_cast<TCutPartFilePlayer*>(player_.get())) {
        const bool mp3Inside = cut_->compression_number >= 2 && cut_->compression_number <= 6;
        for (;;) {
            bool notFound = false;
            ok = cutPlayer->open_cut_part(recording_file(), mp3Inside, length, notFound);
            if (ok || !notFound || !GLB_ask_for_base_directory()) break;
        }
    } else if (auto* filePlayer = dynamic_cast<TSoundFilePlayer*>(player_.get())) {
        const QString path = recording_file();
        if (path.isEmpty()) {
            const TaudioCD* cd = cut_->audio_cd;
            const QString folder = cd ? QDir::toNativeSeparators(GLB_audio_CD_folder(*cd, cd->carried_on_disc)) : QString();
            GLB_show_message(text(6) + u' ' + QString::number(cut_->track) + u' ' + text(7) + folder + text(8),
                             platform::box::IconStop);
            return false;
        }
        bool notFound = false;
        ok = filePlayer->open_file(path, cut_->offset, length, notFound);
        if (!ok && notFound)
            GLB_show_message(text(17) + QStringLiteral(" \"") + QDir::toNativeSeparators(path) +
                                 QStringLiteral("\" ") + text(18),
                             platform::box::IconStop);
    } else if (auto* cdPlayer = dynamic_cast<TAudioCDTrackPlayer*>(player_.get())) {
        const int drive =
            GLB_read_int(settings::general::kSection, settings::general::kAudioCdDrive,
                         settings::general::kAudioCdDriveDefault);
        ok = cdPlayer->open_track(drive, length, cut_);
    }
    if (!ok) return false;
    opened_ = true;
    cut_->length = length;
    cut_->length_is_file_length = false;
    const int tenths = std::max(1, length / 100);
    bar_->setRange(0, tenths);
    bar_->setPageStep(std::min(20, tenths));
    if (bar_->value() != 0) player_->SeekTo(bar_->value() * 100);
    update();
    return true;
}

void Tsound_bar::play() {
    if (globallyPlaying && globallyPlaying != this) globallyPlaying->close_player();
    if (!opened_ && !open()) return;
    const bool fromStart = bar_->value() >= bar_->maximum() - 1;
    if (fromStart) bar_->setValue(0);
    // Heard as this window's sonogram panel says (slowed, looped, a band);
    // a window without one plays normally.
    if (TSonogramPanel* panel = window() ? window()->findChild<TSonogramPanel*>() : nullptr)
        panel->apply_listening(this);
    else if (auto* host = dynamic_cast<TListeningHost*>(window()))
        host->apply_listening(*this);
    else
        platform::audio::mediaControl().setListening({});
    if (!player_->SeekTo(bar_->value() * 100) || !player_->Play(false)) {
        close_player();
        return;
    }
    playing_ = true;
    timer_.start();
    globallyPlaying = this;
    button_->update();
    sound_bar_accessibility::playing_changed(*this);
}

void Tsound_bar::pause() {
    player_->stop();
    timer_.stop();
    playing_ = false;
    int position = 0;
    if (player_->GetPosition(position)) bar_->setValue(position / 100);
    button_->update();
    sound_bar_accessibility::playing_changed(*this);
}

void Tsound_bar::close_player() {
    if (playing_) timer_.stop();
    player_->Close();
    const bool wasPlaying = playing_;
    opened_ = false;
    playing_ = false;
    if (globallyPlaying == this) globallyPlaying = nullptr;
    button_->update();
    if (wasPlaying) sound_bar_accessibility::playing_changed(*this);
}

void Tsound_bar::tick() {
    if (timer_busy_) return;
    timer_busy_ = true;
    if (!player_->opened()) {
        timer_.stop();
    } else {
        int position = 0;
        if (player_->GetPosition(position)) bar_->setValue(position / 100);
        bool ended = false;
        if (dynamic_cast<TCutPartFilePlayer*>(player_.get()))
            ended = bar_->value() >= bar_->maximum() - 1 || !player_->is_playing();
        else if (dynamic_cast<TSoundFilePlayer*>(player_.get()))
            ended = bar_->value() >= bar_->maximum() || !player_->is_playing();
        else
            ended = !player_->is_playing();
        if (ended) {
            timer_.stop();
            if (rewind_at_end_) bar_->setValue(0);
            close_player();
        }
    }
    timer_busy_ = false;
}

void Tsound_bar::bar_moved(int value) {
    update(0, 0, width(), label_height_);
    if (playing_) {
        timer_.stop();
        player_->stop();
        player_->SeekTo(value * 100);
        if (player_->Play(false)) timer_.start();
        else close_player();
    } else if (opened_) {
        player_->SeekTo(value * 100);
    }
    select_own_line();
}

void Tsound_bar::seek_to(int ms) {
    const int length = opened_ ? bar_->maximum() * 100 : std::max(0, cut_->length);
    ms = std::clamp(ms, 0, std::max(0, length));
    {
        const QSignalBlocker quiet(bar_);
        bar_->setValue(std::min(ms / 100, bar_->maximum()));
    }
    if (playing_) {
        timer_.stop();
        player_->stop();
        player_->SeekTo(ms);
        if (player_->Play(false)) timer_.start();
        else close_player();
    } else if (opened_) {
        player_->SeekTo(ms);
    }
    update(0, 0, width(), label_height_);
}

void Tsound_bar::key(QKeyEvent* event) {
    const bool shift = event->modifiers().testFlag(Qt::ShiftModifier);
    const int k = event->key();
    // A modifier pressed on its own comes before the key it modifies: the
    // focus stays, or Shift+Right could never reach the button.
    switch (k) {
        case Qt::Key_Shift:
        case Qt::Key_Control:
        case Qt::Key_Alt:
        case Qt::Key_AltGr:
        case Qt::Key_Meta:
        case Qt::Key_Super_L:
        case Qt::Key_Super_R:
        case Qt::Key_CapsLock:
        case Qt::Key_NumLock:
            return;
        default:
            break;
    }
    if (k == Qt::Key_Space && !shift) {
        button_clicked();
        return;
    }
    static constexpr int seekKeys[] = {Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_End, Qt::Key_Home,
                                       Qt::Key_Left,   Qt::Key_Up,       Qt::Key_Right, Qt::Key_Down};
    const bool seekKey = std::find(std::begin(seekKeys), std::end(seekKeys), k) != std::end(seekKeys);
    if (!seekKey || !shift) {
        if (TShowForm* f = form()) {
            f->setFocus();
            QKeyEvent copy(event->type(), k, event->modifiers(), event->text());
            QApplication::sendEvent(f, &copy);
        }
        return;
    }
    int value = bar_->value();
    switch (k) {
        case Qt::Key_PageUp: value -= bar_->pageStep(); break;
        case Qt::Key_PageDown: value += bar_->pageStep(); break;
        case Qt::Key_End: value = bar_->maximum(); break;
        case Qt::Key_Home: value = 0; break;
        case Qt::Key_Right:
        case Qt::Key_Down: value += bar_->singleStep(); break;
        default: value -= bar_->singleStep(); break;
    }
    const bool wasPlaying = playing_;
    if (wasPlaying) pause();
    bar_->setValue(std::clamp(value, 0, bar_->maximum()));
    if (opened_) player_->SeekTo(bar_->value() * 100);
    if (wasPlaying) play();
    update(0, 0, width(), label_height_);
}

bool Tsound_bar::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ContextMenu) {
        show_context_menu(static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
    }
    if (watched == bar_ && event->type() == QEvent::KeyPress) {
        key(static_cast<QKeyEvent*>(event));
        return true;
    }
    if (watched == bar_ && drag_press(event)) return true;
    if (watched == bar_ && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut))
        button_->update();
    return QWidget::eventFilter(watched, event);
}

bool Tsound_bar::drag_press(QEvent* event) {
    // While the bar can be dragged onto the playlist a press may be the
    // start of a drag, which must leave the position alone: the bar sees the
    // press only when the button comes up again without a drag.
    const auto mouse = [event] { return static_cast<QMouseEvent*>(event); };
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            if (replaying_press_ || !drag_enabled_ || mouse()->button() != Qt::LeftButton) return false;
            press_at_ = mouse()->position().toPoint();
            press_pending_ = true;
            return true;
        case QEvent::MouseMove:
            if (!press_pending_) return false;
            if (!(mouse()->buttons() & Qt::LeftButton)) {
                press_pending_ = false;
                return false;
            }
            if ((mouse()->position().toPoint() - press_at_).manhattanLength() <
                QApplication::startDragDistance())
                return true;
            press_pending_ = false;
            commands_.start_drag(bar_, *item_, block_->recording_number);
            return true;
        case QEvent::MouseButtonRelease: {
            if (!press_pending_ || mouse()->button() != Qt::LeftButton) return false;
            press_pending_ = false;
            // No drag: the press was a click on the bar after all.
            QMouseEvent press(QEvent::MouseButtonPress, QPointF(press_at_),
                              bar_->mapToGlobal(QPointF(press_at_)), Qt::LeftButton, Qt::LeftButton,
                              mouse()->modifiers());
            replaying_press_ = true;
            QApplication::sendEvent(bar_, &press);
            replaying_press_ = false;
            return false;
        }
        default:
            return false;
    }
}

void Tsound_bar::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (!shown_) {
        if (highlighted_) p.fillRect(rect(), QColor(0, 255, 255));
        return;
    }
    // The numbers take the ink of what they stand on: the list's black, a
    // dark window's light text.
    const QColor ink = palette().color(QPalette::WindowText);
    if (on_cd_) {
        p.setPen(ink);
        p.drawRect(QRect(0, label_height_ - 1, bar_->geometry().right() + 1, bar_->height() + 1));
        // (the rectangle's right and bottom lines lie one pixel outside the bar)
    }
    if (label_height_ == 0) return;
    p.setFont(labelFont());
    p.setPen(ink);
    const QRect bar = bar_->geometry();
    const QRect labels(bar.left(), 0, bar.width(), label_height_);
    p.drawText(labels, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("0.0"));
    p.drawText(labels, Qt::AlignHCenter | Qt::AlignVCenter, seconds(bar_->value()));
    p.drawText(labels, Qt::AlignRight | Qt::AlignVCenter, duration_label(*cut_));
}

QString Tsound_bar::info_text() const {
    // The file as it lies on disk: its letter case is part of its name here.
    if (cut_->is_sound_file) return text(9) + QStringLiteral(": ") + QDir::toNativeSeparators(recording_file());
    const TaudioCD* cd = cut_->audio_cd;
    QString s = text(10) + QStringLiteral(" \"") + (cd ? cd->full_title : QString()) + QStringLiteral("\"\n") +
                text(11) + u' ' + QString::number(cut_->track);
    if (cut_->offset > 0)
        s += QStringLiteral(", ") + text(12) + u' ' + QString::asprintf("%.1f", cut_->offset / 1000.0) + u' ' + text(13);
    s += QStringLiteral(", ") + text(14) + u' ' + QString::asprintf("%.1f", cut_->length / 1000.0) + u' ' +
         text(13) + u'.';
    if (GLB_available_as_file(*cut_, carriers_)) {
        const QString file = recording_file();
        const bool present = !file.isEmpty() && QFileInfo::exists(file);
        s += u'\n' + (present ? text(16) : text(15)) + QStringLiteral(" '") + QDir::toNativeSeparators(file) +
             QStringLiteral("'.");
    }
    return s;
}

void Tsound_bar::open_in_sound_editor() {
    if (!QFileInfo(GLB_sound_editor().program).isFile() && !GLB_choose_sound_editor(text(3))) return;
    if (!GLB_start_sound_editor(recording_file())) {
        platform::DialogService::message(
            QStringLiteral("Either the sound editing program is not present, or its file name is incorrect.\n"
                           "If you are looking for a good program: Adobe's Audition is excellent.\n"
                           "If the file name is incorrect: please correct it in the Options dialog."),
            QStringLiteral("Error when executing program"), platform::box::IconStop);
    }
    highlight();
}

void Tsound_bar::show_context_menu(QPoint globalPos) {
    QMenu menu(this);
    menu.addAction(text(2) + QStringLiteral("..."), this,
                   [this] { GLB_show_message(info_text(), platform::box::Plain); });
    QAction* editor = menu.addAction(text(3), this, [this] { open_in_sound_editor(); });
    editor->setEnabled(GLB_available_as_file(*cut_, carriers_));
    QAction* playlist = menu.addAction(text(4), this, [this] {
        commands_.add_to_playlist(*item_, block_->recording_number);
    });
    playlist->setEnabled(commands_.can_add_to_playlist());
    QAction* mp3 = menu.addAction(text(5) + QStringLiteral("..."), this,
                                  [this] { commands_.copy_mp3(this, *item_); });
    mp3->setEnabled(GLB_available_as_file(*cut_, carriers_) && commands_.can_copy_mp3(*item_));
    QAction* compare = menu.addAction(QStringLiteral("Add to comparison"), this,
                                      [this] { commands_.add_to_comparison(this, *item_); });
    compare->setEnabled(commands_.can_add_to_comparison());
    TSonogramPanel* sonograms = window() ? window()->findChild<TSonogramPanel*>() : nullptr;
    QAction* sonogram = menu.addAction(QStringLiteral("Sonogram..."), this, [this, sonograms] {
        if (sonograms) sonograms->open_larger_view(this);
    });
    // A part still on the CD is read from the disc in the drive.
    sonogram->setEnabled(sonograms != nullptr);
    if (sonograms) sonograms->fill_listening_menu(*menu.addMenu(QStringLiteral("Listening")));
    menu.exec(globalPos);
}

// ---------------------------------------------------------------------------

void Tsound_bars::add(Tsound_bar* bar) {
    allBars.push_back(bar);
}

void Tsound_bars::remove(Tsound_bar* bar) {
    std::erase(allBars, bar);
}

const std::vector<Tsound_bar*>& Tsound_bars::all() {
    return allBars;
}

std::unique_ptr<TRecordingButton> TSoundBarFactory::create(QWidget* host, TRecordingButtonBlock& block,
                                                           QPoint viewPoint) {
    if (!block.recording || !block.recording->cut_part) return nullptr;
    const TShowForm* form = nullptr;
    for (QWidget* w = host; w && !form; w = w->parentWidget()) form = qobject_cast<TShowForm*>(w);
    if (!form || !form->has_strings()) return nullptr;
    const auto& carriers = form->strings().model().settings().visible_set.carriers;
    return std::make_unique<Tsound_bar>(host, block, viewPoint, carriers, true, &commands_);
}

int TSoundBarFactory::width_for(const TRecordingButtonBlock& block) const {
    return block.recording && block.recording->cut_part
               ? Tsound_bar::width_for(*block.recording->cut_part)
               : 0;
}
