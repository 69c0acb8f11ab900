// The demo run as the edition with spoken names lists the same species as
// the demo, and each has its spoken names in both languages.

#include "app/editions.h"
#include "app/globals.h"
#include "data/species_database.h"
#include "data/taxa.h"
#include "formats/textfile.h"
#include "playlists/show_steps.h"
#include "support/demo_edition.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

using testing_support::ProgramDirectory;

QByteArray voicesFile(const QString& name) {
    QFile file(testing_support::sourceTree() + QStringLiteral("/editions/demo-voices/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The unique identifiers of the species the loaded edition lists.
QList<int> listedSpecies() {
    QList<int> ids;
    for (const Tspecies* s : GLB_data().species_by_id_text())
        if (s->present_in_region) ids << s->unique_id;
    return ids;
}

TEST(VoicesDemo, ListsTheDemosSpeciesAndHasTheirSpokenNames) {
    QList<int> demoSpecies;
    {
        ProgramDirectory dir;
        testing_support::installDemoEdition(dir);
        demoSpecies = listedSpecies();
        testing_support::removeDemoEdition();
    }
    ASSERT_GT(demoSpecies.size(), 50);

    ProgramDirectory dir;
    for (const QString& name : testing_support::demoDataFiles() + QStringList{"Korvelan.txt"})
        dir.write(name, testing_support::demoEditionFile(name));
    const QByteArray programName = voicesFile(QStringLiteral("PROGR_NM.TXT"));
    const QByteArray names = voicesFile(QStringLiteral("names_sc.txt"));
    ASSERT_FALSE(programName.isEmpty());
    ASSERT_FALSE(names.isEmpty());
    dir.write(QStringLiteral("PROGR_NM.TXT"), programName);
    dir.write(QStringLiteral("names_sc.txt"), names);
    dir.write(QStringLiteral("Korvelan.ini"), "[GENERAL]\nBase Directory=/nowhere/\n");
    dir.makeCurrentProgramDirectory();
    GLB_load_texts(QStringLiteral("Korvelan.txt"));
    GLB_read_editions_file();
    GLB_load_species_database();
    EXPECT_TRUE(GLB_edition().has_spoken_names);
    // Same species, so pictures, recordings and spoken names (all by
    // identifier) are the demo's.
    EXPECT_EQ(listedSpecies(), demoSpecies);

    GLB().base_directory = testing_support::sourceTree() + QStringLiteral("/editions/demo/base/");
    const TEdition english = GLB_edition();
    TEdition spanish = english;
    spanish.language = TLanguage::Spanish;
    QStringList missing;
    for (const TEdition& edition : {english, spanish}) {
        const TEditionOverride running(edition);
        for (const Tspecies* s : GLB_data().species_by_id_text())
            if (s->present_in_region && !QFile::exists(GLB_spoken_name_path(*s)))
                missing << GLB_spoken_name_path(*s);
    }
    EXPECT_TRUE(missing.isEmpty()) << missing.join('\n').toStdString();
    testing_support::removeDemoEdition();
}

}  // namespace
