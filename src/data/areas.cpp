#include "data/areas.h"

#include "app/globals.h"
#include "app/messages.h"
#include "app/settings.h"
#include "app/settings_window.h"
#include "platform/dialog_service.h"
#include "platform/ini_store.h"

namespace {

QString distributionError(const QString& taxonName, const QString& rest) {
    return "Error in distribution data for " + taxonName + ": " + rest;
}

}  // namespace

TDistributionError::TDistributionError(const QString& message)
    : std::runtime_error(message.toStdString()), message_(message) {}

TArea::TArea(QStringList codes)
    : codes_(std::move(codes)), selection_(static_cast<size_t>(codes_.size()), 0) {}

TArea::~TArea() = default;

std::unique_ptr<TArea> TArea::create_for_edition(int editionCode) {
    switch (editionCode) {
        case 101:
            return std::make_unique<TBoliviaEtcArea>();
        case 106:
            return std::make_unique<TTropicalAsiaArea>();
        case 111:
        case 113:
        case 114:
        case 115:
        case 120:
        case 130:
            return std::make_unique<TCountryArea>(editionCode);
        default:
            return nullptr;
    }
}

std::unique_ptr<TArea> TArea::create_from_settings(int editionCode, const QString& section) {
    std::unique_ptr<TArea> area = create_for_edition(editionCode);
    if (area) area->LoadSelection(section);
    return area;
}

int TArea::unit_index(const QString& code) const {
    return static_cast<int>(codes_.indexOf(code));
}

bool TArea::any_selected() const {
    for (const std::uint8_t s : selection_)
        if (s) return true;
    return false;
}

void TArea::clear_selection() {
    std::fill(selection_.begin(), selection_.end(), 0);
}

QString TArea::selection_text() const {
    QStringList selected;
    for (int i = 0; i < unit_count(); ++i)
        if (this->selected(i)) selected << unit_code(i);
    return selected.join(u'-');
}

void TArea::ParseDistribution(const QString& text, const QString& taxonName, bool strict) {
    QString rest = text.toUpper();
    std::vector<bool> named(selection_.size(), false);
    const auto fail = [&](const QString& message) {
        if (strict) throw TDistributionError(message);
        SelectAll();
    };
    while (!rest.isEmpty()) {
        const QString item = rest.left(2);
        const int index = unit_index(item);
        if (index < 0) {
            fail(distributionError(taxonName, "item \"" + item + "\" is invalid!"));
            return;
        }
        if (named[static_cast<size_t>(index)]) {
            fail(distributionError(taxonName, "item \"" + item + "\" occurs twice!"));
            return;
        }
        named[static_cast<size_t>(index)] = true;
        set_selected(index, true);
        if (rest.size() <= 2) return;
        if (rest[2] != u'-') {
            fail(distributionError(taxonName, QStringLiteral("missing \"-\"")));
            return;
        }
        rest.remove(0, 3);
    }
}

void TArea::LoadSelection(const QString& section) {
    const std::optional<QString> stored =
        platform::IniStore::read(GLB().settings_file_path, section, settings::window::kSelectedArea);
    if (stored)
        ParseDistribution(*stored, QString(), false);
    else
        SelectAll();
}

void TArea::SaveSelection(const QString& section) const {
    GLB_write_string(section, settings::window::kSelectedArea, selection_text());
}

void TArea::SelectAll() {
    std::fill(selection_.begin(), selection_.end(), 1);
}

void TArea::AssignSelection(const TArea& other) {
    // Areas of one edition share their class; a different table copies
    // only what both have.
    const size_t n = std::min(selection_.size(), other.selection_.size());
    std::copy_n(other.selection_.begin(), n, selection_.begin());
}

bool TArea::SharesUnitWith(const TArea& other) const {
    const size_t n = std::min(selection_.size(), other.selection_.size());
    for (size_t i = 0; i < n; ++i)
        if (selection_[i] && other.selection_[i]) return true;
    return false;
}

bool TArea::SharesMainCountryWith(const TArea&) const {
    return true;
}

bool TArea::IsNotSingleCountry() const {
    return !IsSingleCountry();
}

bool TArea::NoMainCountrySelected() const {
    return false;
}

bool TArea::OtherCountriesSelected() const {
    return false;
}

void TArea::SelectedNames(QString& names) const {
    names.clear();
}

bool TArea::check_frame(const TAreaSelectionFrame& frame) const {
    if (frame.item_count() == unit_count()) return true;
    GLB_show_message(QStringLiteral("Programming error 12730, tell Marvek"),
                     platform::box::IconStop);
    return false;
}

void TArea::LoadIntoFrame(TAreaSelectionFrame& frame) const {
    if (!check_frame(frame)) return;
    for (int i = 0; i < unit_count(); ++i) frame.set_item_selected(i, selected(i));
    frame.repaint_items();
}

void TArea::ReadFromFrame(const TAreaSelectionFrame& frame) {
    if (!check_frame(frame)) return;
    for (int i = 0; i < unit_count(); ++i) set_selected(i, frame.item_selected(i));
}

bool TArea::FrameChanged(const TAreaSelectionFrame& frame) const {
    if (frame.item_count() != unit_count()) return true;
    for (int i = 0; i < unit_count(); ++i)
        if (frame.item_selected(i) != selected(i)) return true;
    return false;
}
