#pragma once

#include <QString>
#include <vector>

enum class TLanguage { English, Spanish, Dutch, Portuguese };

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
    QString update_address;
    // Edition flags read by the database, the filter and the dialogs.
    bool offers_sounds_photos_filter = false;
    bool every_species_flag_e = false;
    bool has_class_rows = false;  // frogs, reptiles or mammals besides birds
    bool several_countries = false;
    bool shows_unrecorded_subspecies = false;
    bool offers_native_recordings_choice = false;
    bool has_spoken_names = false;
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

    // English title, a blank and the version's first character.
    QString short_title() const;
    // The update page: address, "/", the version's first character, then
    // the language's page name; empty when the edition has no address.
    QString update_page() const;
};

const std::vector<TEditionRow>& GLB_edition_rows();
// The edition a product number picks; unknown numbers give code 103.
TEdition GLB_edition_for_product(int productNumber);
TEdition GLB_unknown_edition();

const TEdition& GLB_edition();
void GLB_set_edition(const TEdition& edition);

// Reads PROGR_NM.TXT beside the program, shows what is wrong with it, sets
// the running edition and makes its title the message-box caption.
void GLB_read_editions_file();
