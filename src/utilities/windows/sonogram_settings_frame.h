#pragma once

#include "utilities/windows/options_frame.h"

class QComboBox;
class QSpinBox;

// How the sonograms look: the colours (grey as printed guides, "inferno",
// "viridis"), the dB range and floor and the highest frequency shown. The
// panels read them when they are next shown or given a recording.
class TFrameSonogramSettings : public TOptionsFrame {
    Q_OBJECT
  public:
    explicit TFrameSonogramSettings(QWidget* parent = nullptr);
    void fill(const TOptionsContext& context) override;
    void store(TOptionsContext& context) override;

    QComboBox* ComboBox_colours;
    QSpinBox* SpinBox_range;
    QSpinBox* SpinBox_floor;
    QSpinBox* SpinBox_top;
};
