#include "playlists/playlist.h"

#include "data/media_records.h"
#include "formats/textfile.h"

#include <QFileInfo>

namespace {

QString nameOfKind(int kind, const Tspecies& species) {
    if (kind == 1) return species.scientific_name;
    if (kind == 2) return species.common_name;
    return {};
}

}  // namespace

QString TTaxonNaming::taxon_text(const Tspecies& species, const Tcupaitem* recording) const {
    QString text = QStringLiteral("  ");
    const QString first = nameOfKind(first_kind, species);
    const QString second = nameOfKind(second_kind, species);
    text += first;
    if (!second.isEmpty()) {
        if (text.trimmed().isEmpty())
            text += second;
        else
            text += QStringLiteral(" (") + second + u')';
    }
    if (species.subspecies_count > 0 && recording && recording->subspecies) {
        const Tssp_data& ssp = *recording->subspecies;
        text += QStringLiteral(", ") + GLB_text(QStringLiteral("BS_SHSTR"), 9) + u' ' +
                (ssp.subspecies ? ssp.subspecies->display_name()
                                : QStringLiteral("error with subspecies name"));
        if (ssp.p_flag) text += QStringLiteral(" (probably)");
    }
    return text;
}

TPlayList::TPlayList() : rows_(1) {}

const TPlayListInfo* TPlayList::entry(int row) const {
    if (row < 1 || row > row_count() || !rows_[row - 1]) return nullptr;
    return &*rows_[row - 1];
}

void TPlayList::add_entry(const TPlayListInfo& entry) {
    if (rows_.back()) rows_.emplace_back();
    rows_.back() = entry;
    modified_ = true;
}

bool TPlayList::delete_row(int row) {
    if (row < 1 || row > row_count()) return false;
    rows_.erase(rows_.begin() + (row - 1));
    if (rows_.empty()) rows_.emplace_back();
    modified_ = true;
    return true;
}

bool TPlayList::move_row(int from, int to) {
    if (from < 1 || from > row_count() || to < 1 || to > row_count() || from == to) return false;
    auto moved = std::move(rows_[from - 1]);
    rows_.erase(rows_.begin() + (from - 1));
    rows_.insert(rows_.begin() + (to - 1), std::move(moved));
    modified_ = true;
    return true;
}

bool TPlayList::set_repeat_text(int row, const QString& text) {
    if (row < 1 || row > row_count() || !rows_[row - 1]) return false;
    const QString t = text.trimmed();
    bool ok = false;
    const int count = (t.isEmpty() ? QStringLiteral("1") : t).toInt(&ok);
    if (!ok || count < 1 || count == rows_[row - 1]->repeat_count) return false;
    rows_[row - 1]->repeat_count = std::min(count, TPlayListInfo::kMaxRepeatCount);
    modified_ = true;
    return true;
}

void TPlayList::clear() {
    rows_.assign(1, std::nullopt);
}

void TPlayList::take_rows(const TPlayListRows& rows) {
    clear();
    for (const auto& row : rows)
        if (row) add_entry(*row);
}

void TPlayList::set_path(const QString& path) {
    path_ = path;
    new_list_ = false;
    modified_ = false;
}

void TPlayList::set_new() {
    path_.clear();
    new_list_ = true;
    modified_ = false;
}

QString TPlayList::name_of_path(const QString& path) {
    QString name = QFileInfo(path).fileName();
    if (name.endsWith(QStringLiteral(".pl"), Qt::CaseSensitive)) name.chop(3);
    return name;
}

QString TPlayList::list_name(const QString& newListName) const {
    return new_list_ || path_.isEmpty() ? newListName : name_of_path(path_);
}

void TPlayList::start_playing(int currentRow) {
    current_row_ = std::clamp(currentRow, 0, row_count());
    repetition_ = 0;
}

int TPlayList::last_entry_row() const {
    for (int r = row_count(); r >= 1; --r)
        if (rows_[r - 1]) return r;
    return 0;
}

std::optional<TNextRecording> TPlayList::next_recording(bool endlessLoop) {
    const int lastRow = last_entry_row();
    if (lastRow == 0) return std::nullopt;
    TNextRecording next;
    if (current_row_ > 0 && entry(current_row_) && repetition_ < entry(current_row_)->repeat_count) {
        ++repetition_;
        next.repeat = true;
    } else {
        // Empty rows are passed over: they have nothing to play.
        do {
            ++current_row_;
            repetition_ = 1;
            if (current_row_ > lastRow && endlessLoop) current_row_ = 1;
        } while (current_row_ <= lastRow && !entry(current_row_));
    }
    if (current_row_ > lastRow) return std::nullopt;
    next.entry = *entry(current_row_);
    next.row = current_row_;
    next.last = current_row_ == lastRow && repetition_ == next.entry.repeat_count && !endlessLoop;
    return next;
}

QString TPlayList::row_number_text(int row) {
    return u' ' + QString::number(row);
}

QString TPlayList::recording_text(int row, const TTaxonNaming& naming) const {
    const TPlayListInfo* e = entry(row);
    if (!e) return {};
    return naming.taxon_text(*e->recording_item->species, e->recording_item) +
           QStringLiteral(" # ") + QString::number(e->recording_number);
}

QString TPlayList::repeat_text(int row) const {
    const TPlayListInfo* e = entry(row);
    return e && e->repeat_count >= 2 ? QString::number(e->repeat_count) : QString();
}

QString TPlayList::clipboard_text(const TTaxonNaming& naming, const QString& repeatWord) const {
    QStringList lines;
    for (int r = 1; r <= row_count(); ++r) {
        QString line = recording_text(r, naming) + QStringLiteral(":  ") +
                       row_number_text(r).trimmed();
        const QString repeat = repeat_text(r);
        if (!repeat.isEmpty()) line += QStringLiteral(", ") + repeatWord.toLower() + u'=' + repeat;
        lines << line;
    }
    return lines.join(u'\n');
}
