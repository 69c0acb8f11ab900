#pragma once

#include "listview/windows/show_strings.h"

#include <QAbstractButton>
#include <QMenu>
#include <QScrollBar>
#include <QTimer>
#include <memory>

class TMCIDevicePlayer;
class Tcutpart;
class TShowForm;
class TClassSoundCarriersUseSpecification;

// Commands of a recording button that later parts of the program provide:
// adding the recording to the playlist, writing an MP3 copy, and dragging
// the bar onto the playlist. Until they are installed the menu items stay
// disabled and the bar does not drag.
class TSoundBarCommands {
  public:
    virtual ~TSoundBarCommands() = default;
    virtual bool can_add_to_playlist() const { return false; }
    virtual void add_to_playlist(const Tcupaitem& recording, int recordingNumber) {
        (void)recording, (void)recordingNumber;
    }
    virtual bool can_copy_mp3(const Tcupaitem& recording) const {
        (void)recording;
        return false;
    }
    // The copy's tag names the taxon as the list of the button `source` names it.
    virtual void copy_mp3(QWidget* source, const Tcupaitem& recording) {
        (void)source, (void)recording;
    }
    virtual void start_drag(QWidget* source, const Tcupaitem& recording, int recordingNumber) {
        (void)source, (void)recording, (void)recordingNumber;
    }
    // The comparison window's "Add to comparison".
    virtual bool can_add_to_comparison() const { return false; }
    virtual void add_to_comparison(QWidget* source, const Tcupaitem& recording) { (void)source, (void)recording; }
};

// The glyphs of the play button, drawn once for the screen's pixel ratio.
namespace sound_bar_glyph {
enum Kind { NotPlaying, Playing, NotPlayingCursor, PlayingCursor };
const QPixmap& glyph(Kind kind);
const char* resource_name(Kind kind);
}  // namespace sound_bar_glyph

class Tsound_bar;

// The play/stop button of a recording button.
class TBitBtn_sound_bar : public QAbstractButton {
    Q_OBJECT
  public:
    explicit TBitBtn_sound_bar(Tsound_bar* owner);
    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;

  private:
    Tsound_bar* owner_;
};

// A recording's button: the play button, the position bar and the time
// labels above it, with the player that plays the recording.
// A window without a sonogram panel that still says how its recordings are
// heard (slowed, a band alone): asked when one of its buttons plays.
class TListeningHost {
  public:
    virtual void apply_listening(Tsound_bar& bar) = 0;

  protected:
    ~TListeningHost() = default;
};

class Tsound_bar : public QWidget, public TRecordingButton {
    Q_OBJECT
  public:
    Tsound_bar(QWidget* host, TRecordingButtonBlock& block, QPoint at,
               const TClassSoundCarriersUseSpecification& carriers, bool rewindAtEnd = true,
               TSoundBarCommands* commands = nullptr);
    ~Tsound_bar() override;

    int position_tenths() const override { return bar_->value(); }
    int total_width() const override { return width(); }
    void highlight() override;
    void unhighlight() override;

    // Play or pause.
    void click();
    bool opened() const { return opened_; }
    bool is_playing() const { return playing_; }
    bool shown() const { return shown_; }
    void mark_by_show(bool marked);
    void set_drag_enabled(bool enabled) { drag_enabled_ = enabled && shown_; }
    bool drag_enabled() const { return drag_enabled_; }
    void close_player();

    QScrollBar& bar() { return *bar_; }
    const QScrollBar& bar() const { return *bar_; }
    TBitBtn_sound_bar& button() { return *button_; }
    TMCIDevicePlayer* player() { return player_.get(); }
    const Tcutpart& cut_part() const { return *cut_; }
    const Tcupaitem& recording() const { return *item_; }
    // The recording's number within its species, as its row shows it.
    int recording_number() const { return block_->recording_number; }
    // The file the recording is in; empty for an audio CD in the drive.
    QString recording_file() const;
    // Moves the playhead (ms from the recording's start), playing on from
    // there when it plays.
    void seek_to(int ms);
    bool marked_by_show() const { return marked_; }

    // The bar's width for a duration: max(50, round(60 × ln(seconds) + 20)).
    static int bar_width(double seconds);
    // The width of the button of a recording: glyph, position bar and the
    // frame of a recording on an audio CD.
    static int width_for(const Tcutpart& cut);
    // The position bar's width: the duration's, or the numbers' over it when
    // the list's text makes them wider.
    static int bar_width_for(const Tcutpart& cut);
    // The numbers over the bar: their font and the recording's length.
    static const QFont& label_font();
    static QString duration_label(const Tcutpart& cut);
    // The recording button that plays now, in any window.
    static Tsound_bar* playing_button();

    // Seeking keys (with Shift) and keys for the list (without).
    void key(QKeyEvent* event);
    void button_clicked();
    void show_context_menu(QPoint globalPos);

  protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool open();
    void play();
    void pause();
    void tick();
    void bar_moved(int value);
    void select_own_line();
    // Holds a press on the bar back while it may become a drag; true when
    // the event is taken.
    bool drag_press(QEvent* event);
    TShowForm* form() const;
    QString info_text() const;
    void open_in_sound_editor();

    TRecordingButtonBlock* block_;
    const Tcupaitem* item_;
    Tcutpart* cut_;
    const TClassSoundCarriersUseSpecification& carriers_;
    TSoundBarCommands& commands_;  // the playlist and MP3 copies
    std::unique_ptr<TMCIDevicePlayer> player_;
    TBitBtn_sound_bar* button_;
    QScrollBar* bar_;
    QTimer timer_;
    int label_height_ = 0;
    bool shown_ = true;
    bool on_cd_ = false;
    bool opened_ = false;
    bool playing_ = false;
    bool marked_ = false;
    bool timer_busy_ = false;
    bool rewind_at_end_ = true;
    bool drag_enabled_ = false;
    bool highlighted_ = false;
    bool press_pending_ = false;
    bool replaying_press_ = false;
    QPoint press_at_;
};

// The recording buttons alive in all windows.
class Tsound_bars {
  public:
    static void add(Tsound_bar* bar);
    static void remove(Tsound_bar* bar);
    static const std::vector<Tsound_bar*>& all();
};

// Makes a Tsound_bar for each recording line a list paints.
// Its buttons' menus and drags reach the playlist and the MP3 copies
// through `commands`, which must outlive them.
class TSoundBarFactory : public TRecordingButtonFactory {
  public:
    explicit TSoundBarFactory(TSoundBarCommands& commands) : commands_(commands) {}
    std::unique_ptr<TRecordingButton> create(QWidget* host, TRecordingButtonBlock& block,
                                             QPoint viewPoint) override;
    int width_for(const TRecordingButtonBlock& block) const override;

  private:
    TSoundBarCommands& commands_;
};
