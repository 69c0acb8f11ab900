#include "utilities/windows/sonogram_settings_frame.h"

#include "app/settings.h"
#include "app/settings_general.h"
#include "sound/sonogram.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QSpinBox>
#include <QVBoxLayout>

namespace g = settings::general;

TFrameSonogramSettings::TFrameSonogramSettings(QWidget* parent)
    : TOptionsFrame(parent),
      ComboBox_colours(new QComboBox(this)),
      SpinBox_range(new QSpinBox(this)),
      SpinBox_floor(new QSpinBox(this)),
      SpinBox_top(new QSpinBox(this)) {
    for (sonogram::Palette p : {sonogram::Palette::Grey, sonogram::Palette::Inferno, sonogram::Palette::Viridis})
        ComboBox_colours->addItem(p == sonogram::Palette::Grey ? QStringLiteral("grey (dark on light)")
                                                               : sonogram::palette_name(p),
                                  sonogram::palette_name(p));
    SpinBox_range->setRange(sonogram::kMinRangeDb, sonogram::kMaxRangeDb);
    SpinBox_range->setSuffix(QStringLiteral(" dB"));
    SpinBox_floor->setRange(-140, -20);
    SpinBox_floor->setSuffix(QStringLiteral(" dB"));
    SpinBox_top->setRange(1, 96);
    SpinBox_top->setSuffix(QStringLiteral(" kHz"));
    auto* box = new QGroupBox(QStringLiteral("Sonograms"), this);
    auto* form = new QFormLayout(box);
    form->addRow(QStringLiteral("Colours"), ComboBox_colours);
    form->addRow(QStringLiteral("Range"), SpinBox_range);
    form->addRow(QStringLiteral("Floor"), SpinBox_floor);
    form->addRow(QStringLiteral("Up to"), SpinBox_top);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(box);
}

void TFrameSonogramSettings::fill(const TOptionsContext&) {
    const sonogram::Settings defaults;
    const QString colours = GLB_read_string(g::kSection, g::kSonogramColours, sonogram::palette_name(defaults.palette));
    ComboBox_colours->setCurrentIndex(
        std::max(0, ComboBox_colours->findData(sonogram::palette_name(sonogram::palette_from_name(colours)))));
    SpinBox_range->setValue(GLB_read_int(g::kSection, g::kSonogramRange, defaults.range_db));
    SpinBox_floor->setValue(GLB_read_int(g::kSection, g::kSonogramFloor, defaults.floor_db));
    SpinBox_top->setValue(GLB_read_int(g::kSection, g::kSonogramTop, defaults.max_frequency_hz) / 1000);
}

void TFrameSonogramSettings::store(TOptionsContext&) {
    GLB_write_string(g::kSection, g::kSonogramColours, ComboBox_colours->currentData().toString());
    GLB_write_int(g::kSection, g::kSonogramRange, SpinBox_range->value());
    GLB_write_int(g::kSection, g::kSonogramFloor, SpinBox_floor->value());
    GLB_write_int(g::kSection, g::kSonogramTop, SpinBox_top->value() * 1000);
}
