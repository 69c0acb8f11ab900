#pragma once

#include "sound/listening_choice.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <QWidget>

class QLabel;
class QMenu;
class Tsound_bar;
class TSonogramView;
class TSonogramWindow;
namespace sonogram {
class Cache;
struct Settings;
struct Source;
}  // namespace sonogram

// The strip at the bottom of a list window: the sonogram of the recording
// that plays or played last, its playhead following the sound. A click
// seeks, Space plays and pauses the recording's own button; Enter (or the
// button's menu) opens the same in a larger window. Its listening choice
// (slowed, lowered, a loop, a band) applies to the window's recordings.
class TSonogramPanel : public QWidget {
    Q_OBJECT
  public:
    TSonogramPanel(sonogram::Cache& cache, QWidget* parent);
    ~TSonogramPanel() override;

    TSonogramView& view() { return *view_; }
    Tsound_bar* shown_button() const { return bar_; }
    // Shows the recording of a button (the playing one is taken by itself).
    void show_button(Tsound_bar* bar);
    // The larger view of a button's recording (of the shown one without).
    TSonogramWindow* open_larger_view(Tsound_bar* bar = nullptr);
    TSonogramWindow* larger_view() const { return window_; }
    // The settings from the Options (colours, dB range and floor, top frequency).
    static sonogram::Settings stored_settings();
    // What a recording button's sonogram is made from: its file (or the part
    // of a copied CD track), or the part of a track on the CD in the drive.
    static sonogram::Source source_of(Tsound_bar& bar);

    // How this window's recordings are heard (remembered with the window).
    const TListeningChoice& listening() const { return listening_; }
    void set_listening(const TListeningChoice& choice);
    void choose(TListeningChoice::Choice choice);
    // The choices, checkable, for the panel's button and a recording button's menu.
    void fill_listening_menu(QMenu& menu);
    // Tells the sound engine how the button's recording, about to play, is heard.
    void apply_listening(Tsound_bar* bar);
    QString listening_label() const;

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    friend class TSonogramWindow;
    void poll();
    void seek(double seconds);
    void play_pause();
    void connect_view(TSonogramView& view);
    double position_seconds();
    void listening_changed();
    QWidget* listening_bar(QWidget* parent, QLabel*& label);

    sonogram::Cache& cache_;
    TSonogramView* view_;
    QPointer<Tsound_bar> bar_;
    QPointer<TSonogramWindow> window_;
    TListeningChoice listening_;
    QLabel* listening_label_ = nullptr;
    QTimer poll_;
    // The engine reports positions in steps of its output buffers; between
    // them the playhead moves on by the clock.
    int reported_ms_ = -1;
    QElapsedTimer since_report_;
};

// A larger view of a sonogram in a window of its own, which exports what
// it shows as a PNG with the axes, the species and the recording named.
class TSonogramWindow : public QWidget {
    Q_OBJECT
  public:
    explicit TSonogramWindow(TSonogramPanel* owner);
    TSonogramView& view() { return *view_; }
    QLabel& listening_label() { return *listening_label_; }
    void set_caption(const QString& species, const QString& recording);
    QStringList caption_lines() const { return {species_, recording_}; }
    // "Export as PNG...": asks for the file name; true when written.
    bool export_png();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    TSonogramView* view_;
    QLabel* listening_label_ = nullptr;
    QString species_;
    QString recording_;
};
