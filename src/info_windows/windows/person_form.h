#pragma once

#include "info_windows/info_layout.h"
#include "info_windows/windows/small_information_form.h"

class Tperson;

// A recordist, photographer or author: name, and up to three labelled texts,
// the last being the person's web address.
class TPersonForm : public TFormWithUnderlinedItems {
    Q_OBJECT
  public:
    explicit TPersonForm(QWidget* host);
    // The copyright line heads the name with "©" (credits of pictures).
    void show_person(const Tperson& person, QPoint at, bool copyrightLine = false);
    const TPersonLayout& layout() const { return layout_; }

  protected:
    void paint_text(TTextCanvas& canvas) override;
    void press(QPoint point) override;

  private:
    TPersonLayout layout_;
};
