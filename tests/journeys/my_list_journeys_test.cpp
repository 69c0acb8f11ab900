// The user's own list as a user keeps it: marking a species from the list
// window, the tick it gets, the filter that hides it, and the export that a
// spreadsheet (here Python's csv module) reads back.
#include "journeys/journey.h"

#include "data/species_database.h"
#include "data/taxa.h"
#include "learning/my_list.h"
#include "learning/windows/my_list_dialog.h"
#include "listview/windows/child_form.h"

#include <QAction>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>

using testing_support::Journey;

namespace {

const QString kTick = QStringLiteral("\u2713");

}  // namespace

class MyListJourney : public Journey {
  protected:
    // The user clicks a line's text.
    void clickLine(TRecordShowStringData* line) {
        const QPoint p = QPoint(line->drawn_x + 4, list().reference_y_of(*line) + 4) -
                         QPoint(0, form().verticalScrollBar()->value());
        QTest::mouseClick(form().viewport(), Qt::LeftButton, {}, p);
        repaint();
    }
    // The name lines the list shows for the species.
    QStringList namesShown(const Tspecies& species) {
        QStringList names;
        for (auto* l = list().model().first_line(); l; l = l->next)
            if (l->species == &species && line_kind::is_name(l->kind)) names << l->text;
        return names;
    }
    QAction& action(const char* name) {
        auto* found = mainWindow().findChild<QAction*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return *found;
    }
};

TEST_F(MyListJourney, AMarkedSpeciesGetsATickTheFilterHidesItAndTheExportListsEverySpecies) {
    clickToggle(nth(line_kind::kFamilyToggle, 1));
    TRecordShowStringData* second = nth(line_kind::kSpeciesToggle, 2);
    ASSERT_NE(second, nullptr);
    const Tspecies* species = second->species;
    ASSERT_NE(species, nullptr);
    TRecordShowStringData* name = nullptr;
    for (auto* l = second; l && !name; l = l->next)
        if (l->species == species && line_kind::is_name(l->kind)) name = l;
    ASSERT_NE(name, nullptr);
    clickLine(name);
    ASSERT_NE(list().selected(), nullptr);
    ASSERT_EQ(list().selected()->species, species);

    // File > My list... on the selected species: heard, with a place and a note.
    // The window the user clicked in is the active one (the offscreen
    // platform may hand activation to another window under load).
    mainWindow().activateWindow();
    ASSERT_TRUE(eventually([&] { return QApplication::activeWindow() == &mainWindow(); }));
    QTest::keyClick(&mainWindow(), Qt::Key_L, Qt::ControlModifier);
    TMyListDialog* dialog = nullptr;
    ASSERT_TRUE(eventually([&] { return (dialog = mainWindow().findChild<TMyListDialog*>()) != nullptr; }));
    EXPECT_FALSE(dialog->heard().isChecked());
    dialog->heard().click();
    dialog->heard_place().setText(QStringLiteral("Laguna Alalay, \"north shore\""));
    dialog->note().setPlainText(QStringLiteral("two birds; Ñandú nearby"));
    dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    repaint();

    EXPECT_TRUE(namesShown(*species).join(u' ').contains(kTick)) << namesShown(*species).join(u'|').toStdString();
    // Saved in the user-files folder, where the next run reads it.
    TMyList saved(TMyList::edition_file());
    EXPECT_TRUE(saved.load().damaged_moved_to.isEmpty());
    EXPECT_TRUE(saved.marked(*species)) << TMyList::edition_file().toStdString();
    const Tspecies* firstSpecies = nth(line_kind::kSpeciesToggle, 1)->species;
    EXPECT_FALSE(namesShown(*firstSpecies).join(u' ').contains(kTick));

    // View > Not yet on my list hides it and keeps the others.
    action("not_on_my_list_action").trigger();
    repaint();
    EXPECT_TRUE(namesShown(*species).isEmpty()) << "the marked species is still shown";
    EXPECT_FALSE(namesShown(*firstSpecies).isEmpty()) << "an unmarked species was hidden";
    action("not_on_my_list_action").trigger();
    repaint();
    EXPECT_FALSE(namesShown(*species).isEmpty());

    // Export my list... to a file the save dialog names.
    const QString csvPath = QDir(program().home()).filePath(QStringLiteral("exported.csv"));
    program().script().dialogs().fileAnswers.push_back(csvPath);
    action("export_my_list_action").trigger();
    ASSERT_TRUE(QFile::exists(csvPath));

    const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
    if (python.isEmpty()) GTEST_SKIP() << "python3 is missing: the CSV is not read back";
    QProcess reader;
    reader.start(python, {QStringLiteral("-c"),
                          QStringLiteral("import csv, json, sys\n"
                                         "with open(sys.argv[1], newline='', encoding='utf-8') as f:\n"
                                         "    rows = list(csv.reader(f, strict=True))\n"
                                         "print(json.dumps(rows))"),
                          csvPath});
    ASSERT_TRUE(reader.waitForFinished(10000));
    ASSERT_EQ(reader.exitCode(), 0) << reader.readAllStandardError().toStdString();
    const QJsonArray rows = QJsonDocument::fromJson(reader.readAllStandardOutput()).array();
    ASSERT_FALSE(rows.isEmpty());
    EXPECT_EQ(rows.first().toVariant().toStringList(),
              (QStringList{"Family", "Scientific name", "Name", "Heard", "Heard date", "Heard place", "Seen",
                           "Seen date", "Seen place", "Note"}));
    int speciesInData = 0;
    const Tdata& data = GLB_data();
    for (const Tfamily* f = data.first_family(kFirstOrder); f; f = f->next)
        for (const Tspecies* s = f->first_species; s; s = s->next(kFirstOrder))
            if (s->scientific_name != QStringLiteral("?? ??")) ++speciesInData;
    EXPECT_EQ(rows.size(), speciesInData + 1);
    int found = 0;
    for (const QJsonValue& value : rows) {
        const QStringList row = value.toVariant().toStringList();
        ASSERT_EQ(row.size(), 10);
        if (row[1] != species->scientific_name) {
            if (row[0] != QStringLiteral("Family")) {
                EXPECT_TRUE(row[3].isEmpty()) << row.join(u',').toStdString();
            }
            continue;
        }
        ++found;
        EXPECT_EQ(row[2], species->common_name);
        EXPECT_EQ(row[3], QStringLiteral("yes"));
        EXPECT_EQ(row[4], QDate::currentDate().toString(Qt::ISODate));
        EXPECT_EQ(row[5], QStringLiteral("Laguna Alalay, \"north shore\""));
        EXPECT_TRUE(row[6].isEmpty());
        EXPECT_EQ(row[9], QStringLiteral("two birds; Ñandú nearby"));
    }
    EXPECT_EQ(found, 1);
}
