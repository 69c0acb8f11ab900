#pragma once

#include "info_windows/windows/small_information_form.h"

class Tspecies;

// The literature a species is described in, one reference a line.
class TLiteratureReferencesForm : public TSmallInformationForm {
    Q_OBJECT
  public:
    explicit TLiteratureReferencesForm(QWidget* host);
    void show_literature(const Tspecies& species, QPoint at);
    QString text() const { return text_; }

  protected:
    void paint_text(TTextCanvas& canvas) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    QString text_;
};
