#pragma once

#include "sound/sonogram.h"

#include <QElapsedTimer>
#include <QImage>
#include <QTimer>
#include <QWidget>
#include <memory>
#include <optional>

// A sonogram with its axes (seconds below, kHz at the left), the playhead
// and a selected time range. It draws what is ready, never waits for the
// worker, and follows the playhead by turning pages. Clicks, drags, the
// wheel and the keys become requests its owner carries out on the player.
class TSonogramView : public QWidget {
    Q_OBJECT
  public:
    explicit TSonogramView(QWidget* parent = nullptr);

    void set_sonogram(std::shared_ptr<sonogram::Sonogram> sonogram, double seconds);
    const std::shared_ptr<sonogram::Sonogram>& current() const { return sonogram_; }
    void set_settings(const sonogram::Settings& settings);
    const sonogram::Settings& settings() const { return settings_; }
    // A text shown in the plot instead of (or over) the picture.
    void set_note(const QString& text);
    QString shown_message() const;

    // Where the sound is; while playing the view keeps it in sight.
    void set_playhead(double seconds, bool playing);
    double playhead() const { return playhead_; }
    bool follows() const { return playing_; }

    double view_from() const { return from_; }
    double view_to() const { return to_; }
    double top_hz() const { return top_hz_; }
    void set_view(double from, double to);
    void zoom_time(double factor, double around);
    void zoom_frequency(double factor);
    // Views stacked on one scale reach past their own recording: the time
    // axis up to `seconds`, the frequency axis up to `hz` (0: the
    // recording's own length and highest frequency).
    void set_scale_limits(double seconds, double hz);
    std::optional<std::pair<double, double>> selection() const { return selection_; }
    void set_selection(std::optional<std::pair<double, double>> range);
    // The band heard alone (Hz), drawn across the plot; Shift+drag selects it.
    std::optional<std::pair<double, double>> band() const { return band_; }
    void set_band(std::optional<std::pair<double, double>> band);
    double hz_at(int y) const;
    int y_of(double hz) const;
    // The last paint showed every column it needed.
    bool picture_complete() const { return base_valid_ && base_complete_; }

    // The plot's rectangle in the widget and the time at an x inside it.
    QRect plot_rect() const;
    double seconds_at(int x) const;
    int x_of(double seconds) const;

    // The view as drawn, with axes, at `ratio` device pixels a pixel, and
    // the given lines written under it.
    QImage picture(qreal ratio, const QStringList& captionLines) const;

  signals:
    void seek_requested(double seconds);
    void play_pause_requested();
    void larger_view_requested();
    // A time range dragged (or cleared by a click).
    void selection_changed();
    void band_selected(double lowHz, double highHz);
    // "[" and "]": the loop's start and end at the playhead; Esc: normal listening.
    void loop_start_requested(double seconds);
    void loop_end_requested(double seconds);
    void normal_listening_requested();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void frame();
    double duration() const;
    double nyquist() const;
    void clamp_view();
    // Draws the plot and axes into `image` (the widget's size times its ratio).
    bool draw_base(QImage& image, QSize size, qreal ratio) const;

    std::shared_ptr<sonogram::Sonogram> sonogram_;
    sonogram::Settings settings_;
    QString note_;
    double seconds_ = 0;  // the recording's length as the player knows it
    double from_ = 0;
    double to_ = 10;
    double top_hz_ = 12000;
    double limit_seconds_ = 0;
    double limit_hz_ = 0;
    double playhead_ = 0;
    bool playing_ = false;
    std::optional<std::pair<double, double>> selection_;
    std::optional<std::pair<double, double>> band_;
    std::optional<QPoint> press_;
    bool dragging_ = false;
    bool band_drag_ = false;

    // The plot and axes as last drawn; a paint draws it and the playhead.
    QImage base_;
    bool base_valid_ = false;
    bool base_complete_ = false;
    int base_ready_tiles_ = -1;
    QTimer frame_timer_;
};
