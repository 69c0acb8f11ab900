// Feeds mutated playlist files to the loader on a small edition built in
// memory. The first byte picks the edition (with or without spoken names).

#include "app/editions.h"
#include "app/globals.h"
#include "data/species_database.h"
#include "data/visibility_filter.h"
#include "formats/textfile.h"
#include "platform/dialog_service.h"
#include "playlists/playlist_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <memory>

namespace {

struct TFuzzEdition {
    QTemporaryDir dir;
    std::unique_ptr<TClassVisibleSpeciesAndRecordings> visible;
};

// The demo edition's data files, copied from the source tree once.
TFuzzEdition& edition() {
    static TFuzzEdition* e = [] {
        static int argc = 1;
        static char name[] = "playlist_fuzzer";
        static char* argv[] = {name, nullptr};
        new QCoreApplication(argc, argv);
        auto* made = new TFuzzEdition;
        const QString demo = QStringLiteral(KORVELAN_SOURCE_DIR "/editions/demo/");
        for (const QString& f : QDir(demo).entryList(QDir::Files))
            QFile::copy(demo + f, made->dir.filePath(f));
        const QString program = made->dir.path() + u'/';
        GLB_initialise_process_values(program, program);
        QDir::setCurrent(program);
        GLB().settings_file_path = made->dir.filePath(QStringLiteral("Korvelan.ini"));
        // The start's steps on the demo's files (its edition is 1011).
        GLB_load_texts(QStringLiteral("Korvelan.txt"));
        GLB_read_editions_file();
        GLB_load_species_database();
        made->visible = std::make_unique<TClassVisibleSpeciesAndRecordings>(GLB_data(), "WINDOW 1");
        made->visible->reset_carriers();
        return made;
    }();
    return *e;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, size_t size) {
    TFuzzEdition& e = edition();
    if (size == 0) return 0;
    const TEditionOverride edition(GLB_edition_for_product(bytes[0] & 1 ? 1041 : 1011));
    const QByteArray file(reinterpret_cast<const char*>(bytes + 1), static_cast<qsizetype>(size - 1));
    const TPlayListLoadResult r = TPlayListFile::load_bytes(file, *e.visible);
    for (const auto& row : r.contents.rows)
        if (!row || row->repeat_count < 1 || row->repeat_count > TPlayListInfo::kMaxRepeatCount)
            __builtin_trap();
    return 0;
}
