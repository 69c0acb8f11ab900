#include "listview/show_strings_data.h"

#include "app/editions.h"
#include "app/settings.h"
#include "app/settings_window.h"
#include "data/species_database.h"

namespace {
using namespace settings::window;
}  // namespace

SHST_TClassShowStringsData::SHST_TClassShowStringsData(const Tdata& data)
    : systematic_order(static_cast<std::uint8_t>(Tdata::default_order())),
      visible_set(data),
      show_country(GLB_edition().several_countries) {}

SHST_TClassShowStringsData::SHST_TClassShowStringsData(const Tdata& data, const QString& section)
    : SHST_TClassShowStringsData(data) {
    read_settings(section);
}

SHST_TClassShowStringsData& SHST_TClassShowStringsData::operator=(
    const SHST_TClassShowStringsData& other) {
    if (this == &other) return *this;
    show_scientific = other.show_scientific;
    show_other_language = other.show_other_language;
    main_name = other.main_name;
    systematic_order = other.systematic_order;
    visible_set.copy_from(other.visible_set);
    show_department = other.show_department;
    show_country = other.show_country;
    show_threatened = other.show_threatened;
    return *this;
}

void SHST_TClassShowStringsData::read_settings(const QString& section) {
    show_scientific = GLB_read_flag(section, kScientific, kNameKindShownDefault);
    show_other_language = GLB_read_flag(section, kOtherLanguage, kNameKindShownDefault);
    // At least one kind of name is always shown.
    if (!show_other_language) show_scientific = true;
    const QString main = GLB_read_string(section, kMain, kMainOtherLanguage);
    main_name = main.compare(kMainScientific, Qt::CaseInsensitive) == 0 ? 1 : 2;

    const std::vector<int> offered = data().offered_orders();
    const int stored = GLB_read_int(section, kSystematicOrder, Tdata::default_order());
    int order = Tdata::default_order();
    if (offered.size() == 1)
        order = offered.front();
    else if (data().order_offered(stored))
        order = stored;
    systematic_order = static_cast<std::uint8_t>(order);

    visible_set.read_settings(section);
    show_department = GLB_read_flag(section, kShowDepartment, kRecordingDataLineDefault);
    show_country =
        GLB_edition().several_countries ? GLB_read_flag(section, kShowCountry, kRecordingDataLineDefault) : false;
    show_threatened = GLB_read_flag(section, kShowThreatened, kRecordingDataLineDefault);
}

void SHST_TClassShowStringsData::write_settings(const QString& section) const {
    GLB_write_flag(section, kScientific, show_scientific);
    GLB_write_flag(section, kOtherLanguage, show_other_language);
    GLB_write_string(section, kMain, main_name == 1 ? kMainScientific : kMainOtherLanguage);
    GLB_write_int(section, kSystematicOrder, systematic_order);
    GLB_write_flag(section, kShowDepartment, show_department);
    if (GLB_edition().several_countries) GLB_write_flag(section, kShowCountry, show_country);
    GLB_write_flag(section, kShowThreatened, show_threatened);
    visible_set.save_to_settings(section);
}

int SHST_TClassShowStringsData::name_kind_at(int position) const {
    // A kind of name that is switched off never leads the row, so the main
    // name follows what is shown.
    int main = main_name == 1 ? 1 : 2;
    if (!show_other_language)
        main = 1;
    else if (!show_scientific)
        main = 2;
    if (position == 1) return main == 1 ? name_kind::kScientific : name_kind::kOtherLanguage;
    if (show_scientific && main != 1) return name_kind::kScientific;
    if (!show_other_language || main == 2) return name_kind::kNone;
    return name_kind::kOtherLanguage;
}
