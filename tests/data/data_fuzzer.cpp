// Feeds mutated data files to the line reader and the loader. An input is
// one byte choosing the edition, then the ten files in their loading order,
// separated by lines "##FILE##"; a file left out is missing. Every fatal
// stop is caught in-process, so only a crash, a sanitizer report or a leak
// ends the run.

#include "app/editions.h"
#include "app/globals.h"
#include "app/messages.h"
#include "data/media_records.h"
#include "data/people_places.h"
#include "data/species_database.h"
#include "data/visibility_filter.h"
#include "formats/datafile_reader.h"
#include "data/areas.h"
#include "platform/dialog_service.h"
#include "support/quiet_dialogs.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

namespace {

const char* const kFiles[] = {"mapsdata.txt", "people.txt",   "names_sc.txt",   "taxa.txt",
                              "locality.txt", "big_pict.txt", "othermedia.txt", "cutparts.txt",
                              "cupaitem.txt", "syst_ord.txt"};
constexpr int kProducts[] = {1011, 1012, 1041, 1061, 1081, 1091, 1111,
                             1121, 1131, 1141, 1151, 1201, 1301};

const QString& programDirectory() {
    static QTemporaryDir dir;
    static const QString path = [] {
        const QString p = dir.path() + u'/';
        TGlobalValues& g = GLB();
        g.program_directory = p;
        g.startup_directory = p;
        g.settings_file_path = p + "Korvelan.ini";  // never written: reads give defaults
        QDir::setCurrent(p);
        platform::DialogService::setBackend(std::make_unique<testing_support::QuietDialogs>());
        return p;
    }();
    return path;
}

void writeFiles(const QByteArray& rest) {
    const QByteArray separator("\n##FILE##\n");
    qsizetype start = 0;  // beyond the input: the remaining files are missing
    for (const char* name : kFiles) {
        const QString path = programDirectory() + name;
        if (start > rest.size()) {
            QFile::remove(path);
            continue;
        }
        const qsizetype end = rest.indexOf(separator, start);
        QFile file(path);
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(rest.mid(start, end < 0 ? -1 : end - start));
        start = end < 0 ? rest.size() + 1 : end + separator.size();
    }
}

void exerciseReader(const QByteArray& bytes) {
    TDataFileReader reader;
    reader.open_text(QStringLiteral("fuzz.txt"), QString::fromUtf8(bytes));
    QStringList lines;
    int count = 0;
    while (reader.read_section(QString(), false, 8, lines, count)) {
    }
    reader.open_text(QStringLiteral("fuzz.txt"), QString::fromLatin1(bytes));
    for (int i = 0; i < 1000 && !reader.at_end(); ++i) reader.next_line();
    reader.read_whole_section(QStringLiteral("FAMILIES"), false, lines);
}

void exerciseDatabase(const Tdata& data) {
    TClassVisibleSpeciesAndRecordings filter(data, QStringLiteral("FUZZ"));
    filter.carriers.visible_audio_cds.set();
    filter.carriers.playable_audio_cds.set();
    for (int order : data.offered_orders()) {
        data.visible_family_count_of_class(order, animal_class::Any, filter);
        data.visible_recording_count(order, filter, TClassVisibleSpeciesAndRecordings::kAllKinds);
        for (const Tfamily* f = data.first_family(order); f; f = f->next)
            for (const Tspecies* s = f->first_species; s; s = s->next(order)) {
                s->abbreviated_name();
                s->file_name_stem();
                data.literature_text(*s);
                for (const Tcupaitem* i = s->first_item; i; i = i->next_of_species) {
                    filter.item_starts_new_group(*i);
                    i->cut_part->sound_file_name();
                    i->cut_part->catalogue_text();
                    if (i->cut_part->locality) i->cut_part->locality->coordinates_text();
                }
            }
    }
    for (const TaudioCD* cd : data.audio_cds()) cd->fingerprint();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    if (size < 1) return 0;
    programDirectory();
    const QByteArray rest(reinterpret_cast<const char*>(bytes) + 1,
                          static_cast<qsizetype>(size - 1));
    const TEditionOverride edition(
        GLB_edition_for_product(kProducts[bytes[0] % std::size(kProducts)]));
    exerciseReader(rest.left(20000));
    writeFiles(rest);
    try {
        Tdata data;
        data.set_write_settings_at_end(false);
        data.load();
        exerciseDatabase(data);
    } catch (const TLoadError&) {
        // The loader's orderly stop on bad data: expected.
    }
    return 0;
}
