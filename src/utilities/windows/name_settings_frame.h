#pragma once

#include "utilities/windows/options_frame.h"

#include <functional>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QRadioButton;

// Which names a list shows and which leads. Every change is shown in the
// list at once; Cancel puts the list's names back.
class TFrameNameSettings : public TOptionsFrame {
    Q_OBJECT
  public:
    explicit TFrameNameSettings(QWidget* parent = nullptr);

    // Where a change goes at once: the list window previews the names.
    void set_preview(std::function<void(const TNameChoice&)> preview);

    void fill(const TOptionsContext& context) override;
    void store(TOptionsContext& context) override;
    void restore() override;

    const TNameChoice& choice() const { return choice_; }
    std::uint32_t packed_value() const { return choice_.packed(); }

    QGroupBox* GroupBox_names;
    QCheckBox* OtherLanguageCheckbox;
    QCheckBox* ScientificCheckbox;
    QGroupBox* rg_main_language;
    QRadioButton* main_other_language;
    QRadioButton* main_scientific;

  private:
    void show_choice();
    void changed();

    QButtonGroup* main_group_;
    std::function<void(const TNameChoice&)> preview_;
    TNameChoice choice_;
    TNameChoice filled_;
    TNameChoice previewed_;
    bool setting_controls_ = false;
};
