#include "listview/windows/incremental_search.h"

#include "data/species_database.h"
#include "data/taxa.h"
#include "listview/show_strings_data.h"
#include "listview/windows/child_form.h"
#include "listview/windows/list_find.h"
#include "listview/windows/show_form.h"
#include "listview/windows/show_strings.h"
#include "platform/dialog_service.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

#include <optional>

namespace {

constexpr int kSuggestions = 12;

// The family of the window's order that a name of order 1 stands for.
const Tfamily* familyInOrder(const TNameSearchIndex::Entry& entry, const SHST_TClassShowStringsData& settings) {
    const int order = settings.systematic_order;
    if (entry.species) return entry.species->family(order);
    if (order == kFirstOrder) return entry.family;
    for (const Tfamily* f = settings.data().first_family(order); f; f = f->next)
        if (f->scientific_name == entry.family->scientific_name) return f;
    return nullptr;
}

bool shownInWindow(const TNameSearchIndex::Entry& entry, const SHST_TClassShowStringsData& settings) {
    const Tfamily* family = familyInOrder(entry, settings);
    if (!family) return false;
    if (entry.species) return settings.visible_set.species_visible(*entry.species);
    return settings.data().family_has_visible_species(*family, settings.visible_set);
}

// Where the entry's taxon lies among the window's visible rows, as a find
// that matched its name would say.
std::optional<TTaxonMatch> matchOf(const TNameSearchIndex::Entry& entry, const SHST_TClassShowStringsData& settings) {
    const Tfamily* family = familyInOrder(entry, settings);
    if (!family) return std::nullopt;
    const Tdata& data = settings.data();
    const auto& filter = settings.visible_set;
    TTaxonMatch match;
    for (int fi = 1;; ++fi) {
        const Tfamily* f = data.visible_family(settings.systematic_order, fi, filter);
        if (!f) return std::nullopt;
        if (f == family) {
            match.family_index = fi;
            break;
        }
    }
    if (entry.species) {
        for (int sj = 1;; ++sj) {
            const Tspecies* s = data.visible_species(*family, sj, filter);
            if (!s) return std::nullopt;
            if (s == entry.species) {
                match.species_index = sj;
                break;
            }
        }
    }
    match.animal_class = family->animal_class();
    using Kind = TNameSearchIndex::Kind;
    match.scientific_matched = entry.kind == Kind::Scientific || entry.kind == Kind::Subspecies;
    match.in_other_names = entry.kind == Kind::OtherNames;
    const bool scientificLeads = settings.name_kind_at(1) == name_kind::kScientific;
    match.in_main_kind = match.scientific_matched == scientificLeads;
    return match;
}

// The text of a suggestion: the name that matched and, when that is not
// the taxon's own name in the list's language, the taxon's name after it.
QString suggestionText(const TNameSearchIndex::Entry& entry, const SHST_TClassShowStringsData& settings) {
    const bool scientificLeads = settings.name_kind_at(1) == name_kind::kScientific;
    QString main;
    if (entry.species)
        main = scientificLeads || entry.species->common_name.isEmpty() ? entry.species->scientific_name
                                                                         : entry.species->common_name;
    else
        main = scientificLeads || entry.family->common_name.isEmpty() ? entry.family->scientific_name
                                                                        : entry.family->common_name;
    if (main.trimmed() == entry.name) return entry.name;
    return entry.name + QStringLiteral("  \u2014 ") + main.trimmed();
}

}  // namespace

TIncrementalSearchBox::TIncrementalSearchBox(TChildForm& window, const TNameSearchIndex& index)
    : QFrame(&window), window_(window), index_(index), edit_(new QLineEdit(this)), list_(new QListWidget(this)) {
    setObjectName(QStringLiteral("incremental_search"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(3, 3, 3, 3);
    layout->setSpacing(2);
    layout->addWidget(edit_);
    layout->addWidget(list_);
    edit_->setClearButtonEnabled(true);
    edit_->setPlaceholderText(QStringLiteral("Name (any language, accents not needed)"));
    list_->setFocusPolicy(Qt::NoFocus);
    list_->setUniformItemSizes(true);
    edit_->installEventFilter(this);
    connect(edit_, &QLineEdit::textChanged, this, &TIncrementalSearchBox::update_suggestions);
    connect(list_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { pick(list_->row(item)); });
    hide();
}

bool TIncrementalSearchBox::starts_search(const QKeyEvent& event) {
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
    const QString text = event.text();
    return text.size() == 1 && text.at(0).isLetterOrNumber();
}

void TIncrementalSearchBox::open(const QString& typed) {
    // Letters typed faster than the focus moves to the box reach the list
    // and come here: they belong at the end of what is being typed.
    const QString text = isVisible() ? edit_->text() + typed : typed;
    place();
    show();
    raise();
    edit_->setText(text);
    update_suggestions();
    edit_->setFocus(Qt::ShortcutFocusReason);
    edit_->end(false);
}

void TIncrementalSearchBox::place() {
    const TShowForm* form = window_.list_form();
    if (!form) return;
    const QRect area(form->mapTo(&window_, QPoint(0, 0)), form->size());
    const int width = std::clamp(area.width() - 24, 200, 460);
    setGeometry(area.left() + (area.width() - width) / 2, area.top() + 8, width, height());
}

void TIncrementalSearchBox::update_suggestions() {
    list_->clear();
    shown_.clear();
    const TShowForm* form = window_.list_form();
    if (!form || !form->has_strings()) return;
    const SHST_TClassShowStringsData& settings = form->strings().model().settings();
    shown_ = index_.suggest(edit_->text(), kSuggestions,
                            [&settings](const TNameSearchIndex::Entry& e) { return shownInWindow(e, settings); });
    for (const TNameSearchIndex::Entry* entry : shown_) list_->addItem(suggestionText(*entry, settings));
    if (!shown_.empty()) list_->setCurrentRow(0);
    // As tall as its suggestions, within the list.
    const int rows = std::clamp(list_->count(), 1, kSuggestions);
    const int rowHeight = list_->count() ? list_->sizeHintForRow(0) : list_->fontMetrics().height() + 4;
    list_->setFixedHeight(rows * rowHeight + 2 * list_->frameWidth());
    resize(width(), std::min(layout()->sizeHint().height(), parentWidget()->height() - y() - 8));
}

const TNameSearchIndex::Entry* TIncrementalSearchBox::entry_at(int row) const {
    return row >= 0 && row < static_cast<int>(shown_.size()) ? shown_[static_cast<std::size_t>(row)] : nullptr;
}

bool TIncrementalSearchBox::pick(int row) {
    const TNameSearchIndex::Entry* entry = entry_at(row < 0 ? list_->currentRow() : row);
    TShowForm* form = window_.list_form();
    if (!entry || !form || !form->has_strings()) {
        platform::DialogService::beep();
        return false;
    }
    const std::optional<TTaxonMatch> match = matchOf(*entry, form->strings().model().settings());
    if (!match) {
        platform::DialogService::beep();
        return false;
    }
    hide();
    const int top = form->scroll_position();
    const TViewBand view{top, top + form->viewport()->height()};
    const TListFindResult result = GLB_reveal_in_list(form->strings(), *match, view);
    form->list_changed();
    if (result.must_scroll) form->scroll_to(result.found_top - form->quarter_height());
    form->setFocus();
    return true;
}

bool TIncrementalSearchBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edit_ && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const int count = list_->count();
        switch (key->key()) {
            case Qt::Key_Escape:
                hide();
                if (TShowForm* form = window_.list_form()) form->setFocus();
                return true;
            case Qt::Key_Return:
            case Qt::Key_Enter:
                pick();
                return true;
            case Qt::Key_Down:
            case Qt::Key_Up:
            case Qt::Key_PageDown:
            case Qt::Key_PageUp: {
                if (count == 0) return true;
                const int step = key->key() == Qt::Key_Down ? 1 : key->key() == Qt::Key_Up ? -1
                                 : key->key() == Qt::Key_PageDown ? 6 : -6;
                list_->setCurrentRow(std::clamp(list_->currentRow() + step, 0, count - 1));
                return true;
            }
            default:
                break;
        }
    }
    if (watched == edit_ && event->type() == QEvent::FocusOut) {
        // A click elsewhere closes the box; one on a suggestion picks it
        // first (the list takes no focus).
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) hide();
    }
    return QFrame::eventFilter(watched, event);
}
