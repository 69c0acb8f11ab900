#pragma once

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

enum class TLanguage { English, Spanish, Dutch, Portuguese };

// How the loader decides that a species lives in the edition's region.
enum class TPresenceRule {
    Always,
    SpeciesNumberRange,   // numbers presence_first..presence_last
    DistributionLetters,  // the distribution line holds one of presence_letters
    FlagL,                // the species' flags hold "L"
    BelowOneMillion,      // numbers below 1000000
};

// What the "D(...)" part of a species' line gives.
enum class TMapReferences { Parsed, FlagOnly, None };

// The rules that differ between editions, named for what they do. Each row
// of the editions table sets them once; code asks for the rule, never for
// an edition code.
struct TEditionRules {
    // Database and filter.
    TPresenceRule presence = TPresenceRule::Always;
    QStringList presence_letters;
    int presence_first = 0;
    int presence_last = 0;
    TMapReferences map_references = TMapReferences::Parsed;
    bool has_alternative_ids = false;
    bool strips_usa_from_recording_texts = false;
    bool hides_extralimital_species = false;  // numbers from 1000000 on
    bool shows_native_recordings_by_default = true;
    bool only_with_sounds_by_default = false;
    bool only_with_sounds_or_photos_by_default = false;
    int department_word_line = 1;  // of texts section "DEPARTMENT ETC"
    // The country area: the letters that mark the country in a distribution
    // line, and whether every other text counts as outside it (otherwise
    // the letter "O" does).
    QString country_area_letters;
    bool country_area_outside_is_any_other = false;

    // The list.
    bool distribution_notes = false;
    bool area_selects_countries = false;  // the area's countries decide notes and places
    bool country_shown_outside_region = false;
    bool class_notes_on_other_taxa = true;
    bool kind_letter_on_other_taxa = true;
    bool subspecies_line_before_recording_texts = false;
    bool recording_group_separators = false;
    bool says_when_no_other_species = false;
    bool other_taxa_exceptions = false;
    QString other_names_prefix;

    // The windows.
    bool offers_copy_to_hard_disk = true;
    bool shows_introduction = true;
    bool map_button_below_legend = false;  // the map window's OK button sits low, under its legend
    // The options dialog: a page for the area (with a note beside the map)
    // and the choice of a sound-editing program.
    bool options_area_page = false;
    bool area_page_explanation = false;
    bool offers_sound_editor = true;
};

// What a row of the editions table says about one edition.
struct TEditionRow {
    int odd_product_number = 0;   // English interface
    int even_product_number = 0;  // the other language; 0 for English-only rows
    int edition_code = 103;
    TLanguage second_language = TLanguage::English;
    QString region_name_english;
    QString region_name_other;  // the region in the second language, when it differs
    QString second_region_name;
    QString title_english;
    QString title_other;
    QString version = QStringLiteral("1.0");
    QString credits;
    QString credits_other;  // the credits in the second language
    QString update_address;
    // Edition flags read by the database, the filter and the dialogs.
    bool offers_sounds_photos_filter = false;
    bool every_species_flag_e = false;
    bool has_class_rows = false;  // frogs, reptiles or mammals besides birds
    bool several_countries = false;
    bool shows_unrecorded_subspecies = false;
    bool offers_native_recordings_choice = false;
    bool has_spoken_names = false;
    TEditionRules rules;
};

// The running edition.
struct TEdition {
    bool known = false;
    int product_number = 0;
    int edition_code = 103;
    TLanguage language = TLanguage::English;
    QString region_name;
    QString second_region_name;
    QString title;  // in the interface language
    QString title_english;
    QString version = QStringLiteral("1.0");
    QString credits;
    QString update_address;
    bool offers_sounds_photos_filter = false;
    bool every_species_flag_e = false;
    bool has_class_rows = false;
    bool several_countries = false;
    bool shows_unrecorded_subspecies = false;
    bool offers_native_recordings_choice = false;
    bool has_spoken_names = false;
    TEditionRules rules;

    // English title, a blank and the version's first character.
    QString short_title() const;
    // The update page: address, "/", the version's first character, then
    // the language's page name; empty when the edition has no address.
    QString update_page() const;
};

const std::vector<TEditionRow>& GLB_edition_rows();
// The rules of the row with that edition code; the defaults for none.
const TEditionRules& GLB_edition_rules(int editionCode);
// The edition a product number picks; unknown numbers give code 103.
TEdition GLB_edition_for_product(int productNumber);
TEdition GLB_unknown_edition();

// The running edition. Start-up sets it once (GLB_read_editions_file); it
// stays until the program's end forgets it, and only the next start may set
// it again. Before that it is the unknown edition.
const TEdition& GLB_edition();

// Reads PROGR_NM.TXT beside the program, shows what is wrong with it, sets
// the running edition and makes its title the message-box caption and the
// application name. Setting it a second time before GLB_forget_edition is a
// programming error: it throws std::logic_error.
void GLB_read_editions_file();
// The program's end: back to the unknown edition, to be set by a next start.
void GLB_forget_edition();

// The way tests and tools put an edition in place for a while: it runs, with
// its caption and application name, as long as the override lives; then the
// previous edition, caption and application name come back. It leaves the
// start's set-once rule alone.
class TEditionOverride {
  public:
    explicit TEditionOverride(const TEdition& edition);
    ~TEditionOverride();
    TEditionOverride(const TEditionOverride&) = delete;
    TEditionOverride& operator=(const TEditionOverride&) = delete;

  private:
    struct Previous;
    std::unique_ptr<Previous> previous_;
};
