#pragma once

#include <QSlider>
#include <QWidget>

#include <optional>

// The small floating window with the program's volume slider.
class TVolume_control_form : public QWidget {
    Q_OBJECT
  public:
    // Shows itself at once when it was open at the end of the last session,
    // unless told to wait for restore_visibility().
    explicit TVolume_control_form(QWidget* mainWindow = nullptr, bool restoreVisibility = true);
    ~TVolume_control_form() override;

    // Moves the slider by n lines, upwards (louder) when `up`.
    void step(int n, bool up);
    // Shows the window when sound output works.
    void show_checked();
    // Shows the window when it was open at the end of the last session and
    // sound output works; else remembers it as closed.
    void restore_visibility();
    bool check_device();
    QSlider& trackbar() { return *trackbar_; }

    static TVolume_control_form* instance();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;

  private:
    void place();

    QSlider* trackbar_;
    QWidget* main_window_;
    bool restored_ = false;
    std::optional<bool> open_at_end_;
    QPoint placed_at_;
    bool placed_without_frame_ = false;
    QString kept_coordinates_;
};
