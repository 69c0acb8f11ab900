#include "support/demo_edition.h"

#include "app/editions.h"
#include "data/species_database.h"
#include "formats/textfile.h"

#include <QDir>
#include <QFile>

namespace testing_support {

const QStringList& demoDataFiles() {
    static const QStringList names{"mapsdata.txt", "people.txt",   "names_sc.txt",   "taxa.txt",
                                   "locality.txt", "big_pict.txt", "othermedia.txt", "cutparts.txt",
                                   "cupaitem.txt", "syst_ord.txt"};
    return names;
}

QByteArray demoEditionFile(const QString& name) {
    QFile file(sourceTree() + QStringLiteral("/editions/demo/") + name);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

void installDemoEdition(const ProgramDirectory& dir) {
    for (const QString& name : demoDataFiles() + QStringList{"Korvelan.txt", "PROGR_NM.TXT"})
        dir.write(name, demoEditionFile(name));
    dir.write(QStringLiteral("Korvelan.ini"), "[GENERAL]\nBase Directory=/nowhere/\n");
    dir.makeCurrentProgramDirectory();
    GLB_load_texts(QStringLiteral("Korvelan.txt"));
    GLB_read_editions_file();
    GLB_load_species_database();
}

void removeDemoEdition() {
    GLB_free_species_database();
    GLB_free_texts();
    GLB_forget_edition();
}

}  // namespace testing_support
