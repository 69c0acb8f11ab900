#include "playlists/playlist_file.h"

#include "app/editions.h"
#include "app/file_helpers.h"
#include "app/globals.h"
#include "app/settings.h"
#include "app/settings_playlists.h"
#include "data/media_records.h"
#include "data/species_database.h"
#include "data/visibility_filter.h"
#include "formats/textfile.h"
#include "platform/dialog_service.h"
#include "playlists/ini_snapshot.h"

#include <QFile>

namespace {

const QString kGeneral = QStringLiteral("GENERAL");
const QString kRecordings = QStringLiteral("RECORDINGS");
const QString kTexts = QStringLiteral("PLAY_LISTS");

void tell(int line, int style) {
    platform::DialogService::message(GLB_text(kTexts, line), GLB().message_box_caption, style);
}

// A whole number from a field, as a strict reading: blanks around it
// allowed, nothing else.
std::optional<int> wholeNumber(const QString& field) {
    bool ok = false;
    const int n = field.trimmed().toInt(&ok);
    return ok ? std::optional<int>(n) : std::nullopt;
}

// The cut part of one of the species' recordings, by the catalogue text its
// files are written with: the database's lookup by identifier reads every
// cut part, too slow for a playlist of a thousand entries.
const Tcutpart* cutPartOf(const Tspecies& species, const QString& catalogue) {
    for (const Tcupaitem* item = species.first_item; item; item = item->next_of_species)
        if (item->cut_part && item->cut_part->catalogue_text().trimmed() == catalogue)
            return item->cut_part;
    return nullptr;
}

// The species' item of that cut part that the list shows, with the number
// the list gives it.
std::optional<TPlayListInfo> shownItem(const Tspecies& species, const Tcutpart& cutPart,
                                       const TClassVisibleSpeciesAndRecordings& listState) {
    for (const Tcupaitem* item = species.first_item; item; item = item->next_of_species) {
        if (item->cut_part != &cutPart) continue;
        const int number = listState.item_position(*item);
        if (number > 0) return TPlayListInfo{item, number, 1};
    }
    return std::nullopt;
}

}  // namespace

QString TPlayListFile::entry_text(const TPlayListInfo& entry) {
    const Tcupaitem& item = *entry.recording_item;
    return QString::number(item.species->unique_id) + u',' + item.cut_part->catalogue_text() +
           u',' + QString::number(entry.repeat_count);
}

bool TPlayListFile::save(const QString& path, const TPlayListContents& contents) {
    const TEdition& edition = GLB_edition();
    TIniComposer out;
    out.add(kGeneral, QStringLiteral("CDROM"), edition.title_english);
    out.add(kGeneral, QStringLiteral("Version"), edition.version);
    contents.options.compose(out, kGeneral);
    out.add(kGeneral, QStringLiteral("Endless Loop"),
            contents.endless_loop ? QStringLiteral("Yes") : QStringLiteral("No"));
    bool audioCdPart = false;
    for (size_t r = 0; r < contents.rows.size(); ++r) {
        const auto& row = contents.rows[r];
        out.add(kRecordings, u'R' + QString::number(r + 1),
                row ? entry_text(*row) : QStringLiteral("x"));
        if (row && !row->recording_item->cut_part->is_sound_file) audioCdPart = true;
    }
    if (!GLB_write_file_atomically(path, out.bytes())) {
        platform::DialogService::message(QStringLiteral("File creation went wrong!"),
                                         GLB().message_box_caption, platform::box::IconStop);
        return false;
    }
    GLB_write_string(settings::playlists::kSection, settings::playlists::kCurrent, path);
    if (audioCdPart) tell(28, platform::box::IconWarning);
    return true;
}

TPlayListLoadResult TPlayListFile::load(const QString& path,
                                        const TClassVisibleSpeciesAndRecordings& listState) {
    QFile file(path);
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly)) bytes = file.readAll();
    return load_bytes(bytes, listState);
}

TPlayListLoadResult TPlayListFile::load_bytes(const QByteArray& bytes,
                                              const TClassVisibleSpeciesAndRecordings& listState) {
    using Outcome = TPlayListLoadResult::Outcome;
    TPlayListLoadResult result;
    const TIniSnapshot ini = TIniSnapshot::from_bytes(bytes);
    const auto cdrom = ini.value(kGeneral, QStringLiteral("CDROM"));
    const auto version = ini.value(kGeneral, QStringLiteral("Version"));
    if (!cdrom || !version) {
        tell(25, platform::box::IconStop);
        return result;
    }
    const TEdition& edition = GLB_edition();
    if (*cdrom != edition.title_english) {
        tell(22, platform::box::IconStop);
        return result;
    }
    if (*version != edition.version)
        platform::DialogService::message(GLB_text(kTexts, 23) + u' ' + GLB_text(kTexts, 24),
                                         GLB().message_box_caption, platform::box::IconWarning);

    TPlayListContents& contents = result.contents;
    contents.options = TBetweenSoundsOptions::read(ini, kGeneral);
    contents.endless_loop = ini.flag(kGeneral, QStringLiteral("Endless Loop"), false);
    result.outcome = Outcome::Loaded;

    const Tdata& data = listState.data();
    for (int i = 1;; ++i) {
        const auto value = ini.value(kRecordings, u'R' + QString::number(i));
        if (!value || value->isEmpty()) break;
        if (*value == QStringLiteral("x")) continue;
        const QStringList fields = value->split(u',');
        const auto id = wholeNumber(fields[0]);
        if (!id) {
            result.outcome = Outcome::Damaged;
            break;
        }
        const Tspecies* species = data.species_by_unique_id(*id);
        const QString catalogue = fields.size() > 1 ? fields[1].trimmed() : QString();
        const Tcutpart* cutPart = species ? cutPartOf(*species, catalogue) : nullptr;
        if (species && !cutPart && !catalogue.isEmpty())
            cutPart = data.cut_part_by_identifier(catalogue);
        const auto entry =
            species && cutPart ? shownItem(*species, *cutPart, listState) : std::nullopt;
        if (!entry) {
            result.not_found = true;
            continue;
        }
        if (!listState.carrier_playable(*cutPart)) {
            result.not_playable = true;
            continue;
        }
        TPlayListInfo info = *entry;
        // The grid edits two digits; a count outside them would make a show
        // that never ends or never plays.
        const int count = fields.size() > 2 ? wholeNumber(fields[2]).value_or(1) : 1;
        info.repeat_count = std::clamp(count, 1, TPlayListInfo::kMaxRepeatCount);
        contents.rows.push_back(info);
    }

    if (result.outcome == Outcome::Damaged)
        tell(25, platform::box::IconStop);
    else if (result.not_found)
        tell(26, platform::box::IconWarning);
    else if (result.not_playable)
        tell(27, platform::box::IconWarning);
    return result;
}
