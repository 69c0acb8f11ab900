#include "learning/my_list.h"

#include "app/editions.h"
#include "app/file_helpers.h"
#include "app/globals.h"
#include "data/species_database.h"
#include "data/taxa.h"
#include "platform/dialog_service.h"
#include "playlists/user_files_folder.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <optional>

namespace {

bool writeMakingItsFolder(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    return GLB_write_file_atomically(path, bytes);
}

const QString kMyListFormat = QStringLiteral("Korvelan my list");

void tell(const QString& text) {
    platform::DialogService::message(text, GLB().message_box_caption, platform::box::IconWarning);
}

QJsonObject sighting(const QDate& date, const QString& place) {
    QJsonObject o;
    if (date.isValid()) o.insert(QStringLiteral("date"), date.toString(Qt::ISODate));
    if (!place.isEmpty()) o.insert(QStringLiteral("place"), place);
    return o;
}

// A sighting as the file has it; none when it is not one.
bool readSighting(const QJsonValue& value, bool& marked, QDate& date, QString& place) {
    if (value.isUndefined()) return true;
    if (!value.isObject()) return false;
    const QJsonObject o = value.toObject();
    for (auto it = o.begin(); it != o.end(); ++it)
        if (it.key() != QStringLiteral("date") && it.key() != QStringLiteral("place")) return false;
    const QJsonValue d = o.value(QStringLiteral("date"));
    const QJsonValue p = o.value(QStringLiteral("place"));
    if (!d.isUndefined()) {
        date = d.isString() ? QDate::fromString(d.toString(), Qt::ISODate) : QDate();
        if (!date.isValid()) return false;
    }
    if (!p.isUndefined()) {
        if (!p.isString()) return false;
        place = p.toString();
    }
    marked = true;
    return true;
}

std::optional<std::map<QString, TMyListEntry>> parse(const QByteArray& bytes) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) return std::nullopt;
    const QJsonObject root = document.object();
    if (root.value(QStringLiteral("format")).toString() != kMyListFormat ||
        root.value(QStringLiteral("version")).toInt() != 1 ||
        !root.value(QStringLiteral("species")).isObject())
        return std::nullopt;
    std::map<QString, TMyListEntry> entries;
    const QJsonObject species = root.value(QStringLiteral("species")).toObject();
    for (auto it = species.begin(); it != species.end(); ++it) {
        if (!it.value().isObject()) return std::nullopt;
        const QJsonObject o = it.value().toObject();
        TMyListEntry entry;
        const QJsonValue note = o.value(QStringLiteral("note"));
        if (!note.isUndefined() && !note.isString()) return std::nullopt;
        entry.note = note.toString();
        if (!readSighting(o.value(QStringLiteral("heard")), entry.heard, entry.heard_date, entry.heard_place) ||
            !readSighting(o.value(QStringLiteral("seen")), entry.seen, entry.seen_date, entry.seen_place))
            return std::nullopt;
        if (!entry.empty()) entries[it.key()] = entry;
    }
    return entries;
}

// A free name beside the damaged file: "<name>.damaged-<date and time>".
QString csvField(const QString& text) {
    QString quoted = text;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

}  // namespace

bool TMyListEntry::empty() const {
    return !heard && !seen && note.trimmed().isEmpty();
}

TMyList::TMyList(QString path) : path_(std::move(path)) {}

QString TMyList::edition_file() {
    return GLB_user_files_folder(QStringLiteral("My list\\mylist-") +
                                 QString::number(GLB_edition().edition_code) +
                                 QStringLiteral(".json"));
}

TMyList::LoadResult TMyList::load() {
    LoadResult result;
    entries_.clear();
    saving_blocked_ = false;
    QFile file(path_);
    if (!file.exists()) return result;
    std::optional<std::map<QString, TMyListEntry>> read;
    if (file.open(QIODevice::ReadOnly)) read = parse(file.readAll());
    file.close();
    if (read) {
        entries_ = std::move(*read);
        return result;
    }
    const QString aside = GLB_name_for_damaged_file(path_);
    if (QFile::rename(path_, aside)) {
        result.damaged_moved_to = aside;
        tell(QStringLiteral("Your list in \"%1\" could not be read. It has been kept as \"%2\", "
                            "and a new list begins.")
                 .arg(QDir::toNativeSeparators(path_), QDir::toNativeSeparators(aside)));
    } else {
        result.kept_unsaved = true;
        saving_blocked_ = true;
        tell(QStringLiteral("Your list in \"%1\" could not be read, nor moved aside. A new list "
                            "begins, but it will not be saved over that file.")
                 .arg(QDir::toNativeSeparators(path_)));
    }
    return result;
}

bool TMyList::save() {
    if (saving_blocked_) return false;
    QJsonObject species;
    for (const auto& [name, entry] : entries_) {
        QJsonObject o;
        if (entry.heard) o.insert(QStringLiteral("heard"), sighting(entry.heard_date, entry.heard_place));
        if (entry.seen) o.insert(QStringLiteral("seen"), sighting(entry.seen_date, entry.seen_place));
        if (!entry.note.isEmpty()) o.insert(QStringLiteral("note"), entry.note);
        species.insert(name, o);
    }
    QJsonObject root;
    root.insert(QStringLiteral("format"), kMyListFormat);
    root.insert(QStringLiteral("version"), 1);
    root.insert(QStringLiteral("species"), species);
    if (writeMakingItsFolder(path_, QJsonDocument(root).toJson(QJsonDocument::Indented))) return true;
    tell(QStringLiteral("Your list could not be saved in \"%1\".").arg(QDir::toNativeSeparators(path_)));
    return false;
}

TMyListEntry TMyList::entry(const Tspecies& species) const {
    const auto it = entries_.find(species.scientific_name);
    return it == entries_.end() ? TMyListEntry() : it->second;
}

bool TMyList::set(const Tspecies& species, const TMyListEntry& entry) {
    if (entry.empty()) entries_.erase(species.scientific_name);
    else entries_[species.scientific_name] = entry;
    return save();
}

bool TMyList::marked(const Tspecies& species) const {
    const auto it = entries_.find(species.scientific_name);
    return it != entries_.end() && (it->second.heard || it->second.seen);
}

QByteArray TMyList::csv(const Tdata& data) const {
    QStringList rows{QStringLiteral("Family,Scientific name,Name,Heard,Heard date,Heard place,Seen,"
                                    "Seen date,Seen place,Note")};
    for (const Tfamily* family = data.first_family(kFirstOrder); family; family = family->next) {
        for (const Tspecies* s = family->first_species; s; s = s->next(kFirstOrder)) {
            // The data's placeholder for an unidentified bird is no species.
            if (s->scientific_name == QStringLiteral("?? ??")) continue;
            const TMyListEntry e = entry(*s);
            const auto yes = [](bool b) { return b ? QStringLiteral("yes") : QString(); };
            const auto day = [](const QDate& d) { return d.isValid() ? d.toString(Qt::ISODate) : QString(); };
            const QStringList fields{family->scientific_name, s->scientific_name, s->common_name,
                                     yes(e.heard), day(e.heard_date), e.heard_place,
                                     yes(e.seen), day(e.seen_date), e.seen_place, e.note};
            QStringList quoted;
            for (const QString& f : fields) quoted << csvField(f);
            rows << quoted.join(u',');
        }
    }
    return (rows.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
}

bool TMyList::export_csv(const Tdata& data, const QString& file) const {
    if (writeMakingItsFolder(file, csv(data))) return true;
    tell(QStringLiteral("The list could not be written to \"%1\".").arg(QDir::toNativeSeparators(file)));
    return false;
}
