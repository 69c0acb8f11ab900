#include "listview/show_strings_model.h"

#include "app/editions.h"
#include "data/media_records.h"
#include "data/species_database.h"
#include "listview/formatted_text.h"
#include "listview/line_builder.h"
#include "listview/line_texts.h"
#include "listview/list_fonts.h"
#include "data/areas.h"

#include <algorithm>
#include <bitset>
#include <initializer_list>

namespace {

using Line = TRecordShowStringData;
using namespace line_kind;

constexpr int kScrollMargin = 10;


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

// A list made without a picture source shows no small pictures.
TSmallPictureSource* noSmallPictures() {
    static TNoSmallPictures none;
    return &none;
}
}  // namespace

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
    --gLiveLines;
}

long TRecordShowStringData::live_count() {
    return gLiveLines;
}

// --- The model -------------------------------------------------------------

TShowStringsModel::TShowStringsModel(const SHST_TClassShowStringsData& settings,
                                     const TListGeometry& geometry,
                                     TSmallPictureSource* pictures)
    : settings_(settings),
      geometry_(geometry),
      pictures_(pictures ? pictures : noSmallPictures()),
      fonts_(GLB_list_fonts()) {}

TShowStringsModel::TShowStringsModel(const TShowStringsModel& other)
    : settings_(other.settings_),
      geometry_(other.geometry_),
      pictures_(other.pictures_),
      fonts_(other.fonts_) {
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
            const QSize size = pictures_->acquire(*source->species);
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
    forget_y_anchor();
    return line;
}

void TShowStringsModel::free_line(Line* line) {
    if (line == selected_) selected_ = nullptr;
    if (line == current_family_) current_family_ = nullptr;
    if (line == current_species_) current_species_ = nullptr;
    // A thumbnail line holds a use of its species' small picture.
    if (line->kind == kThumbnail && line->species && line->thumbnail_size.isValid())
        pictures_->release(*line->species);
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
    forget_y_anchor();
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
    // Far from the last answer, a walk from the top is as quick.
    constexpr int kNearSteps = 4096;
    if (y_anchor_ && target) {
        if (target == y_anchor_) return y_anchor_y_;
        const Line* ahead = y_anchor_;
        int aheadY = y_anchor_y_;
        const Line* behind = y_anchor_;
        int behindY = y_anchor_y_;  // the y of `behind`
        for (int step = 0; step < kNearSteps && (ahead || behind); ++step) {
            if (ahead && (ahead = ahead->next)) {
                aheadY += ahead->advance;
                if (ahead == target) {
                    y_anchor_ = target;
                    return y_anchor_y_ = aheadY;
                }
            }
            if (behind) {
                behindY -= behind->advance;
                if ((behind = behind->previous) == target) {
                    y_anchor_ = target;
                    return y_anchor_y_ = behindY;
                }
            }
        }
    }
    return y_of_from_top(target);
}

int TShowStringsModel::y_of_from_top(const Line* target) const {
    int y = 0;
    for (const Line* line = first_; line; line = line->next) {
        y += line->advance;
        if (line == target) {
            y_anchor_ = target;
            y_anchor_y_ = y;
            break;
        }
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
        forget_y_anchor();
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

namespace {

// A line by what it stands for, so that it can be found again in a chain
// made anew.
struct LineKey {
    int kind = 0;
    int value = 0;  // the class number of a class toggle
    int family_index = 0;
    int species_index = 0;
    const Tcupaitem* recording = nullptr;
    const Tsubspecies* subspecies = nullptr;

    static LineKey of(const Line* line) {
        if (!line) return {};
        return {line->kind,
                line->kind == kClassToggle && line->next ? line->next->value : 0,
                line->family_index,
                line->species_index,
                line->recording,
                line->subspecies};
    }
    bool matches(const Line* line) const { return line && of(line) == *this; }
    bool operator==(const LineKey&) const = default;
};

Line* findFrom(Line* from, const LineKey& key) {
    for (Line* line = from; line; line = line->next)
        if (key.matches(line)) return line;
    return nullptr;
}

}  // namespace

int TShowStringsModel::refresh_lines(const SHST_TClassShowStringsData& settings, int viewTop) {
    std::vector<LineKey> open;
    LineKey topRow;
    int topOffset = 0;
    int y = 0;
    for (const Line* line = first_; line; line = line->next) {
        const bool rowToggle = line->kind == kClassToggle || line->kind == kFamilyToggle ||
                               line->kind == kSpeciesToggle;
        if (rowToggle && (y <= viewTop || topRow.kind == 0)) {
            topRow = LineKey::of(line);
            topOffset = viewTop - y;
        }
        if (line_kind::is_toggle(line->kind) && line->open) open.push_back(LineKey::of(line));
        y += line->advance;
    }
    const LineKey selected = LineKey::of(selected_);
    const LineKey family = LineKey::of(current_family_);
    const LineKey species = LineKey::of(current_species_);

    settings_ = settings;
    visible_families_known_ = false;
    build();
    // Children follow their parents in the chain, so one walk down opens
    // them all in order.
    const TViewBand nowhere{};
    Line* cursor = first_;
    for (const LineKey& key : open) {
        Line* toggleLine = findFrom(cursor, key);
        if (!toggleLine) continue;
        if (!toggleLine->open) toggle(toggleLine, nowhere);
        cursor = toggleLine->next;
    }
    if (Line* line = findFrom(first_, selected))
        selected_ = line;
    else
        select_first_row_head();
    current_family_ = family.kind ? findFrom(first_, family) : nullptr;
    current_species_ = species.kind ? findFrom(first_, species) : nullptr;

    const Line* row = topRow.kind ? findFrom(first_, topRow) : nullptr;
    return row ? y_of(row) - row->advance + topOffset : viewTop;
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
    // or above the view's top, else the first family. A row begins at the
    // top of its toggle, before the toggle's advance: a row restored exactly
    // at the view's top stays the top row.
    int y = 0;
    int rowTop = 0;
    int topClass = 1;
    for (const Line* line = first_; line; line = line->next) {
        if (line->kind == kClassToggle || line->kind == kFamilyToggle ||
            line->kind == kSpeciesToggle)
            rowTop = y;
        y += line->advance;
        if (line->kind == kClassToggle && line->open && line->next)
            s.class_open[static_cast<size_t>(std::clamp(line->next->value, 1, 6) - 1)] = true;
        const bool above = rowTop <= view.top;
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
