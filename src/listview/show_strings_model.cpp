#include "listview/show_strings_model.h"

#include "app/editions.h"
#include "app/helpers.h"
#include "data/records.h"
#include "listview/formatted_text.h"
#include "listview/line_texts.h"
#include "listview/list_fonts.h"
#include "pictures_maps/areas.h"

#include <algorithm>
#include <bitset>
#include <initializer_list>

namespace {

using Line = TRecordShowStringData;
using namespace line_kind;

constexpr int kThumbnailNotesShift = 35;
constexpr int kThumbnailColumn = 180;
constexpr int kHeadingExtra = 5;
constexpr int kSeparatorExtra = 5;
constexpr int kUnrecordedExtra = 10;
constexpr int kScrollMargin = 10;
constexpr int kMaxHeadedSubspecies = 104;

bool editionIn(std::initializer_list<int> codes) {
    const int code = GLB_edition().edition_code;
    return std::find(codes.begin(), codes.end(), code) != codes.end();
}

bool kindIn(const Line* line, std::initializer_list<int> kinds) {
    return line && std::find(kinds.begin(), kinds.end(), line->kind) != kinds.end();
}

// Sets of kinds as bit masks (bit k for kind k).
using KindSet = std::uint32_t;
constexpr KindSet kinds(std::initializer_list<int> list) {
    KindSet set = 0;
    for (int k : list) set |= KindSet{1} << k;
    return set;
}
bool inSet(const Line* line, KindSet set) {
    return line && ((set >> line->kind) & 1u);
}

// The lines that end a toggle's block: the next row of the same or a
// higher level.
KindSet blockEnds(int toggleKind) {
    switch (toggleKind) {
        case kClassToggle:
            return kinds({kClassToggle});
        case kFamilyToggle:
            return kinds({kClassToggle, kFamilyToggle});
        case kSpeciesToggle:
            return kinds({kClassToggle, kFamilyToggle, kSpeciesToggle});
        default:
            return kinds({kClassToggle, kFamilyToggle, kSpeciesToggle, kSubspeciesHeading,
                          kRecordingNumber});
    }
}

// The lines of a toggle's own row, after which its block begins.
KindSet rowKinds(int toggleKind) {
    switch (toggleKind) {
        case kClassToggle:
            return kinds({kClassTitle});
        case kFamilyToggle:
            return kinds({kFamilyMarker, kFamilyScientific, kFamilyOtherLanguage});
        case kSpeciesToggle:
            return kinds({kSpeciesNumber, kSpeciesScientific, kSpeciesOtherLanguage, kMapMarker,
                          kMediaMarker, kLiterature, kDistributionNote, kThreatened, kOtherNames});
        default:
            return kinds({kRecordingLetter, kDescription, kPercentage});
    }
}

Line* rowEnd(Line* toggle) {
    Line* end = toggle;
    const KindSet row = rowKinds(toggle->kind);
    while (inSet(end->next, row)) end = end->next;
    return end;
}

Line* blockStop(Line* rowEndLine, int toggleKind) {
    Line* stop = rowEndLine->next;
    const KindSet ends = blockEnds(toggleKind);
    while (stop && !inSet(stop, ends)) stop = stop->next;
    return stop;
}

}  // namespace

// --- Records -----------------------------------------------------------------

namespace {
long gLiveLines = 0;

class TNoSmallPictures : public TSmallPictureSource {
  public:
    QSize acquire(const Tspecies&) override { return {}; }
    void release(const Tspecies&) override {}
};

std::unique_ptr<TSmallPictureSource>& smallPictureSource() {
    static std::unique_ptr<TSmallPictureSource> source = std::make_unique<TNoSmallPictures>();
    return source;
}
}  // namespace

TSmallPictureSource& GLB_small_pictures() {
    return *smallPictureSource();
}

void GLB_set_small_pictures(std::unique_ptr<TSmallPictureSource> source) {
    smallPictureSource() = source ? std::move(source) : std::make_unique<TNoSmallPictures>();
}

int line_kind::indent(int kind) {
    switch (kind) {
        case kClassToggle:
            return 10;
        case kFamilyToggle:
            return 25;
        case kSpeciesToggle:
            return 105;
        case kOtherNames:
        case kNotes:
            return 145;
        case kThumbnail:
            return 20;
        case kSubspeciesHeading:
        case kRecordingNumber:
            return 180;
        case kDetailsToggle:
            return 195;
        case kRecordingLetter:
            return 215;
        default:
            return kind >= kDescription && kind <= kOtherSpecies ? 235 : 0;
    }
}

TRecordShowStringData::TRecordShowStringData(int kind_, int advance_)
    : kind(static_cast<std::uint8_t>(kind_)), indent(line_kind::indent(kind_)), advance(advance_) {
    ++gLiveLines;
}

TRecordShowStringData::~TRecordShowStringData() {
    if (kind == kThumbnail && species && thumbnail_size.isValid())
        GLB_small_pictures().release(*species);
    --gLiveLines;
}

long TRecordShowStringData::live_count() {
    return gLiveLines;
}

// --- Building blocks -------------------------------------------------------

// Makes the lines of one block and appends them after an insertion point.
class TShowStringsModel::Builder {
  public:
    Builder(TShowStringsModel& model, Line* after)
        : m_(model), at_(after), canvas_(), lh_(model.line_height()) {}

    Line* last() const { return at_; }
    int added_height() const { return added_; }

    Line* add(int kind, int advance) {
        auto line = std::make_unique<Line>(kind, advance);
        added_ += advance;
        at_ = m_.insert_after(at_, std::move(line));
        return at_;
    }
    Line* add_text(int kind, int advance, int style, int step, int colour, const QString& text) {
        Line* line = add(kind, advance);
        line->font = &m_.fonts_.font(style, step, colour);
        line->text = text;
        return line;
    }
    // A line whose text is broken to the width left of its indent.
    Line* add_wrapped(int kind, int style, int step, const QString& text, bool continuesRow,
                      int extraShift = 0) {
        Line* line = add_text(kind, 0, style, step, list_font::kNormal, text);
        const TListGeometry& g = m_.geometry_;
        canvas_.select_font(*line->font);
        const int available =
            g.client_width - g.vertical_scroll_bar_width - line_kind::indent(kind) - extraShift;
        // Most texts are short: when even the widest letters would fit,
        // there is nothing to break and nothing to measure.
        const bool surelyFits = !line->text.contains(QChar(text_code::kLineFeed)) &&
                                line->text.size() * canvas_.metrics().maxWidth() < available - 4;
        const int lines = surelyFits ? 1 : GLB_wrap_text(canvas_, available, line->text).lines;
        set_advance(line, continuesRow ? (lines - 1) * lh_ : lines * lh_);
        line->indent += extraShift;
        return line;
    }
    // Changes the advance of a line already in the chain.
    void set_advance(Line* line, int advance) {
        added_ += advance - line->advance;
        m_.total_height_ += advance - line->advance;
        line->advance = advance;
    }
    void belong_to(Line* line, const Tfamily* family, int familyIndex) {
        line->family = family;
        line->family_index = familyIndex;
    }

    void class_rows();
    void family_rows(int animalClass);
    void species_rows(const Tfamily& family, int familyIndex);
    void species_block(Line* toggle);
    void recording_details(Line* toggle);
    void row_names(Line* head);

  private:
    void names(const QString& scientific, const QString& otherLanguage, int scientificKind,
               int otherKind);
    void species_row(const Tspecies& species, int speciesIndex);
    void stamp(Line* line, const Tspecies* species, int speciesIndex, const Tcupaitem* recording);

    TShowStringsModel& m_;
    Line* at_;
    TTextCanvas canvas_;
    int lh_;
    int added_ = 0;
    const Tfamily* family_ = nullptr;
    int family_index_ = 0;
};

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
    if (distribution && editionIn({101, 111, 113, 114, 115, 120, 130})) {
        const bool outside =
            GLB_edition().edition_code == 101 && area && !distribution->SharesUnitWith(*area);
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
        if (GLB_edition().edition_code == 106) text.prepend(QStringLiteral("Other name(s): "));
        add_wrapped(kOtherNames, list_font::kRegular, -1, text, false);
    }
    for (Line* l = first; l && l != at_->next; l = l->next) stamp(l, &species, j, nullptr);
}

void TShowStringsModel::Builder::species_block(Line* toggle) {
    const Tspecies& species = *toggle->species;
    const int j = toggle->species_index;
    family_ = toggle->family;
    family_index_ = toggle->family_index;
    const SHST_TClassShowStringsData& settings = m_.settings_;
    const TClassVisibleSpeciesAndRecordings& filter = settings.visible_set;
    const TListWords& words = m_.words();
    const TListGeometry& g = m_.geometry_;
    Line* blockStart = at_;

    // 1. Thumbnail.
    QSize thumbnail;
    if (g.thumbnails_enabled && species.flag_s) thumbnail = GLB_small_pictures().acquire(species);
    const bool thumbnailShown = thumbnail.isValid();

    // 2. Notes, beside the thumbnail when there is one.
    int notesAdvance = 0;
    const QString notes = line_texts::notes(species, words);
    if (!notes.isEmpty()) {
        Line* line = add_wrapped(kNotes, list_font::kRegular, -1, notes, false,
                                 thumbnailShown ? kThumbnailNotesShift : 0);
        notesAdvance = line->advance;
    }

    // 3. The thumbnail starts at the notes' first row.
    Line* thumbnailLine = nullptr;
    int thumbnailAdvance = 0;
    if (thumbnailShown) {
        thumbnailAdvance = lh_ - notesAdvance;
        thumbnailLine = add(kThumbnail, thumbnailAdvance);
        thumbnailLine->indent = std::min(20, (kThumbnailColumn - thumbnail.width()) / 2);
        thumbnailLine->thumbnail_size = thumbnail;
        stamp(thumbnailLine, &species, j, nullptr);
    }

    // 4. Recordings.
    std::vector<const Tcupaitem*> recordings;
    for (int n = 1;; ++n) {
        const Tcupaitem* item =
            filter.nth_item(species, n, TClassVisibleSpeciesAndRecordings::kAllKinds, false);
        if (!item) break;
        recordings.push_back(item);
    }
    const std::vector<int> marks = line_texts::source_marks(recordings);
    const bool headings = species.flag_e && species.first_subspecies;
    std::bitset<kMaxHeadedSubspecies + 1> headed;
    bool firstHeading = true;
    const auto heading = [&](const Tsubspecies* subspecies) {
        Line* line = add_wrapped(
            kSubspeciesHeading, list_font::kRegular, 0,
            line_texts::subspecies_heading(species, subspecies, settings.show_scientific, words),
            false);
        set_advance(line, line->advance + kHeadingExtra - (firstHeading ? thumbnailAdvance : 0));
        line->subspecies = subspecies;
        firstHeading = false;
        if (subspecies) {
            if (line_texts::subspecies_has_picture(species, *subspecies)) {
                Line* marker = add(kSubspeciesPicture, 0);
                marker->subspecies = subspecies;
            }
            if (subspecies->ordinal >= 1 && subspecies->ordinal <= kMaxHeadedSubspecies)
                headed.set(static_cast<size_t>(subspecies->ordinal));
        }
    };

    const int boldHeight = GLB_font_height(m_.fonts_.font(list_font::kBold, 1, 0).font);
    const Tsubspecies* previousSubspecies = nullptr;
    for (size_t k = 0; k < recordings.size(); ++k) {
        const Tcupaitem& item = *recordings[k];
        const Tcutpart& cut = *item.cut_part;
        const int n = static_cast<int>(k) + 1;
        Line* recordingStart = at_;

        bool headed_here = false;
        if (headings) {
            const Tsubspecies* subspecies = item.subspecies ? item.subspecies->subspecies : nullptr;
            if (n == 1 || subspecies != previousSubspecies) {
                heading(subspecies);
                headed_here = true;
            }
            previousSubspecies = subspecies;
        }

        int advance = lh_ + g.horizontal_scroll_bar_height - 3;
        if (n == 1 && !headed_here) advance += 5 - thumbnailAdvance;
        const bool separator =
            editionIn({101, 130}) && n >= 2 && !headed_here && filter.item_starts_new_group(item);
        if (separator) advance += kSeparatorExtra;
        Line* number = add(kRecordingNumber, advance);
        number->font = &m_.fonts_.standard();
        number->value = n;
        if (separator) number->flags |= line_flag::kSeparator;

        Line* button = add(kRecordingButton, 0);
        button->button_block = std::make_unique<TRecordingButtonBlock>();
        button->button_block->recording = &item;
        button->button_block->recording_number = n;
        button->button_block->button_id = GLB_recording_button_id(family_index_, j, n);

        const bool onCD = !cut.is_sound_file;
        if (onCD && cut.audio_cd) {
            const QChar link(text_code::kUnderline);
            Line* cd =
                add_wrapped(kAudioCD, list_font::kRegular, 0,
                            QStringLiteral("       CD ") + link + cut.audio_cd->name + link, true);
            cd->audio_cd = cut.audio_cd;
        }
        const int h = onCD ? std::max(19, 7 * boldHeight / 6) + 1 : 0;
        const TFirstLinePlaces places = line_texts::first_line_places(item, settings);
        const bool details = line_texts::has_details(item, settings);
        if (details) add(kDetailsToggle, h);
        add_text(kRecordingLetter, details ? 0 : h, list_font::kBold, 1, list_font::kNormal,
                 line_texts::letter(item));
        const int shift = item.kind_letter == u'X' ? 3 * m_.fonts_.average_char_width() : 0;
        add_wrapped(kDescription, list_font::kRegular, 0,
                    line_texts::description(item, places, marks[k]), true, shift);
        if (item.percentage != 100) {
            Line* percentage = add(kPercentage, lh_);
            percentage->font = &m_.fonts_.standard();
            percentage->value = item.percentage;
        }
        for (Line* l = recordingStart->next; l && l != at_->next; l = l->next) {
            if (l->kind != kSubspeciesHeading && l->kind != kSubspeciesPicture)
                stamp(l, &species, j, &item);
            else
                stamp(l, &species, j, nullptr);
        }
    }

    // 5. Subspecies with pictures but without recordings.
    if (species.flag_e) {
        for (const Tsubspecies* s = species.first_subspecies; s; s = s->next) {
            const bool isHeaded = s->ordinal >= 1 && s->ordinal <= kMaxHeadedSubspecies &&
                                  headed.test(static_cast<size_t>(s->ordinal));
            if (!isHeaded && line_texts::subspecies_has_picture(species, *s)) heading(s);
        }
    }

    // 6. The subspecies no recording was made of.
    if (GLB_edition().shows_unrecorded_subspecies) {
        QStringList remaining;
        for (const Tsubspecies* s = species.first_subspecies; s; s = s->next) {
            const bool isHeaded = s->ordinal >= 1 && s->ordinal <= kMaxHeadedSubspecies &&
                                  headed.test(static_cast<size_t>(s->ordinal));
            if (!isHeaded) remaining << s->list_name();
        }
        if (!remaining.isEmpty()) {
            Line* line = add_wrapped(
                kSubspeciesHeading, list_font::kRegular, 0,
                words.line(11) + QStringLiteral(": ") + remaining.join(QStringLiteral(", ")) + u'.',
                false);
            set_advance(line, line->advance + kUnrecordedExtra);
        }
    }
    for (Line* l = blockStart->next; l && l != at_->next; l = l->next) {
        if (!l->species) stamp(l, &species, j, nullptr);
    }

    // 7. The next row starts below the thumbnail.
    if (thumbnailLine && at_->next && at_->next->kind == kSpeciesToggle) {
        int since = 0;
        for (Line* l = thumbnailLine->next; l && l != at_->next; l = l->next) since += l->advance;
        Line* next = at_->next;
        const int advance =
            std::max(m_.spacer_height(), thumbnailLine->thumbnail_size.height() - since + 10);
        set_advance(next, advance);
    }
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

// --- The model -------------------------------------------------------------

TShowStringsModel::TShowStringsModel(const SHST_TClassShowStringsData& settings,
                                     const TListGeometry& geometry)
    : settings_(settings), geometry_(geometry), fonts_(GLB_list_fonts()) {}

TShowStringsModel::TShowStringsModel(const TShowStringsModel& other)
    : settings_(other.settings_), geometry_(other.geometry_), fonts_(other.fonts_) {
    for (const Line* source = other.first_; source; source = source->next) {
        auto line = std::make_unique<Line>(source->kind, source->advance);
        line->font = source->font;
        line->flags = source->flags;
        line->indent = source->indent;
        line->drawn_x = source->drawn_x;
        line->drawn_y = source->drawn_y;
        line->text = source->text;
        line->open = source->open;
        line->value = source->value;
        line->media = source->media;
        line->subspecies = source->subspecies;
        line->audio_cd = source->audio_cd;
        line->family = source->family;
        line->species = source->species;
        line->recording = source->recording;
        line->family_index = source->family_index;
        line->species_index = source->species_index;
        if (source->button_block) {
            // The copy gets its own button when it is painted, from the start.
            line->button_block = std::make_unique<TRecordingButtonBlock>();
            line->button_block->recording = source->button_block->recording;
            line->button_block->recording_number = source->button_block->recording_number;
            line->button_block->button_id = source->button_block->button_id;
        }
        if (source->kind == kThumbnail && source->species && source->thumbnail_size.isValid()) {
            const QSize size = GLB_small_pictures().acquire(*source->species);
            // Only a use that was taken is given back.
            if (size.isValid()) line->thumbnail_size = source->thumbnail_size;
        }
        insert_after(last_, std::move(line));
    }
    visible_families_ = other.visible_families_;
    visible_families_known_ = other.visible_families_known_;
}

TShowStringsModel::~TShowStringsModel() {
    clear();
}

const TListWords& TShowStringsModel::words() const {
    if (!words_) words_ = std::make_unique<TListWords>();
    return *words_;
}

int TShowStringsModel::line_height() const {
    return fonts_.line_height();
}

int TShowStringsModel::spacer_height() const {
    return std::max(30, 3 * fonts_.line_height() / 2);
}

const std::vector<const Tfamily*>& TShowStringsModel::visible_families() const {
    if (!visible_families_known_) {
        visible_families_.clear();
        const Tdata& data = settings_.data();
        for (const Tfamily* f = data.first_family(settings_.systematic_order); f; f = f->next) {
            if (data.family_has_visible_species(*f, settings_.visible_set))
                visible_families_.push_back(f);
        }
        visible_families_known_ = true;
    }
    return visible_families_;
}

Line* TShowStringsModel::insert_after(Line* after, std::unique_ptr<Line> owned) {
    Line* line = owned.release();
    line->previous = after;
    line->next = after ? after->next : first_;
    if (line->next)
        line->next->previous = line;
    else
        last_ = line;
    if (after)
        after->next = line;
    else
        first_ = line;
    ++line_count_;
    total_height_ += line->advance;
    return line;
}

void TShowStringsModel::free_line(Line* line) {
    if (line == selected_) selected_ = nullptr;
    if (line == current_family_) current_family_ = nullptr;
    if (line == current_species_) current_species_ = nullptr;
    if (TRecordingButtonBlock* block = line->button_block.get(); block && block->button) {
        block->saved_position = block->button->position_tenths();
        if (buttons_) buttons_->remove_button(block->button_id);
        block->button.reset();
    }
    delete line;
}

int TShowStringsModel::remove_between(Line* after, Line* stop) {
    Line* line = after ? after->next : first_;
    if (line == stop) return 0;
    if (after)
        after->next = stop;
    else
        first_ = stop;
    if (stop)
        stop->previous = after;
    else
        last_ = after;
    int removed = 0;
    while (line != stop) {
        Line* next = line->next;
        removed += line->advance;
        --line_count_;
        free_line(line);
        line = next;
    }
    total_height_ -= removed;
    return removed;
}

void TShowStringsModel::clear() {
    remove_between(nullptr, nullptr);
}

void TShowStringsModel::build() {
    clear();
    Builder builder(*this, nullptr);
    if (GLB_edition().has_class_rows)
        builder.class_rows();
    else
        builder.family_rows(animal_class::Any);
    select_first_row_head();
}

int TShowStringsModel::y_of(const Line* target) const {
    int y = 0;
    for (const Line* line = first_; line; line = line->next) {
        y += line->advance;
        if (line == target) break;
    }
    return y;
}

TShowStringsModel::TFoundRow TShowStringsModel::find_row(int familyIndex, int speciesIndex) const {
    int y = 0;
    for (Line* line = first_; line; line = line->next) {
        const bool toggle = (speciesIndex == 0 && line->kind == kFamilyToggle) ||
                            (speciesIndex > 0 && line->kind == kSpeciesToggle);
        if (toggle && line->family_index == familyIndex && line->species_index == speciesIndex &&
            line->next)
            return {line->next, y};
        y += line->advance;
    }
    return {};
}

int TShowStringsModel::base_button_id(const Line* toggle) const {
    switch (toggle->kind) {
        case kClassToggle: {
            const Line* title = toggle->next;
            int first = 0;
            const std::vector<const Tfamily*>& families = visible_families();
            for (size_t k = 0; k < families.size() && title; ++k) {
                if (families[k]->animal_class() == title->value) {
                    first = static_cast<int>(k) + 1;
                    break;
                }
            }
            return first * 200000;
        }
        case kFamilyToggle:
            return toggle->family_index * 200000;
        case kSpeciesToggle:
            return GLB_recording_button_id(toggle->family_index, toggle->species_index, 0);
        default: {
            int n = 0;
            for (const Line* l = toggle; l; l = l->previous) {
                if (l->kind == kRecordingNumber) {
                    n = l->value;
                    break;
                }
            }
            return GLB_recording_button_id(toggle->family_index, toggle->species_index, n);
        }
    }
}

void TShowStringsModel::shift_buttons(int baseId, int dy) {
    if (buttons_ && dy != 0) buttons_->shift_buttons(baseId, dy);
}

TToggleResult TShowStringsModel::toggle(Line* toggleLine, const TViewBand& view) {
    if (!toggleLine || !line_kind::is_toggle(toggleLine->kind)) return {};
    return toggleLine->open ? fold(toggleLine) : unfold(toggleLine, view, std::nullopt);
}

TToggleResult TShowStringsModel::toggle(Line* toggleLine, const TViewBand& view, int toggleY) {
    if (!toggleLine || !line_kind::is_toggle(toggleLine->kind)) return {};
    return toggleLine->open ? fold(toggleLine) : unfold(toggleLine, view, toggleY);
}

TToggleResult TShowStringsModel::unfold(Line* toggleLine, const TViewBand& view,
                                        std::optional<int> toggleY) {
    TToggleResult result;
    Line* row = rowEnd(toggleLine);
    Builder builder(*this, row);
    switch (toggleLine->kind) {
        case kClassToggle:
            builder.family_rows(toggleLine->next ? toggleLine->next->value : 0);
            break;
        case kFamilyToggle:
            builder.species_rows(*toggleLine->family, toggleLine->family_index);
            break;
        case kSpeciesToggle:
            builder.species_block(toggleLine);
            break;
        default:
            if (!toggleLine->recording) return result;
            builder.recording_details(toggleLine);
            break;
    }
    toggleLine->open = true;
    result.changed = true;
    result.height_change = builder.added_height();
    shift_buttons(base_button_id(toggleLine), result.height_change);

    if (toggleLine->kind == kSpeciesToggle || toggleLine->kind == kDetailsToggle) {
        const int rowTop = toggleY ? *toggleY : y_of(toggleLine);
        int bottom = rowTop;
        for (Line* l = toggleLine->next; l && l != builder.last()->next; l = l->next)
            bottom += l->advance;
        const int first = geometry_.horizontal_scroll_bar_height +
                          (bottom + line_height() - view.bottom + kScrollMargin);
        int scroll = first;
        if (toggleLine->kind == kSpeciesToggle)
            scroll = std::min(first, rowTop - view.top - kScrollMargin);
        result.suggested_scroll = std::max(0, scroll);
    }
    return result;
}

TToggleResult TShowStringsModel::fold(Line* toggleLine) {
    TToggleResult result;
    Line* row = rowEnd(toggleLine);
    Line* stop = blockStop(row, toggleLine->kind);
    int removed = remove_between(row, stop);
    // A row that waited below a thumbnail moves back up.
    if (toggleLine->kind == kSpeciesToggle && stop && stop->kind == kSpeciesToggle &&
        stop->advance != spacer_height()) {
        removed += stop->advance - spacer_height();
        total_height_ -= stop->advance - spacer_height();
        stop->advance = spacer_height();
    }
    if (toggleLine->kind == kClassToggle) {
        current_family_ = nullptr;
        current_species_ = nullptr;
    } else if (toggleLine->kind == kFamilyToggle) {
        current_species_ = nullptr;
    }
    toggleLine->open = false;
    result.changed = true;
    result.height_change = -removed;
    shift_buttons(base_button_id(toggleLine), -removed);
    return result;
}

void TShowStringsModel::fold_all() {
    for (Line* line = first_; line; line = line->next) {
        if ((line->kind == kClassToggle || line->kind == kFamilyToggle) && line->open) {
            Line* row = rowEnd(line);
            remove_between(row, blockStop(row, line->kind));
            line->open = false;
        }
    }
    // Nothing is left below to move: every button went with its block.
    current_family_ = nullptr;
    current_species_ = nullptr;
    selected_ = nullptr;
    select_first_row_head();
}

void TShowStringsModel::change_name_settings(const SHST_TClassShowStringsData& settings) {
    const bool wasName =
        selected_ && kindIn(selected_, {kFamilyScientific, kFamilyOtherLanguage, kSpeciesScientific,
                                        kSpeciesOtherLanguage});
    for (Line* line = first_; line;) {
        Line* next = line->next;
        if (kindIn(line, {kFamilyScientific, kFamilyOtherLanguage, kSpeciesScientific,
                          kSpeciesOtherLanguage}))
            remove_between(line->previous, next);
        line = next;
    }
    settings_ = settings;
    for (Line* line = first_; line; line = line->next) {
        if (line->kind != kFamilyMarker && line->kind != kSpeciesNumber) continue;
        Builder builder(*this, line);
        builder.row_names(line);
    }
    if (wasName) select_first_row_head();
}

TRecordShowStringData* TShowStringsModel::first_row_head_selection() const {
    for (Line* line = first_; line; line = line->next) {
        if (line->kind == kClassTitle) return line;
        if (line->kind == kFamilyMarker) {
            return line->next && line_kind::is_name(line->next->kind) ? line->next : line;
        }
    }
    return nullptr;
}

TFoldSnapshot TShowStringsModel::take_snapshot(const TViewBand& view) const {
    TFoldSnapshot s = TFoldSnapshot::initial();
    s.class_open.fill(false);
    s.top_family = 0;
    const bool classes = GLB_edition().has_class_rows;
    // The top rows: the last family (and species of it) whose row begins at
    // or above the view's top, else the first family.
    int y = 0;
    int topClass = 1;
    for (const Line* line = first_; line; line = line->next) {
        y += line->advance;
        if (line->kind == kClassToggle && line->open && line->next)
            s.class_open[static_cast<size_t>(std::clamp(line->next->value, 1, 6) - 1)] = true;
        const bool above = y <= view.top;
        if (line->kind == kClassTitle && (above || s.top_family == 0)) topClass = line->value;
        if (line->kind == kFamilyMarker && (above || s.top_family == 0)) {
            s.top_family = line->family_index;
            s.top_species = 0;
            if (line->family) topClass = line->family->animal_class();
        }
        if (line->kind == kSpeciesNumber && above && line->family_index == s.top_family)
            s.top_species = line->species_index;
    }
    s.top_class = classes ? std::clamp(topClass, 1, 6) : 1;
    if (s.top_family == 0) s.top_family = 1;

    y = 0;
    for (const Line* line = first_; line && y <= view.bottom; line = line->next) {
        y += line->advance;
        if (line->kind == kFamilyToggle && line->open && line->family_index >= s.top_family &&
            y <= view.bottom && s.open_family_count < TFoldSnapshot::kMaxOpenFamilies)
            s.open_families[static_cast<size_t>(s.open_family_count++)] = line->family_index;
    }
    s.selected_family = selected_ && selected_->family_index > 0 ? selected_->family_index : 1;
    s.selected_species = selected_ ? selected_->species_index : 0;
    return s;
}

void TShowStringsModel::apply_snapshot(const TFoldSnapshot& snapshot) {
    const TViewBand nowhere{};
    for (Line* line = first_; line; line = line->next) {
        if (line->kind == kClassToggle && !line->open && line->next) {
            const int c = std::clamp(line->next->value, 1, 6);
            if (snapshot.class_open[static_cast<size_t>(c - 1)]) toggle(line, nowhere);
        }
    }
    for (int k = 0; k < snapshot.open_family_count; ++k) {
        const int family = snapshot.open_families[static_cast<size_t>(k)];
        const TFoundRow row = find_row(family, 0);
        if (row.head && row.head->previous && !row.head->previous->open)
            toggle(row.head->previous, nowhere);
    }
    TFoundRow selectedRow = find_row(snapshot.selected_family, snapshot.selected_species);
    if (!selectedRow.head) selectedRow = find_row(snapshot.selected_family, 0);
    if (selectedRow.head) {
        Line* head = selectedRow.head;
        selected_ = head->next && line_kind::is_name(head->next->kind) ? head->next : head;
        current_family_ = nullptr;
        current_species_ = nullptr;
        for (Line* l = head; l; l = l->previous) {
            if (l->kind == kSpeciesNumber && !current_species_ && !current_family_)
                current_species_ = l;
            if (l->kind == kFamilyMarker) {
                current_family_ = l;
                break;
            }
        }
    } else {
        select_first_row_head();
    }
}

QString TShowStringsModel::display_text(const Line& line) const {
    switch (line.kind) {
        case kClassTitle:
            return Tdata::class_name(line.value);
        case kFamilyMarker:
            return {};
        case kSpeciesNumber:
        case kRecordingNumber:
            return QString::number(line.value) + QStringLiteral(". ");
        case kPercentage:
            return words().line(3) + QString::number(line.value) + u'%';
        default:
            break;
    }
    if ((line.flags & line_flag::kNameFollows) && line_kind::is_name(line.kind))
        return line.text + QStringLiteral(". ");
    return line.text;
}
