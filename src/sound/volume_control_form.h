#pragma once

#include <QSlider>
#include <QWidget>

// The small stay-on-top window with the program's volume slider.
class TVolume_control_form : public QWidget {
    Q_OBJECT
  public:
    explicit TVolume_control_form(QWidget* mainWindow = nullptr);
    ~TVolume_control_form() override;

    // Moves the slider by n lines, upwards (louder) when `up`.
    void step(int n, bool up);
    // Shows the window when sound output works.
    void show_checked();
    bool check_device();
    QSlider& trackbar() { return *trackbar_; }

    static TVolume_control_form* instance();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;

  private:
    QSlider* trackbar_;
    QWidget* main_window_;
};
