#include "listview/line_builder.h"

#include "app/editions.h"
#include "app/font_helpers.h"
#include "data/media_records.h"
#include "data/species_database.h"
#include "listview/line_texts.h"
#include "listview/list_bitmaps.h"
#include "listview/list_fonts.h"
#include "data/areas.h"

#include <algorithm>
#include <bitset>

namespace {

using Line = TRecordShowStringData;
using namespace line_kind;

constexpr int kThumbnailNotesShift = 35;
constexpr int kThumbnailColumn = 180;
constexpr int kHeadingExtra = 5;
constexpr int kSeparatorExtra = 5;
constexpr int kUnrecordedExtra = 10;
constexpr int kMaxHeadedSubspecies = 104;

}  // namespace

void TShowStringsModel::Builder::stamp(Line* line, const Tspecies* species, int speciesIndex,
                                       const Tcupaitem* recording) {
    line->family = family_;
    line->family_index = family_index_;
    line->species = species;
    line->species_index = speciesIndex;
    line->recording = recording;
}

void TShowStringsModel::Builder::names(const QString& scientific, const QString& otherLanguage,
                                       int scientificKind, int otherKind) {
    struct Name {
        int kind;
        QString text;
    };
    std::vector<Name> shown;
    for (int position = 1; position <= 2; ++position) {
        const int nameKind = m_.settings_.name_kind_at(position);
        const QString name = line_texts::name_of_kind(nameKind, scientific, otherLanguage);
        if (name.isEmpty()) continue;
        shown.push_back({nameKind == name_kind::kScientific ? scientificKind : otherKind, name});
    }
    // A row is never nameless.
    if (shown.empty()) shown.push_back({scientificKind, scientific});
    Line* previous = nullptr;
    for (const Name& name : shown) {
        const bool scientificName = name.kind == scientificKind;
        Line* line =
            add_text(name.kind, 0, scientificName ? list_font::kItalic : list_font::kRegular, 0,
                     list_font::kNormal, name.text);
        if (previous) previous->flags |= line_flag::kNameFollows;
        previous = line;
    }
}

void TShowStringsModel::Builder::row_names(Line* head) {
    family_ = head->family;
    family_index_ = head->family_index;
    if (head->kind == kFamilyMarker)
        names(head->family->scientific_name, head->family->common_name, kFamilyScientific,
              kFamilyOtherLanguage);
    else
        names(head->species->scientific_name, head->species->common_name, kSpeciesScientific,
              kSpeciesOtherLanguage);
    for (Line* l = head->next; l && l != at_->next; l = l->next)
        stamp(l, head->species, head->species_index, nullptr);
}

void TShowStringsModel::Builder::class_rows() {
    const std::vector<const Tfamily*>& families = m_.visible_families();
    for (int animalClass = animal_class::Birds; animalClass <= animal_class::Amphibians;
         ++animalClass) {
        const bool present = std::any_of(families.begin(), families.end(), [&](const Tfamily* f) {
            return f->animal_class() == animalClass;
        });
        if (!present) continue;
        add(kClassToggle, m_.spacer_height());
        Line* title = add_text(kClassTitle, 0, list_font::kBold, 1, list_font::kNormal,
                               Tdata::class_name(animalClass));
        title->value = animalClass;
    }
}

void TShowStringsModel::Builder::family_rows(int animalClass) {
    const std::vector<const Tfamily*>& families = m_.visible_families();
    for (size_t k = 0; k < families.size(); ++k) {
        const Tfamily& family = *families[k];
        if (animalClass != animal_class::Any && family.animal_class() != animalClass) continue;
        family_ = &family;
        family_index_ = static_cast<int>(k) + 1;
        Line* toggle = add(kFamilyToggle, m_.spacer_height());
        stamp(toggle, nullptr, 0, nullptr);
        Line* marker = add(kFamilyMarker, 0);
        marker->value = family_index_;
        stamp(marker, nullptr, 0, nullptr);
        Line* before = at_;
        names(family.scientific_name, family.common_name, kFamilyScientific, kFamilyOtherLanguage);
        for (Line* l = before->next; l && l != at_->next; l = l->next)
            stamp(l, nullptr, 0, nullptr);
    }
}

void TShowStringsModel::Builder::species_rows(const Tfamily& family, int familyIndex) {
    family_ = &family;
    family_index_ = familyIndex;
    const TClassVisibleSpeciesAndRecordings& filter = m_.settings_.visible_set;
    const int order = m_.settings_.systematic_order;
    int j = 0;
    for (const Tspecies* s = family.first_species; s; s = s->next(order)) {
        if (filter.species_visible(*s)) species_row(*s, ++j);
    }
}

void TShowStringsModel::Builder::species_row(const Tspecies& species, int j) {
    const SHST_TClassShowStringsData& settings = m_.settings_;
    const TListWords& words = m_.words();
    Line* first = add(kSpeciesToggle, m_.spacer_height());
    Line* number = add(kSpeciesNumber, 0);
    number->font = &m_.fonts_.standard();
    number->value = j;
    names(species.scientific_name, species.common_name, kSpeciesScientific, kSpeciesOtherLanguage);
    // On the user's own list: a tick after the names.
    const TSpeciesMarks* marks = settings.visible_set.marks;
    if (marks && marks->marked(species)) at_->text += QStringLiteral(" \u2713");
    if (species.has_distribution_map()) add(kMapMarker, 0);
    Line* media = add(kMediaMarker, 0);
    media->media = {
        species.first_picture != nullptr, species.flag_s,
        settings.visible_set.nth_item(species, 1, TClassVisibleSpeciesAndRecordings::kAllKinds,
                                      false) != nullptr};
    if (!species.literature.empty())
        add_text(kLiterature, 0, list_font::kRegular, 0, list_font::kNormal,
                 QStringLiteral(" ") + QChar(text_code::kUnderline) + u'r' +
                     QChar(text_code::kUnderline));

    const TArea* distribution = species.distribution.get();
    const TArea* area = settings.visible_set.selected_area();
    const TEditionRules& rules = GLB_edition().rules;
    if (distribution && rules.distribution_notes) {
        const bool outside =
            rules.area_selects_countries && area && !distribution->SharesUnitWith(*area);
        if (outside) {
            add_text(kDistributionNote, 0, list_font::kBold, 0, list_font::kNormal,
                     QStringLiteral("  ") + words.line(15));
        } else if (distribution->any_selected() && !distribution->IsNotSingleCountry()) {
            QString text = QStringLiteral("  ") + words.line(13);
            QString places;
            distribution->SelectedNames(places);
            if (area && !places.isEmpty()) text += u' ' + words.line(14) + u' ' + places;
            add_text(kDistributionNote, 0, list_font::kBold, 0, list_font::kNormal, text);
        }
    }
    if (species.threatened_status >= 1 && species.threatened_status <= 4 &&
        settings.show_threatened) {
        const QChar link(text_code::kUnderline);
        add_text(kThreatened, 0, list_font::kBold, 0, list_font::kRed,
                 QStringLiteral("  ") + link + words.line(15 + species.threatened_status) + link);
    }
    if (!species.second_name.isEmpty() && settings.show_other_language) {
        QString text = species.second_name;
        text.prepend(rules.other_names_prefix);
        add_wrapped(kOtherNames, list_font::kRegular, -1, text, false);
    }
    for (Line* l = first; l && l != at_->next; l = l->next) stamp(l, &species, j, nullptr);
}

// What the steps of one species block share.
struct TShowStringsModel::Builder::SpeciesBlock {
    SpeciesBlock(const Tspecies& s, int index) : species(s), species_index(index) {}

    const Tspecies& species;
    int species_index;
    Line* thumbnail_line = nullptr;
    int thumbnail_advance = 0;  // the thumbnail's own advance, taken back by the first row
    bool first_heading = true;
    int bold_height = 0;
    std::bitset<kMaxHeadedSubspecies + 1> headed;

    bool is_headed(const Tsubspecies& s) const {
        return s.ordinal >= 1 && s.ordinal <= kMaxHeadedSubspecies &&
               headed.test(static_cast<size_t>(s.ordinal));
    }
};

void TShowStringsModel::Builder::species_block(Line* toggle) {
    SpeciesBlock block(*toggle->species, toggle->species_index);
    family_ = toggle->family;
    family_index_ = toggle->family_index;
    Line* blockStart = at_;

    thumbnail_and_notes(block);
    recordings(block);
    pictured_subspecies_headings(block);
    unrecorded_subspecies(block);
    for (Line* l = blockStart->next; l && l != at_->next; l = l->next) {
        if (!l->species) stamp(l, &block.species, block.species_index, nullptr);
    }
    next_row_below_thumbnail(block);
}

// The notes, shifted right of the thumbnail when there is one; the
// thumbnail starts at the notes' first row.
void TShowStringsModel::Builder::thumbnail_and_notes(SpeciesBlock& block) {
    const Tspecies& species = block.species;
    QSize thumbnail;
    if (m_.geometry_.thumbnails_enabled && species.flag_s)
        thumbnail = m_.pictures_->acquire(species);
    const bool thumbnailShown = thumbnail.isValid();

    int notesAdvance = 0;
    const QString notes = line_texts::notes(species, m_.words());
    if (!notes.isEmpty()) {
        Line* line = add_wrapped(kNotes, list_font::kRegular, -1, notes, false,
                                 thumbnailShown ? kThumbnailNotesShift : 0);
        notesAdvance = line->advance;
    }
    if (!thumbnailShown) return;
    block.thumbnail_advance = lh_ - notesAdvance;
    Line* line = add(kThumbnail, block.thumbnail_advance);
    line->indent = std::min(20, (kThumbnailColumn - thumbnail.width()) / 2);
    line->thumbnail_size = thumbnail;
    stamp(line, &species, block.species_index, nullptr);
    block.thumbnail_line = line;
}

void TShowStringsModel::Builder::subspecies_heading(SpeciesBlock& block,
                                                   const Tsubspecies* subspecies) {
    const Tspecies& species = block.species;
    Line* line = add_wrapped(kSubspeciesHeading, list_font::kRegular, 0,
                             line_texts::subspecies_heading(species, subspecies,
                                                            m_.settings_.show_scientific,
                                                            m_.words()),
                             false);
    set_advance(line,
                line->advance + kHeadingExtra - (block.first_heading ? block.thumbnail_advance : 0));
    line->subspecies = subspecies;
    block.first_heading = false;
    if (!subspecies) return;
    if (line_texts::subspecies_has_picture(species, *subspecies)) {
        Line* marker = add(kSubspeciesPicture, 0);
        marker->subspecies = subspecies;
    }
    if (subspecies->ordinal >= 1 && subspecies->ordinal <= kMaxHeadedSubspecies)
        block.headed.set(static_cast<size_t>(subspecies->ordinal));
}

// The visible recordings, each under the heading of its subspecies when the
// species heads its recordings by subspecies.
void TShowStringsModel::Builder::recordings(SpeciesBlock& block) {
    const Tspecies& species = block.species;
    const TClassVisibleSpeciesAndRecordings& filter = m_.settings_.visible_set;
    std::vector<const Tcupaitem*> items;
    for (int n = 1;; ++n) {
        const Tcupaitem* item =
            filter.nth_item(species, n, TClassVisibleSpeciesAndRecordings::kAllKinds, false);
        if (!item) break;
        items.push_back(item);
    }
    const std::vector<int> marks = line_texts::source_marks(items);
    const bool headings = species.flag_e && species.first_subspecies;
    block.bold_height = GLB_font_height(m_.fonts_.font(list_font::kBold, 1, 0).font);
    const Tsubspecies* previousSubspecies = nullptr;
    for (size_t k = 0; k < items.size(); ++k) {
        const Tcupaitem& item = *items[k];
        const int n = static_cast<int>(k) + 1;
        Line* recordingStart = at_;
        bool headedHere = false;
        if (headings) {
            const Tsubspecies* subspecies = item.subspecies ? item.subspecies->subspecies : nullptr;
            if (n == 1 || subspecies != previousSubspecies) {
                subspecies_heading(block, subspecies);
                headedHere = true;
            }
            previousSubspecies = subspecies;
        }
        recording_row(block, item, n, headedHere, marks[k]);
        for (Line* l = recordingStart->next; l && l != at_->next; l = l->next) {
            const bool heading = l->kind == kSubspeciesHeading || l->kind == kSubspeciesPicture;
            stamp(l, &species, block.species_index, heading ? nullptr : &item);
        }
    }
}

// The number, button, audio CD, letter, description and share of one recording.
void TShowStringsModel::Builder::recording_row(SpeciesBlock& block, const Tcupaitem& item, int n,
                                               bool headedHere, int sourceMark) {
    const TListGeometry& g = m_.geometry_;
    const SHST_TClassShowStringsData& settings = m_.settings_;
    const Tcutpart& cut = *item.cut_part;

    int advance = lh_ + g.horizontal_scroll_bar_height - 3;
    if (n == 1 && !headedHere) advance += 5 - block.thumbnail_advance;
    const bool separator = GLB_edition().rules.recording_group_separators && n >= 2 &&
                           !headedHere && settings.visible_set.item_starts_new_group(item);
    if (separator) advance += kSeparatorExtra;
    Line* number = add(kRecordingNumber, advance);
    number->font = &m_.fonts_.standard();
    number->value = n;
    if (separator) number->flags |= line_flag::kSeparator;

    Line* button = add(kRecordingButton, 0);
    button->button_block = std::make_unique<TRecordingButtonBlock>();
    button->button_block->recording = &item;
    button->button_block->recording_number = n;
    button->button_block->button_id =
        GLB_recording_button_id(family_index_, block.species_index, n);

    // A recording in a file has its letter and description on the button's
    // row, after it: their rows are broken to the width left there.
    const bool onCD = !cut.is_sound_file;
    int penX = 0;
    if (!onCD) {
        penX = pen_after_text(indent(kRecordingNumber), *number);
        if (m_.buttons_) penX += m_.buttons_->button_width(*button->button_block);
    }
    if (onCD && cut.audio_cd) {
        const QChar link(text_code::kUnderline);
        Line* cd =
            add_wrapped(kAudioCD, list_font::kRegular, 0,
                        QStringLiteral("       CD ") + link + cut.audio_cd->name + link, true);
        cd->audio_cd = cut.audio_cd;
    }
    const int h = onCD ? std::max(19, 7 * block.bold_height / 6) + 1 : 0;
    const TFirstLinePlaces places = line_texts::first_line_places(item, settings);
    const bool details = line_texts::has_details(item, settings);
    if (details) {
        add(kDetailsToggle, h);
        if (penX != 0) {
            const TListBitmap& closed = TListBitmaps::at(9);
            penX = std::max(penX, indent(kDetailsToggle)) + closed.offset.x() +
                   closed.size.width() + 5;
        }
    }
    Line* letter = add_text(kRecordingLetter, details ? 0 : h, list_font::kBold, 1,
                            list_font::kNormal, line_texts::letter(item));
    if (penX != 0) penX = pen_after_text(std::max(penX, indent(kRecordingLetter)), *letter);
    const int shift = item.kind_letter == u'X' ? 3 * m_.fonts_.average_char_width() : 0;
    add_wrapped(kDescription, list_font::kRegular, 0,
                line_texts::description(item, places, sourceMark), true, shift, penX);
    if (item.percentage != 100) {
        Line* percentage = add(kPercentage, lh_);
        percentage->font = &m_.fonts_.standard();
        percentage->value = item.percentage;
    }
}

// Where the pen stands after the line's text drawn from penX.
int TShowStringsModel::Builder::pen_after_text(int penX, const Line& line) {
    canvas_.select_font(*line.font);
    return penX + GLB_plain_text_width(canvas_, m_.display_text(line));
}

// Subspecies with pictures but without recordings get a heading of their own.
void TShowStringsModel::Builder::pictured_subspecies_headings(SpeciesBlock& block) {
    if (!block.species.flag_e) return;
    for (const Tsubspecies* s = block.species.first_subspecies; s; s = s->next) {
        if (!block.is_headed(*s) && line_texts::subspecies_has_picture(block.species, *s))
            subspecies_heading(block, s);
    }
}

// One line naming the subspecies no recording was made of.
void TShowStringsModel::Builder::unrecorded_subspecies(const SpeciesBlock& block) {
    if (!GLB_edition().shows_unrecorded_subspecies) return;
    QStringList remaining;
    for (const Tsubspecies* s = block.species.first_subspecies; s; s = s->next) {
        if (!block.is_headed(*s)) remaining << s->list_name();
    }
    if (remaining.isEmpty()) return;
    Line* line = add_wrapped(kSubspeciesHeading, list_font::kRegular, 0,
                             m_.words().line(11) + QStringLiteral(": ") +
                                 remaining.join(QStringLiteral(", ")) + u'.',
                             false);
    set_advance(line, line->advance + kUnrecordedExtra);
}

// The next species row starts below the thumbnail, however short the block.
void TShowStringsModel::Builder::next_row_below_thumbnail(const SpeciesBlock& block) {
    Line* next = at_->next;
    if (!block.thumbnail_line || !next || next->kind != kSpeciesToggle) return;
    int since = 0;
    for (Line* l = block.thumbnail_line->next; l && l != next; l = l->next) since += l->advance;
    set_advance(next, std::max(m_.spacer_height(),
                               block.thumbnail_line->thumbnail_size.height() - since + 10));
}

void TShowStringsModel::Builder::recording_details(Line* toggle) {
    const Tcupaitem& item = *toggle->recording;
    family_ = toggle->family;
    family_index_ = toggle->family_index;
    const SHST_TClassShowStringsData& settings = m_.settings_;
    const TListWords& words = m_.words();
    const TFirstLinePlaces places = line_texts::first_line_places(item, settings);
    const QString texts[] = {line_texts::sound_and_recordist(item, words),
                             line_texts::locality_and_date(item, places),
                             line_texts::other_species(item, settings, words)};
    const int kinds[] = {kSoundAndRecordist, kLocalityAndDate, kOtherSpecies};
    for (int k = 0; k < 3; ++k) {
        if (texts[k].isEmpty()) continue;
        Line* line = add_wrapped(kinds[k], list_font::kRegular, 0, texts[k], false);
        stamp(line, toggle->species, toggle->species_index, &item);
    }
}

