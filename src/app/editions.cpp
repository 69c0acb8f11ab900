#include "app/editions.h"

#include "app/file_helpers.h"
#include "app/globals.h"
#include "app/messages.h"
#include "platform/dialog_service.h"
#include "platform/text_encoding.h"

#include <QCoreApplication>
#include <QFile>
#include <stdexcept>

namespace {

TEditionRow row(int odd, int code, const char* titleEnglish, const char* region) {
    TEditionRow r;
    r.odd_product_number = odd;
    r.edition_code = code;
    r.title_english = QString::fromUtf8(titleEnglish);
    r.region_name_english = QString::fromUtf8(region);
    r.credits = QStringLiteral("Recordings and texts by the Korvelan field team");
    return r;
}

TEditionRow withSecondLanguage(TEditionRow r, TLanguage language, const char* title,
                               const char* region = nullptr) {
    r.even_product_number = r.odd_product_number + 1;
    r.second_language = language;
    r.title_other = QString::fromUtf8(title);
    switch (language) {
        case TLanguage::Spanish:
            r.credits_other = QStringLiteral("Grabaciones y textos del equipo de campo de Korvelan");
            break;
        case TLanguage::Dutch:
            r.credits_other = QStringLiteral("Opnamen en teksten van het veldteam van Korvelan");
            break;
        case TLanguage::Portuguese:
            r.credits_other = QStringLiteral("Grava\u00E7\u00F5es e textos da equipe de campo do Korvelan");
            break;
        default: break;
    }
    if (region) r.region_name_other = QString::fromUtf8(region);
    return r;
}

std::vector<TEditionRow> buildRows() {
    std::vector<TEditionRow> rows;

    // The demo edition: birds of Peru, Bolivia and Paraguay.
    TEditionRow demo = withSecondLanguage(
        row(1011, 101, "Voices of the Andes and the Chaco", "Peru, Bolivia and Paraguay"),
        TLanguage::Spanish, "Voces de los Andes y del Chaco", "Perú, Bolivia y Paraguay");
    demo.several_countries = true;
    demo.offers_sounds_photos_filter = true;
    demo.shows_unrecorded_subspecies = true;
    demo.offers_native_recordings_choice = true;
    demo.update_address = QStringLiteral("https://updates.example.org/voices-andes-chaco");
    demo.rules.distribution_notes = true;
    demo.rules.area_selects_countries = true;
    demo.rules.recording_group_separators = true;
    demo.rules.says_when_no_other_species = true;
    demo.rules.hides_extralimital_species = true;
    demo.rules.options_area_page = true;
    demo.rules.area_page_explanation = true;
    rows.push_back(demo);

    TEditionRow r102 = withSecondLanguage(row(1021, 102, "Birds of the Southern Cone", "Chile"),
                                          TLanguage::Spanish, "Aves del Cono Sur");
    r102.offers_sounds_photos_filter = true;
    r102.rules.country_shown_outside_region = true;
    rows.push_back(r102);

    TEditionRow r103 = row(1031, 103, "Field Sounds Sampler", "");
    r103.rules.country_shown_outside_region = true;
    rows.push_back(r103);

    TEditionRow r104 =
        withSecondLanguage(row(1041, 104, "Birds of the Andean Foothills", "Ecuador"),
                           TLanguage::Spanish, "Aves del Piedemonte Andino");
    r104.has_spoken_names = true;
    r104.shows_unrecorded_subspecies = true;
    r104.rules.presence = TPresenceRule::SpeciesNumberRange;
    r104.rules.presence_first = 52000;
    r104.rules.presence_last = 55500;
    rows.push_back(r104);

    TEditionRow r105 =
        withSecondLanguage(row(1051, 105, "Marsh and Meadow Voices", "Netherlands"),
                           TLanguage::Dutch, "Stemmen van moeras en wei", "Nederland");
    r105.rules.shows_native_recordings_by_default = false;
    r105.rules.shows_introduction = false;
    r105.rules.only_with_sounds_by_default = true;
    rows.push_back(r105);

    TEditionRow r106 = row(1061, 106, "Songbirds of Tropical Asia", "Tropical Asia");
    r106.several_countries = true;
    r106.offers_sounds_photos_filter = true;
    r106.rules.only_with_sounds_or_photos_by_default = true;
    r106.rules.department_word_line = 4;
    r106.rules.options_area_page = true;
    r106.rules.other_names_prefix = QStringLiteral("Other name(s): ");
    rows.push_back(r106);

    TEditionRow r107 = row(1071, 107, "Night Voices of the Rainforest", "Amazonia");
    r107.has_class_rows = true;
    rows.push_back(r107);

    TEditionRow r108 =
        withSecondLanguage(row(1081, 108, "Birds of the Atlantic Forest", "Brazil"),
                           TLanguage::Portuguese, "Aves da Mata Atlântica", "Brasil");
    rows.push_back(r108);

    TEditionRow r109 = row(1091, 109, "Frogs and Toads by Night", "Central America");
    r109.has_class_rows = true;
    r109.every_species_flag_e = true;
    r109.rules.class_notes_on_other_taxa = false;
    r109.rules.strips_usa_from_recording_texts = true;
    r109.rules.offers_copy_to_hard_disk = false;
    r109.rules.offers_sound_editor = false;
    rows.push_back(r109);

    TEditionRow r110 = row(1101, 110, "Seabirds and Shorebirds", "Pacific coast");
    rows.push_back(r110);

    TEditionRow r111 = withSecondLanguage(row(1111, 111, "Birds of the Llanos", "Venezuela"),
                                          TLanguage::Spanish, "Aves de los Llanos");
    r111.offers_sounds_photos_filter = true;
    r111.rules.presence = TPresenceRule::DistributionLetters;
    r111.rules.presence_letters = {QStringLiteral("V")};
    r111.rules.map_references = TMapReferences::FlagOnly;
    r111.rules.country_area_letters = QStringLiteral("V");
    r111.rules.distribution_notes = true;
    r111.rules.country_shown_outside_region = true;
    rows.push_back(r111);

    TEditionRow r112 = row(1121, 112, "Hummingbirds in Sound", "Andes");
    r112.rules.presence = TPresenceRule::DistributionLetters;
    r112.rules.map_button_below_legend = true;
    r112.rules.presence_letters = {QStringLiteral("C"), QStringLiteral("P")};
    r112.rules.map_references = TMapReferences::None;
    r112.rules.country_shown_outside_region = true;
    rows.push_back(r112);

    TEditionRow r113 = withSecondLanguage(row(1131, 113, "Voices of the Sierra Madre", "Mexico"),
                                          TLanguage::Spanish, "Voces de la Sierra Madre", "México");
    r113.offers_sounds_photos_filter = true;
    r113.has_class_rows = true;
    r113.rules.presence = TPresenceRule::DistributionLetters;
    r113.rules.presence_letters = {QStringLiteral("M")};
    r113.rules.country_area_letters = QStringLiteral("M");
    r113.rules.distribution_notes = true;
    r113.rules.country_shown_outside_region = true;
    rows.push_back(r113);

    TEditionRow r114 = withSecondLanguage(row(1141, 114, "Birds of the Cerrado", "Brazil"),
                                          TLanguage::Portuguese, "Aves do Cerrado", "Brasil");
    r114.offers_sounds_photos_filter = true;
    r114.every_species_flag_e = true;
    r114.rules.presence = TPresenceRule::FlagL;
    r114.rules.country_area_letters = QStringLiteral("B");
    r114.rules.distribution_notes = true;
    r114.rules.country_shown_outside_region = true;
    r114.rules.class_notes_on_other_taxa = false;
    rows.push_back(r114);

    TEditionRow r115 = withSecondLanguage(row(1151, 115, "Voices of the Páramo", "Ecuador"),
                                          TLanguage::Spanish, "Voces del Páramo");
    r115.offers_sounds_photos_filter = true;
    r115.has_class_rows = true;
    r115.offers_native_recordings_choice = true;
    r115.rules.presence = TPresenceRule::BelowOneMillion;
    r115.rules.country_area_letters = QStringLiteral("E");
    r115.rules.distribution_notes = true;
    r115.rules.country_shown_outside_region = true;
    r115.rules.kind_letter_on_other_taxa = false;
    r115.rules.subspecies_line_before_recording_texts = true;
    rows.push_back(r115);

    TEditionRow r116 = row(1161, 116, "Wetland Birds in Sound", "Pantanal");
    r116.several_countries = true;
    r116.second_region_name = QStringLiteral("Paraguay");
    rows.push_back(r116);

    TEditionRow r120 = withSecondLanguage(row(1201, 120, "Birds of the Pampas", "Argentina"),
                                          TLanguage::Spanish, "Aves de las Pampas");
    r120.offers_sounds_photos_filter = true;
    r120.has_class_rows = true;
    r120.rules.presence = TPresenceRule::BelowOneMillion;
    r120.rules.country_area_letters = QStringLiteral("A");
    r120.rules.distribution_notes = true;
    r120.rules.country_shown_outside_region = true;
    rows.push_back(r120);

    TEditionRow r130 = withSecondLanguage(row(1301, 130, "Birds of Bolivia in Sound", "Bolivia"),
                                          TLanguage::Spanish, "Aves de Bolivia en sonido");
    r130.offers_sounds_photos_filter = true;
    r130.shows_unrecorded_subspecies = true;
    r130.version = QStringLiteral("2.0");
    r130.rules.presence = TPresenceRule::DistributionLetters;
    r130.rules.presence_letters = {QStringLiteral("BO")};
    r130.rules.country_area_letters = QStringLiteral("BO");
    r130.rules.country_area_outside_is_any_other = true;
    r130.rules.has_alternative_ids = true;
    r130.rules.distribution_notes = true;
    r130.rules.country_shown_outside_region = true;
    r130.rules.recording_group_separators = true;
    r130.rules.says_when_no_other_species = true;
    r130.rules.other_taxa_exceptions = true;
    r130.rules.hides_extralimital_species = true;
    rows.push_back(r130);

    return rows;
}

TEdition& runningEdition() {
    static TEdition edition = GLB_unknown_edition();
    return edition;
}

QString languagePageName(TLanguage language) {
    switch (language) {
        case TLanguage::Spanish:
            return QStringLiteral("EnterFromDiskProgramSpanish.htm");
        case TLanguage::Dutch:
            return QStringLiteral("EnterFromDiskProgramDutch.htm");
        case TLanguage::Portuguese:
            return QStringLiteral("EnterFromDiskProgramPortuguese.htm");
        default:
            return QStringLiteral("EnterFromDiskProgramEnglish.htm");
    }
}

}  // namespace

QString TEdition::short_title() const {
    return title_english + u' ' + (version.isEmpty() ? QString() : version.left(1));
}

QString TEdition::update_page() const {
    if (update_address.isEmpty()) return {};
    return update_address + u'/' + version.left(1) + languagePageName(language);
}

const std::vector<TEditionRow>& GLB_edition_rows() {
    static const std::vector<TEditionRow> rows = buildRows();
    return rows;
}

TEdition GLB_unknown_edition() {
    TEdition e;
    e.known = false;
    e.edition_code = 103;
    e.title = QStringLiteral(
        "Error: Unknown program; the edition file names no edition this "
        "program knows");
    e.title_english = e.title;
    e.rules = GLB_edition_rules(e.edition_code);
    return e;
}

const TEditionRules& GLB_edition_rules(int editionCode) {
    for (const TEditionRow& r : GLB_edition_rows())
        if (r.edition_code == editionCode) return r.rules;
    static const TEditionRules defaults;
    return defaults;
}

TEdition GLB_edition_for_product(int productNumber) {
    for (const TEditionRow& r : GLB_edition_rows()) {
        const bool odd = productNumber == r.odd_product_number;
        const bool even = r.even_product_number != 0 && productNumber == r.even_product_number;
        if (!odd && !even) continue;
        TEdition e;
        e.known = true;
        e.product_number = productNumber;
        e.edition_code = r.edition_code;
        e.language = odd ? TLanguage::English : r.second_language;
        e.region_name =
            (!odd && !r.region_name_other.isEmpty()) ? r.region_name_other : r.region_name_english;
        e.second_region_name = r.second_region_name;
        e.title = odd ? r.title_english : r.title_other;
        e.title_english = r.title_english;
        e.version = r.version;
        e.credits = (!odd && !r.credits_other.isEmpty()) ? r.credits_other : r.credits;
        e.update_address = r.update_address;
        e.offers_sounds_photos_filter = r.offers_sounds_photos_filter;
        e.every_species_flag_e = r.every_species_flag_e;
        e.has_class_rows = r.has_class_rows;
        e.several_countries = r.several_countries;
        e.shows_unrecorded_subspecies = r.shows_unrecorded_subspecies;
        e.offers_native_recordings_choice = r.offers_native_recordings_choice;
        e.has_spoken_names = r.has_spoken_names;
        e.rules = r.rules;
        return e;
    }
    TEdition unknown = GLB_unknown_edition();
    unknown.product_number = productNumber;
    return unknown;
}

const TEdition& GLB_edition() {
    return runningEdition();
}

namespace {

bool& editionSetByStart() {
    static bool set = false;
    return set;
}

void applyEdition(const TEdition& edition) {
    runningEdition() = edition;
    GLB().message_box_caption = edition.title;
    // Only the application name: a display name would be appended to every
    // window's caption, and captions are built in full by their windows.
    if (QCoreApplication::instance()) QCoreApplication::setApplicationName(edition.title);
}

void requireNoEditionYet() {
    if (editionSetByStart())
        throw std::logic_error(
            "The running edition is set once by the program's start; it was set again "
            "before the program's end forgot it.");
}

}  // namespace

void GLB_forget_edition() {
    runningEdition() = GLB_unknown_edition();
    editionSetByStart() = false;
}

struct TEditionOverride::Previous {
    TEdition edition;
    QString caption;
    QString applicationName;
};

TEditionOverride::TEditionOverride(const TEdition& edition)
    : previous_(std::make_unique<Previous>(
          Previous{runningEdition(), GLB().message_box_caption,
                   QCoreApplication::applicationName()})) {
    applyEdition(edition);
}

TEditionOverride::~TEditionOverride() {
    runningEdition() = previous_->edition;
    GLB().message_box_caption = previous_->caption;
    if (QCoreApplication::instance())
        QCoreApplication::setApplicationName(previous_->applicationName);
}

void GLB_read_editions_file() {
    // Checked first, so that a second read shows none of the file's messages.
    requireNoEditionYet();
    const QString fileName = QStringLiteral("PROGR_NM.TXT");
    QString path;
    TEdition edition = GLB_unknown_edition();
    QFile file;
    if (!GLB_find_program_file(fileName, path)) {
        GLB_show_message("The edition file \"" + path +
                             "\" is missing; the program cannot tell which edition it is.",
                         platform::box::IconStop);
    } else {
        file.setFileName(path);
        const QString text =
            file.open(QIODevice::ReadOnly) ? platform::decodeText(file.readAll()) : QString();
        const QString firstLine = text.section(u'\n', 0, 0).trimmed();
        if (firstLine.isEmpty()) {
            GLB_show_message("\"" + fileName + "\" is empty!", platform::box::IconStop);
        } else {
            // A first line that is no whole number picks no edition, like an
            // unknown number.
            bool ok = false;
            const int product = firstLine.toInt(&ok);
            if (ok) edition = GLB_edition_for_product(product);
        }
    }
    applyEdition(edition);
    editionSetByStart() = true;
}
