#pragma once

#include "listview/formatted_text.h"

#include <QString>
#include <QWidget>

class Tbig_picture;

// The text shown about a picture: its subspecies, its own text, its
// locality (underlined, a link to the map) and its date.
QString GLB_picture_information_text(const Tbig_picture& picture);

// A borderless panel inside the big picture window with a picture's
// information. A click on the locality asks for its map.
class TPictureInfoForm : public QWidget {
    Q_OBJECT

  public:
    explicit TPictureInfoForm(QWidget* parent);

    void set_picture(const Tbig_picture& picture);
    const QString& text() const { return text_; }
    int line_count() const { return lines_; }
    // At (parent right − 80, parent bottom − 25), moved to end at least 5
    // pixels inside the room it may take (the parent's area above its
    // buttons, which must not cover the text or the link).
    void place(QSize room);

  signals:
    void link_clicked();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QString text_;
    int lines_ = 1;
    TLinkRegister links_;
};
