#include "learning/compare_set.h"

#include "app/file_helpers.h"
#include "data/media_records.h"
#include "data/people_places.h"
#include "data/species_database.h"
#include "data/taxa.h"
#include "playlists/user_files_folder.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace {

const QString kComparisonFormat = QStringLiteral("korvelan comparison");

// The item of the species that sounds in the recording, if the edition has it.
const Tcupaitem* itemOf(const Tdata& data, const QString& identifier, int speciesId) {
    const Tcutpart* cut = data.cut_part_by_key(identifier);
    const Tspecies* species = data.species_by_unique_id(speciesId);
    if (!cut || !species) return nullptr;
    for (const Tcupaitem* item = species->first_item; item; item = item->next_of_species)
        if (item->cut_part == cut) return item;
    return nullptr;
}

// A name beside the damaged file that no file has yet.
}  // namespace

TComparisonSet::Added TComparisonSet::add(const Tcupaitem& recording) {
    if (std::find(recordings_.begin(), recordings_.end(), &recording) != recordings_.end())
        return Added::AlreadyThere;
    if (size() >= kMostRecordings) return Added::Full;
    recordings_.push_back(&recording);
    return Added::Yes;
}

void TComparisonSet::remove(int index) {
    if (index >= 0 && index < size()) recordings_.erase(recordings_.begin() + index);
}

QByteArray TComparisonSet::to_file_text() const {
    QJsonArray list;
    for (const Tcupaitem* item : recordings_) {
        QJsonObject entry;
        entry.insert(QStringLiteral("recording"), item->cut_part ? item->cut_part->identifier.text() : QString());
        entry.insert(QStringLiteral("species"), item->species ? item->species->unique_id : 0);
        // For a reader of the file only.
        entry.insert(QStringLiteral("name"), GLB_comparison_species_text(*item));
        list.append(entry);
    }
    QJsonObject root;
    root.insert(QStringLiteral("format"), kComparisonFormat);
    root.insert(QStringLiteral("version"), 1);
    root.insert(QStringLiteral("recordings"), list);
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

TComparisonRead GLB_read_comparison(const QString& path, const Tdata& data) {
    TComparisonRead result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.status = TComparisonRead::Unreadable;
        return result;
    }
    const QByteArray bytes = file.readAll();
    file.close();
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    const QJsonObject root = document.object();
    const QJsonValue list = root.value(QStringLiteral("recordings"));
    bool damaged = error.error != QJsonParseError::NoError || !document.isObject() ||
                   root.value(QStringLiteral("format")).toString() != kComparisonFormat || !list.isArray() ||
                   list.toArray().size() > TComparisonSet::kMostRecordings;
    if (!damaged) {
        for (const QJsonValue& value : list.toArray()) {
            const QJsonObject entry = value.toObject();
            const QString identifier = entry.value(QStringLiteral("recording")).toString();
            const QJsonValue species = entry.value(QStringLiteral("species"));
            if (!value.isObject() || identifier.isEmpty() || !species.isDouble()) {
                damaged = true;
                break;
            }
            if (const Tcupaitem* item = itemOf(data, identifier, species.toInt())) {
                result.set.add(*item);
            } else {
                const QString name = entry.value(QStringLiteral("name")).toString();
                result.missing << (name.isEmpty() ? identifier : name + QStringLiteral(", ") + identifier);
            }
        }
    }
    if (damaged) {
        result.status = TComparisonRead::Damaged;
        result.set.clear();
        result.missing.clear();
        const QString aside = GLB_name_for_damaged_file(path);
        if (QFile::rename(path, aside)) result.kept_aside = aside;
    }
    return result;
}

bool GLB_write_comparison(const TComparisonSet& set, const QString& path) {
    return GLB_write_file_atomically(path, set.to_file_text());
}

QString GLB_comparisons_folder() {
    return GLB_user_files_folder(QStringLiteral("Comparisons"));
}

QString GLB_comparison_species_text(const Tcupaitem& recording) {
    const Tspecies* species = recording.species;
    if (!species) return {};
    if (species->common_name.isEmpty()) return species->scientific_name;
    return species->common_name + QStringLiteral(" (") + species->scientific_name + u')';
}

QString GLB_comparison_recording_text(const Tcupaitem& recording) {
    const Tcutpart* cut = recording.cut_part;
    if (!cut) return {};
    QStringList parts{QStringLiteral("Recording ") + cut->catalogue_text().trimmed()};
    if (cut->date > 0)
        parts << QStringLiteral("%1-%2-%3")
                     .arg(cut->date / 10000)
                     .arg(cut->date / 100 % 100, 2, 10, QChar(u'0'))
                     .arg(cut->date % 100, 2, 10, QChar(u'0'));
    if (cut->locality && !cut->locality->name.isEmpty()) parts << cut->locality->name;
    if (cut->recordist && !cut->recordist->name.isEmpty()) parts << cut->recordist->name;
    return parts.join(QStringLiteral(", "));
}

// ---------------------------------------------------------------------------

void TSharedScale::set_limits(double longestSeconds, double highestHz) {
    longest_ = std::max(longestSeconds, kShortestView);
    highest_ = std::max(highestHz, kLowestTop);
    clamp();
}

void TSharedScale::clamp() {
    const double width = std::clamp(to_ - from_, kShortestView, longest_);
    from_ = std::clamp(from_, 0.0, longest_ - width);
    to_ = from_ + width;
    top_hz_ = std::clamp(top_hz_, kLowestTop, highest_);
}

void TSharedScale::set_view(double from, double to) {
    from_ = std::min(from, to);
    to_ = std::max(from, to);
    clamp();
}

void TSharedScale::set_top(double hz) {
    top_hz_ = hz;
    clamp();
}

void TSharedScale::zoom_time(double factor, double around) {
    const double width = to_ - from_;
    const double share = width > 0 ? std::clamp((around - from_) / width, 0.0, 1.0) : 0.5;
    const double wanted = std::clamp(width * factor, kShortestView, longest_);
    const double anchor = from_ + width * share;
    set_view(anchor - wanted * share, anchor - wanted * share + wanted);
}

void TSharedScale::zoom_frequency(double factor) {
    set_top(top_hz_ * factor);
}

void TSharedScale::scroll_to(double from) {
    const double width = to_ - from_;
    set_view(from, from + width);
}
