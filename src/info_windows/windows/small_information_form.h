#pragma once

#include "listview/formatted_text.h"

#include <QWidget>

struct TTextMeasurer;

// A small borderless window that explains something in the species list: a
// child of the list it belongs to, drawn in the list font inside a black
// frame, placed at the point the user clicked.
class TSmallInformationForm : public QWidget {
    Q_OBJECT
  public:
    explicit TSmallInformationForm(QWidget* host);

  protected:
    // Sizes and places the window at the point (host coordinates) and shows it.
    void show_at(QPoint at, QSize size, bool keepFromLeftTop = false);
    int line_height() const;
    // Draws a text at x = 10 with its first baseline at `firstBaseline`.
    void draw_text(TTextCanvas& canvas, const QString& text, int firstBaseline);
    // The baseline of the first of `lines` lines centred in the window's
    // line-height margins.
    int centred_first_baseline(const TTextCanvas& canvas) const;

    virtual void paint_text(TTextCanvas& canvas) = 0;
    void paintEvent(QPaintEvent* event) override;

    TLinkRegister links_;
};

// An information window with one link: the cursor shows it, a press on it
// opens its address by the program's page-opening rule.
class TFormWithUnderlinedItems : public TSmallInformationForm {
    Q_OBJECT
  public:
    using TSmallInformationForm::TSmallInformationForm;

    bool link_flag() const { return link_flag_; }
    QString link_address() const { return link_address_; }
    bool over_link(QPoint point) const;

  protected:
    void set_link(const QString& address);
    // What a press on the point opens; the link address when on the link.
    virtual void press(QPoint point);
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    bool link_flag_ = false;
    QString link_address_;
    Qt::CursorShape cursor_ = Qt::ArrowCursor;
};

struct TTextWindowLayout;

// An information window of one wrapped text with one link.
class TLinkedTextForm : public TFormWithUnderlinedItems {
    Q_OBJECT
  public:
    using TFormWithUnderlinedItems::TFormWithUnderlinedItems;
    QString text() const { return text_; }

  protected:
    void show_text(const TTextWindowLayout& layout, const QString& linkAddress, QPoint at);
    void paint_text(TTextCanvas& canvas) override;

  private:
    QString text_;
};

// Measures in the list's standard font.
TTextMeasurer GLB_list_font_measurer();
