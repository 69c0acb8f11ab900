#include "listview/windows/show_strings.h"

#include "data/media_records.h"
#include "data/people_places.h"
#include "formats/textfile.h"
#include "listview/list_actions.h"
#include "listview/list_bitmaps.h"
#include "listview/list_fonts.h"
#include "listview/windows/list_window_services.h"
#include "platform/system.h"

#include <QPainter>
#include <QWidget>

using namespace line_kind;

namespace {

// What a list does without the program's windows and buttons: nothing.
TListActions& actionsOf(const TListWindowServices& services) {
    static TListActions none;
    return services.list_actions ? *services.list_actions : none;
}
TRecordingButtonFactory& buttonsOf(const TListWindowServices& services) {
    static TRecordingButtonFactory none;
    return services.recording_buttons ? *services.recording_buttons : none;
}

// Lines the selection moves between.
bool is_selection_stop(int kind) {
    return kind == kClassTitle || kind == kFamilyMarker || kind == kSpeciesNumber ||
           kind == kRecordingButton || kind == kRecordingLetter;
}

bool is_species_name(int kind) {
    return kind == kSpeciesScientific || kind == kSpeciesOtherLanguage;
}

// How far below a click a line may start and still take part in it.
constexpr int kClickReach = 15;
constexpr int kLiteratureReach = 10;
// How far below a click a row head's reference may lie and still become current.
constexpr int kRowReach = 10;
// Lines within this distance above a painted area are found from the cache.
constexpr int kPaintMargin = 150;

// Every list and every change of one gets a version no other had.
int gNextLinesVersion = 0;

}  // namespace

TShowStrings::TShowStrings(const TListWindowServices& services,
                           const SHST_TClassShowStringsData& settings,
                           const TListGeometry& geometry)
    : model_(std::make_unique<TShowStringsModel>(settings, geometry, services.small_pictures)),
      actions_(actionsOf(services)),
      button_factory_(buttonsOf(services)) {
    model_->set_button_list(this);
    model_->build();
    reset_cache();
}

TShowStrings::TShowStrings(const TShowStrings& other)
    : model_(std::make_unique<TShowStringsModel>(*other.model_)),
      actions_(other.actions_),
      button_factory_(other.button_factory_) {
    model_->set_button_list(this);
    model_->select_first_row_head();
    reset_cache();
}

TShowStrings::~TShowStrings() {
    // The lines free their buttons; the list must not be told about it.
    model_->set_button_list(nullptr);
}

void TShowStrings::reset_cache() {
    lines_version_ = ++gNextLinesVersion;
    cached_top_ = model_->first_line();
    cached_top_reference_y_ = cached_top_ ? cached_top_->advance : 0;
}

void TShowStrings::chain_changed() {
    reset_cache();
    links_.clear();
}

TShowStrings::LineAt TShowStrings::line_near(int y) const {
    if (!cached_top_) {
        cached_top_ = model_->first_line();
        cached_top_reference_y_ = cached_top_ ? cached_top_->advance : 0;
        if (!cached_top_) return {};
    }
    TRecordShowStringData* line = cached_top_;
    int reference = cached_top_reference_y_;
    // Back while the line above still ends below y ...
    while (line->previous && reference - line->advance > y) {
        reference -= line->advance;
        line = line->previous;
    }
    // ... or forward while the next line ends above it.
    while (line->next && reference + line->next->advance < y) {
        line = line->next;
        reference += line->advance;
    }
    cached_top_ = line;
    cached_top_reference_y_ = reference;
    return {line, reference};
}

int TShowStrings::scroll_range() const {
    const TRecordShowStringData* last = model_->last_line();
    return model_->total_height() - (last ? last->advance : 0) + 100;
}

int TShowStrings::reference_y_of(const TRecordShowStringData& line) const {
    return model_->y_of(&line);
}

int TShowStrings::top_of(const TRecordShowStringData& line) const {
    return reference_y_of(line) - line.advance;
}

TRecordShowStringData* TShowStrings::first_name_line(TRecordShowStringData* rowHead) {
    if (!rowHead) return nullptr;
    if (rowHead->kind == kClassTitle) return rowHead;
    TRecordShowStringData* next = rowHead->next;
    if (next && is_name(next->kind) && next->kind != kClassTitle) return next;
    return rowHead;
}

int TShowStrings::bitmap_index(const TRecordShowStringData& line) const {
    switch (line.kind) {
        case kClassToggle:
        case kFamilyToggle:
            return line.open ? 2 : 1;
        case kSpeciesToggle: {
            // A species with nothing to unfold shows no sign.
            bool unfoldable = line.species && !line.species->third_text.isEmpty();
            for (const TRecordShowStringData* l = line.next; l && !unfoldable; l = l->next) {
                if (is_toggle(l->kind)) break;
                if (l->kind == kMediaMarker) unfoldable = l->media[1] || l->media[2];
            }
            if (!unfoldable) return 5;
            return line.open ? 4 : 3;
        }
        case kMapMarker:
            return 11;
        case kMediaMarker:
            if (line.media[0] && line.media[2]) return 8;
            if (line.media[0]) return 6;
            if (line.media[2]) return 7;
            return 0;
        case kSubspeciesPicture:
            return 6;
        case kDetailsToggle:
            return line.open ? 10 : 9;
        default:
            return 0;
    }
}

// ---------------------------------------------------------------------------
// Painting

void TShowStrings::paint(QPainter& painter, const QRect& listRect, bool highlightSelection,
                         QPoint scroll) {
    const LineAt start = line_near(listRect.top() - kPaintMargin);
    if (!start.line) return;
    picture_drawn_ = false;
    links_.forget(listRect);
    TTextCanvas canvas(&painter, &links_);
    canvas.window_colour = Qt::white;
    int penX = 0;
    int penY = start.reference_y - start.line->advance;
    for (TRecordShowStringData* line = start.line; line; line = line->next) {
        if (penY > listRect.bottom() + kClickReach) break;
        paint_line(painter, canvas, *line, penX, penY, highlightSelection, scroll);
        widest_drawn_ = std::max(widest_drawn_, penX);
    }
}

void TShowStrings::paint_line(QPainter& painter, TTextCanvas& canvas, TRecordShowStringData& line,
                              int& penX, int& penY, bool highlightSelection, QPoint scroll) {
    // A text that continues a recording button's row starts after the button.
    // A text broken over rows continues it too: its advance is the rows it
    // adds below the first, and all its rows start where the first does.
    const auto continuesRow = [this](const TRecordShowStringData& l) {
        const qsizetype breaks = l.text.count(QChar(text_code::kLineFeed));
        return l.advance == static_cast<int>(breaks) * model_->line_height();
    };
    bool afterButton = false;
    for (const TRecordShowStringData* l = &line; continuesRow(*l) && l->previous && !afterButton;
         l = l->previous)
        afterButton = l->previous->kind == kRecordingButton;
    if (line.indent != 0) penX = afterButton ? std::max(penX, line.indent) : line.indent;
    line.drawn_x = penX;
    line.drawn_y = penY;
    if (line.advance != 0) penY += line.advance;

    if (const int index = bitmap_index(line); index != 0 || is_bitmap(line.kind)) {
        if (index == 0) return;
        const TListBitmap& bitmap = TListBitmaps::at(index);
        // White is the see-through colour of the bitmaps: they are ANDed on.
        painter.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
        painter.drawPixmap(QRect(QPoint(penX, penY) + bitmap.offset, bitmap.size), bitmap.pixmap);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        penX += bitmap.offset.x() + bitmap.size.width() + 5;
        return;
    }
    if (line.kind == kRecordingButton) {
        TRecordingButtonFactory& factory = button_factory_;
        if (line.button_block && !line.button_block->button && host_) {
            line.button_block->button =
                factory.create(host_, *line.button_block, QPoint(penX, penY) - scroll);
            if (line.button_block->button)
                buttons_.emplace_back(line.button_block->button_id,
                                      line.button_block->button.get());
        }
        penX += line.button_block && line.button_block->button
                    ? line.button_block->button->total_width()
                    : factory.total_width();
        return;
    }
    if (line.kind == kThumbnail) {
        if (line.species && line.thumbnail_size.isValid()) {
            model_->pictures().draw(painter, *line.species, QPoint(penX, penY));
            picture_drawn_ = true;
        }
        return;
    }
    if (!line.font) return;

    if (line.kind == kRecordingNumber && (line.flags & line_flag::kSeparator)) {
        painter.setPen(Qt::black);
        painter.drawLine(penX, penY - 15, penX + 25, penY - 15);
    }
    const QString text = model_->display_text(line);
    if (text.isEmpty()) return;
    canvas.select_font(*line.font);
    canvas.underline = false;
    canvas.move_to(penX, penY + 12);
    GLB_draw_text(canvas, model_->line_height(), highlightSelection && &line == selected(), text);
    penX = canvas.pen.x();
}

// ---------------------------------------------------------------------------
// Hit testing

QRect TShowStrings::bitmap_rect(const TRecordShowStringData& line, int referenceY) const {
    const int index = bitmap_index(line);
    if (index == 0) return {};
    const TListBitmap& bitmap = TListBitmaps::at(index);
    return QRect(QPoint(line.drawn_x + bitmap.offset.x(), referenceY + bitmap.offset.y()),
                 bitmap.size);
}

bool TShowStrings::text_hit(const TRecordShowStringData& line, int referenceY, QPoint point) const {
    switch (line.kind) {
        case kLiterature:
        case kThreatened:
        case kAudioCD:
            if (point.y() <= line.drawn_y || point.y() > referenceY + kClickReach ||
                point.x() <= line.drawn_x)
                return false;
            // The link test knows every link of the list; the literature
            // mark is only hit close to its start, not on a link after it.
            if (line.kind == kLiterature && point.x() > line.drawn_x + kLiteratureReach)
                return false;
            break;
        case kNotes:
        case kSoundAndRecordist:
        case kLocalityAndDate:
            if (point.y() < line.drawn_y + 10 || point.y() > referenceY + kClickReach ||
                point.x() < line_kind::indent(line.kind))
                return false;
            break;
        default:
            return false;
    }
    return GLB_point_on_link(links_, point, referenceY + 20);
}

bool TShowStrings::over_clickable(QPoint point) const {
    const LineAt start = line_near(point.y() - kPaintMargin);
    int reference = start.reference_y;
    for (const TRecordShowStringData* line = start.line; line; line = line->next) {
        if (line != start.line) reference += line->advance;
        if (reference - line->advance > point.y() + kClickReach) break;
        if (bitmap_rect(*line, reference).contains(point)) return true;
        if (line->kind == kThumbnail && line->species &&
            model_->pictures().hit_test(*line->species, QPoint(line->drawn_x, reference), point))
            return true;
        if (text_hit(*line, reference, point)) return true;
    }
    return false;
}

TRecordShowStringData* TShowStrings::row_toggle(TRecordShowStringData* line) const {
    for (TRecordShowStringData* l = line; l; l = l->previous)
        if (is_toggle(l->kind) && l->kind != kDetailsToggle) return l;
    return nullptr;
}

TRecordShowStringData* TShowStrings::row_head_before(TRecordShowStringData* line) const {
    for (TRecordShowStringData* l = line; l; l = l->previous)
        if (is_row_head(l->kind)) return l;
    return nullptr;
}

void TShowStrings::find_current_rows_above(TRecordShowStringData* from) {
    TRecordShowStringData* species = nullptr;
    TRecordShowStringData* family = nullptr;
    for (TRecordShowStringData* l = from; l; l = l->previous) {
        if (l->kind == kSpeciesNumber && !species) species = l;
        if (l->kind == kFamilyMarker) {
            family = l;
            break;
        }
        if (l->kind == kClassTitle) break;
    }
    model_->set_current_family(family);
    model_->set_current_species(family ? species : nullptr);
}

TListChange TShowStrings::apply_toggle(TRecordShowStringData* toggle, const TViewBand& view,
                                       std::optional<int> toggleY) {
    TListChange change;
    const int y = toggleY ? *toggleY : model_->y_of(toggle);
    const TToggleResult result = model_->toggle(toggle, view, y);
    change.changed = result.changed;
    change.scroll_by = result.suggested_scroll > 0 ? result.suggested_scroll : 0;
    // The cached line may have been in the folded block; the toggle itself
    // always stays, and its y does not move.
    cached_top_ = toggle;
    cached_top_reference_y_ = y;
    if (change.changed) lines_version_ = ++gNextLinesVersion;
    return change;
}

// What the click walk has seen so far.
struct TShowStrings::ClickWalk {
    ClickWalk(QPoint p, const TViewBand& v) : point(p), view(v) {}

    QPoint point;
    const TViewBand& view;
    TListChange change;
    TRecordShowStringData* class_title = nullptr;
    TRecordShowStringData* letter = nullptr;  // of the current recording row
    bool toggled = false;
    bool ended = false;  // a window opened that ends the walk
};

void TShowStrings::close_information_windows() {
    actions_.close_information_windows(host_);
}

TListChange TShowStrings::click(QPoint point, const TViewBand& view) {
    close_information_windows();
    ClickWalk walk{point, view};
    const LineAt start = line_near(view.top - kPaintMargin);
    if (!start.line) return walk.change;
    find_current_rows_above(start.line);

    int reference = start.reference_y;
    for (TRecordShowStringData* line = start.line; line && !walk.ended; line = line->next) {
        if (line != start.line) reference += line->advance;
        if (reference - line->advance > point.y() + kClickReach) break;
        if (reference <= point.y() + kRowReach) make_row_current(*line, walk);
        if (click_bitmap(*line, reference, walk)) continue;
        if (click_thumbnail(*line, reference, walk)) continue;
        if (text_hit(*line, reference, point)) click_link(*line, walk);
    }
    select_clicked_row(walk);
    return walk.change;
}

// The nearest row above the click wins: each row head or recording letter
// passed becomes current, and a recording letter of an earlier row is
// forgotten once a later row takes its place.
void TShowStrings::make_row_current(TRecordShowStringData& line, ClickWalk& walk) {
    if (!is_row_head(line.kind) && line.kind != kRecordingLetter) return;
    if (line.kind == kRecordingLetter) {
        walk.letter = &line;
        return;
    }
    walk.letter = nullptr;
    if (line.kind == kClassTitle) {
        walk.class_title = &line;
        model_->set_current_family(nullptr);
        model_->set_current_species(nullptr);
    } else if (line.kind == kFamilyMarker) {
        model_->set_current_family(&line);
        model_->set_current_species(nullptr);
    } else if (line.kind == kSpeciesNumber) {
        model_->set_current_species(&line);
    } else {
        walk.letter = &line;
    }
}

void TShowStrings::toggle_from_click(TRecordShowStringData* toggle, int toggleY,
                                     ClickWalk& walk) {
    const TListChange t = apply_toggle(toggle, walk.view, toggleY);
    walk.change.changed = walk.change.changed || t.changed;
    walk.change.scroll_by = t.scroll_by;
    walk.toggled = true;
}

// A click on a bitmap (toggle, marker, link) acts on it.
bool TShowStrings::click_bitmap(TRecordShowStringData& line, int reference, ClickWalk& walk) {
    const QRect bitmap = bitmap_rect(line, reference);
    if (!bitmap.contains(walk.point)) return false;
    TListActions& actions = actions_;
    const Tspecies* species = line.species;
    switch (line.kind) {
        case kClassToggle:
        case kFamilyToggle:
        case kSpeciesToggle:
        case kDetailsToggle:
            toggle_from_click(&line, reference, walk);
            break;
        case kMediaMarker: {
            const bool leftHalf = walk.point.x() <= bitmap.left() + bitmap.width() / 2;
            if (species && line.media[0] && (!line.media[2] || leftHalf)) {
                actions.open_big_picture(*species, nullptr);
            } else if (TRecordShowStringData* toggle = row_toggle(&line)) {
                int toggleY = reference;
                for (auto* l = &line; l != toggle; l = l->previous) toggleY -= l->advance;
                toggle_from_click(toggle, toggleY, walk);
            }
            break;
        }
        case kSubspeciesPicture:
            if (species) actions.open_big_picture(*species, line.subspecies);
            break;
        case kMapMarker:
            if (species) actions.open_distribution_map(*species, nullptr);
            break;
        default:
            break;
    }
    return true;
}

// A click on the thumbnail opens the big picture.
bool TShowStrings::click_thumbnail(const TRecordShowStringData& line, int reference,
                                   ClickWalk& walk) {
    if (line.kind != kThumbnail || walk.toggled || !line.species ||
        !line.species->first_picture ||
        !model_->pictures().hit_test(*line.species, QPoint(line.drawn_x, reference), walk.point))
        return false;
    actions_.open_big_picture(*line.species, nullptr);
    return true;
}

// Links in the text open their information window.
void TShowStrings::click_link(const TRecordShowStringData& line, ClickWalk& walk) {
    TListActions& actions = actions_;
    const Tspecies* species = line.species;
    // The information windows are placed on the host, in view coordinates.
    const QPoint point = walk.point - QPoint(walk.view.left, walk.view.top);
    switch (line.kind) {
        case kLiterature:
            if (species) actions.open_literature(host_, *species, point);
            break;
        case kThreatened: {
            const Ttextfile_handler& texts = GLB_texts();
            actions.open_threatened_status(host_, point, {texts.line(QStringLiteral("BS_SHSTR"), 16),
                                                   texts.line(QStringLiteral("BS_SHSTR"), 17),
                                                   texts.line(QStringLiteral("BS_SHSTR"), 18)});
            break;
        }
        case kNotes:
            if (species && species->credited_person)
                actions.open_person(host_, *species->credited_person, point + QPoint(0, 4));
            break;
        case kAudioCD:
            if (line.audio_cd) actions.open_audio_cd(host_, *line.audio_cd, point);
            break;
        case kSoundAndRecordist:
            if (line.recording && line.recording->cut_part && line.recording->cut_part->recordist) {
                actions.open_person(host_, *line.recording->cut_part->recordist, point);
                walk.ended = true;  // the walk ends with the person window
            }
            break;
        case kLocalityAndDate: {
            const Tlocality* locality = line.recording && line.recording->cut_part
                                            ? line.recording->cut_part->locality
                                            : nullptr;
            if (species && locality && locality->has_coordinates())
                actions.open_distribution_map(*species, locality);
            else
                platform::beep();
            break;
        }
        default:
            break;
    }
}

// The clicked recording's letter, else the current species' or family's
// name, else the class title becomes the selection.
void TShowStrings::select_clicked_row(ClickWalk& walk) {
    TRecordShowStringData* target = walk.letter;
    if (!target) target = first_name_line(model_->current_species());
    if (!target) target = first_name_line(model_->current_family());
    if (!target) target = walk.class_title;
    if (target && target != selected()) {
        select_line(target);
        walk.change.selection_changed = true;
    }
}

// ---------------------------------------------------------------------------
// Selection and keys

void TShowStrings::select_line(TRecordShowStringData* line) {
    const auto button = [](TRecordShowStringData* l) -> TRecordingButton* {
        return l && l->kind == kRecordingButton && l->button_block ? l->button_block->button.get()
                                                                    : nullptr;
    };
    TRecordingButton* old = button(model_->selected());
    model_->select(line);
    if (old && old != button(line)) old->unhighlight();
    if (TRecordingButton* now = button(line)) now->highlight();
}

bool TShowStrings::in_view_band(const TRecordShowStringData& line, const TViewBand& view) const {
    const int top = top_of(line);
    return top >= view.top - 10 && top <= view.bottom - 5;
}

void TShowStrings::select_first_row_head() {
    model_->select_first_row_head();
    TRecordShowStringData* first = model_->first_line();
    while (first && !is_row_head(first->kind)) first = first->next;
    model_->set_current_family(first && first->kind == kFamilyMarker ? first : nullptr);
    model_->set_current_species(nullptr);
}

void TShowStrings::select_last_row_head() {
    TRecordShowStringData* last = model_->last_line();
    while (last && !is_selection_stop(last->kind)) last = last->previous;
    if (!last) return;
    if (last->kind == kFamilyMarker || last->kind == kSpeciesNumber) {
        find_current_rows_above(last);
        last = first_name_line(last);
    }
    select_line(last);
}

TSelectionMove TShowStrings::move_selection(bool forward, const TViewBand& view,
                                            int quarterHeight) {
    TSelectionMove move;
    TRecordShowStringData* from = selected();
    if (!from) {
        select_first_row_head();
        return move;
    }
    if (!forward && is_name(from->kind) && from->kind != kClassTitle) from = row_head_before(from);
    TRecordShowStringData* to = from;
    do {
        to = forward ? to->next : to->previous;
    } while (to && !is_selection_stop(to->kind));
    if (!to) {
        move.end_reached = true;
        return move;
    }
    if (to->kind == kClassTitle) {
        model_->set_current_family(nullptr);
        model_->set_current_species(nullptr);
    } else if (to->kind == kFamilyMarker || to->kind == kSpeciesNumber) {
        find_current_rows_above(to);
        to = first_name_line(to);
    }
    select_line(to);
    if (!in_view_band(*to, view)) {
        move.scroll_to = forward ? top_of(*to) - 4 * quarterHeight + 28 : top_of(*to) - 7;
    }
    return move;
}

TListChange TShowStrings::key_toggle(bool openOnly, bool closeOnly, const TViewBand& view) {
    TListChange change;
    TRecordShowStringData* sel = selected();
    if (!sel || !in_view_band(*sel, view)) return change;
    TRecordShowStringData* toggle = nullptr;
    if (sel->kind == kRecordingLetter) {
        if (sel->previous && sel->previous->kind == kDetailsToggle) toggle = sel->previous;
    } else if (is_name(sel->kind)) {
        toggle = row_toggle(sel);
    }
    if (!toggle) return change;
    if ((openOnly && toggle->open) || (closeOnly && !toggle->open)) return change;
    change = apply_toggle(toggle, view);
    return change;
}

// ---------------------------------------------------------------------------
// Whole-list operations

void TShowStrings::fold_all() {
    model_->fold_all();
    chain_changed();
    select_first_row_head();
}

void TShowStrings::change_name_settings(const SHST_TClassShowStringsData& settings) {
    model_->change_name_settings(settings);
    chain_changed();
}

TFoldSnapshot TShowStrings::take_snapshot(const TViewBand& view) const {
    return model_->take_snapshot(view);
}

void TShowStrings::apply_snapshot(const TFoldSnapshot& snapshot) {
    model_->apply_snapshot(snapshot);
    chain_changed();
    if (TRecordShowStringData* sel = selected()) find_current_rows_above(sel);
}

// ---------------------------------------------------------------------------
// Commands on the selection

bool TShowStrings::selection_is_species_or_recording() const {
    const TRecordShowStringData* sel = selected();
    return sel && (is_species_name(sel->kind) || sel->kind == kRecordingButton ||
                   sel->kind == kRecordingLetter);
}

const Tspecies* TShowStrings::selection_species() const {
    return selection_is_species_or_recording() ? selected()->species : nullptr;
}

bool TShowStrings::show_map_of_selection() {
    const Tspecies* species = selection_species();
    if (!species) return false;
    const TRecordShowStringData* sel = selected();
    const Tlocality* locality =
        sel->recording && sel->recording->cut_part ? sel->recording->cut_part->locality : nullptr;
    if (sel->kind != kSpeciesScientific && sel->kind != kSpeciesOtherLanguage && locality &&
        locality->has_coordinates()) {
        actions_.open_distribution_map(*species, locality);
        return true;
    }
    if (species->has_distribution_map()) {
        actions_.open_distribution_map(*species, nullptr);
        return true;
    }
    return false;
}

bool TShowStrings::show_picture_of_selection() {
    const Tspecies* species = selection_species();
    if (!species || !species->first_picture) return false;
    actions_.open_big_picture(*species, nullptr);
    return true;
}

bool TShowStrings::show_literature_of_selection(QPoint scroll) {
    const Tspecies* species = selection_species();
    if (!species || species->literature.empty()) return false;
    QPoint at;
    for (const TRecordShowStringData* l = model_->first_line(); l; l = l->next) {
        if (l->kind == kLiterature && l->species == species) {
            at = QPoint(l->drawn_x + 5, l->drawn_y + 16) - scroll;
            break;
        }
    }
    actions_.open_literature(host_, *species, at);
    return true;
}

QString TShowStrings::caption_text() const {
    QString caption;
    if (const TRecordShowStringData* family = model_->current_family()) {
        const TRecordShowStringData* name =
            first_name_line(const_cast<TRecordShowStringData*>(family));
        if (name != family) caption = GLB_without_codes(name->text);
    }
    if (const TRecordShowStringData* species = model_->current_species()) {
        const TRecordShowStringData* name =
            first_name_line(const_cast<TRecordShowStringData*>(species));
        if (name != species) caption += QStringLiteral(", ") + GLB_without_codes(name->text);
    }
    return caption;
}

// ---------------------------------------------------------------------------
// Recording buttons

void TShowStrings::shift_buttons(int baseId, int dy) {
    for (auto& [id, button] : buttons_) {
        if (id <= baseId) continue;
        if (auto* widget = dynamic_cast<QWidget*>(button))
            widget->move(widget->pos() + QPoint(0, dy));
    }
}

void TShowStrings::remove_button(int id) {
    std::erase_if(buttons_, [id](const auto& entry) { return entry.first == id; });
}
