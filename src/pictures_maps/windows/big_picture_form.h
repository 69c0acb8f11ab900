#pragma once

#include "pictures_maps/big_picture_model.h"

#include <QHash>
#include <QImage>
#include <QPointer>
#include <QTimer>
#include <QToolButton>
#include <QWidget>
#include <array>
#include <functional>

class QLabel;
class QPushButton;
class QScrollBar;
class TPictureInfoForm;
class TListActions;

// The text a caller gives for a picture: the window caption, and the
// caption of a map window opened from the picture's information.
using TPictureCaptionCallback =
    std::function<QString(const Tbig_picture& picture, QString& mapCaption, quintptr context)>;

// A picture button: never takes the focus, so keys reach the window.
class TBitBtn_picture : public QToolButton {
  public:
    TBitBtn_picture(const QString& glyphResource, QWidget* parent);
};

// The glyph of a picture button, drawn for 1× and 2× screens.
QIcon GLB_picture_button_glyph(const QString& resourceName);

// One big picture at a time, scaled to the window or zoomed, with buttons
// for the taxon's other pictures, zoom, information and credit.
class TBigPictureForm : public QWidget {
    Q_OBJECT

  public:
    // The picture's locality link and its credit open their windows through
    // `actions` (the program's list actions); without them they open none.
    explicit TBigPictureForm(QWidget* refocus = nullptr, TListActions* actions = nullptr);
    ~TBigPictureForm() override;

    // Sets what to show (the taxon's first picture when none is given) and
    // finds its file, asking for the base directory while it is missing.
    // False when the user gave up: the caller frees the window unshown.
    bool prepare(const TPictureTaxon& taxon, const Tbig_picture* picture,
                 TPictureCaptionCallback callback = {}, quintptr context = 0);
    void set_only_this_picture(bool only) { only_this_picture_ = only; }
    void set_information_allowed(bool allowed) { information_allowed_ = allowed; }

    // Shows the window maximised with its picture.
    void show_picture();
    // Previous or next picture of the taxon; false when there is none or
    // it cannot be loaded (the current one stays).
    bool go(bool forward);
    // Shows another picture, of this or another taxon; false when it cannot
    // be loaded (the current one stays).
    bool change_to(const TPictureTaxon& taxon, const Tbig_picture& picture);
    // The picture's information or its photographer's window shows.
    bool information_windows_showing() const;
    void zoom_by(double step);
    void show_information();
    void show_credit();
    void choose_background_colour();

    const Tbig_picture* current() const { return current_; }
    double factor() const { return info().factor; }
    QSize picture_size() const { return image_.size(); }
    QPoint scroll_position() const;
    void scroll_to(QPoint position);
    QWidget* control(big_picture::Control which) const { return controls_[which]; }
    // The control's Tag: whether it may show.
    bool control_allowed(big_picture::Control which) const { return allowed_[which]; }
    TPictureInfoForm* information_window() const { return info_form_; }
    QLabel* factor_label() const { return label_resize_factor_; }
    // The rectangle the picture was last drawn into.
    QRect drawn_rect() const { return drawn_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    QString path_of(const Tbig_picture& picture) const;
    bool load_picture();
    void set_caption();
    void set_allowed_controls();
    void lay_out_controls();
    void show_controls(bool show);
    // The part of the client area above the row of controls, where the
    // information and photographer windows go.
    QSize information_room();
    void place_information_windows();
    void on_timer();
    bool maximised_view() const;
    QSize available_size() const;
    QSize view_size() const;
    void update_scroll_ranges();
    void set_factor(double factor);
    void hide_information_windows();
    TPictureDisplayInfoClass& info();
    const TPictureDisplayInfoClass& info() const;

    QPointer<QWidget> refocus_;
    TListActions* actions_;
    TPictureTaxon taxon_;
    const Tbig_picture* current_ = nullptr;
    TPictureCaptionCallback callback_;
    quintptr context_ = 0;
    bool only_this_picture_ = false;
    bool information_allowed_ = true;
    QImage image_;
    double aspect_ = 1.0;
    bool fits_ = false;
    bool maximised_ = false;
    bool arrow_held_ = false;
    bool person_shown_ = false;
    QString map_caption_;
    QRect drawn_;
    QHash<QString, TPictureDisplayInfoClass> display_infos_;
    TPictureDisplayInfoClass no_info_;

    std::array<QWidget*, big_picture::kControlCount> controls_{};
    std::array<bool, big_picture::kControlCount> allowed_{};
    QPushButton* background_color_button_ = nullptr;
    QLabel* label_resize_factor_ = nullptr;
    QScrollBar* horizontal_ = nullptr;
    QScrollBar* vertical_ = nullptr;
    QTimer timer_show_controls_;
    TPictureInfoForm* info_form_ = nullptr;
};

// Opens the window on the taxon's first picture; nothing opens when the
// user gives up looking for the file. The window frees itself on close.
TBigPictureForm* OpenBigPictureWindow(const TPictureTaxon& taxon, QWidget* refocus,
                                      TListActions* actions, TPictureCaptionCallback callback = {},
                                      quintptr context = 0);

// The unit's texts, read once ("BS_PICTURES", entries 0 to 9).
QString GLB_picture_text(int entry);
