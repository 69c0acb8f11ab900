// Loading gives the same database, record for record and link for link, as
// the dumps taken from a known good load of the same files.

#include "small_edition.h"
#include "support/data_dump.h"

#include <QFile>

namespace {

const char* const kDataFiles[] = {"mapsdata.txt", "people.txt",   "names_sc.txt",   "taxa.txt",
                                  "locality.txt", "big_pict.txt", "othermedia.txt", "cutparts.txt",
                                  "cupaitem.txt", "syst_ord.txt"};

class CanonicalDump : public data_testing::DataTest {
  protected:
    // Copies the ten files of an edition folder and loads them.
    std::unique_ptr<Tdata> loadFolder(const QString& folder) {
        for (const char* name : kDataFiles) {
            QFile file(folder + name);
            if (!file.open(QIODevice::ReadOnly)) {
                ADD_FAILURE() << "cannot read " << (folder + name).toStdString();
                return nullptr;
            }
            dir.write(name, file.readAll());
        }
        return loadWritten();
    }

    // Compares with the stored dump line by line, so that a failure names
    // the first record that differs. KORVELAN_WRITE_DUMPS=1 stores the dump
    // afresh instead (after a deliberate change of the data files).
    void expectDump(const Tdata& data, const QString& dumpName) {
        const QByteArray dump = testing_support::canonicalDump(data);
        const QString path = testing_support::sourceTree() + "/tests/data/dumps/" + dumpName;
        if (qEnvironmentVariableIsSet("KORVELAN_WRITE_DUMPS")) {
            QFile out(path);
            ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
            out.write(dump);
            GTEST_SKIP() << "dump written to " << path.toStdString();
        }
        QFile stored(path);
        ASSERT_TRUE(stored.open(QIODevice::ReadOnly)) << path.toStdString();
        const QList<QByteArray> expected = stored.readAll().split('\n');
        const QList<QByteArray> actual = dump.split('\n');
        for (qsizetype i = 0; i < std::min(expected.size(), actual.size()); ++i)
            ASSERT_EQ(actual[i].toStdString(), expected[i].toStdString()) << "line " << i + 1;
        EXPECT_EQ(actual.size(), expected.size());
    }
};

}  // namespace

TEST_F(CanonicalDump, DemoEditionLoadsToItsStoredDump) {
    const std::unique_ptr<Tdata> data = loadFolder(testing_support::sourceTree() + "/editions/demo/");
    ASSERT_TRUE(data);
    expectDump(*data, QStringLiteral("demo.txt"));
}

TEST_F(CanonicalDump, SmallSyntheticEditionLoadsToItsStoredDump) {
    const std::unique_ptr<Tdata> data =
        loadFolder(testing_support::sourceTree() + "/tests/data/small_synthetic/");
    ASSERT_TRUE(data);
    expectDump(*data, QStringLiteral("small_synthetic.txt"));
}

// The dump must see what the tests rely on it to see: a changed field and
// a changed link both change it.
TEST_F(CanonicalDump, DumpShowsFieldsAndLinks) {
    data_testing::SmallEdition edition;
    const QByteArray original = testing_support::canonicalDump(*load(edition));

    data_testing::SmallEdition renamed;
    renamed.replace("people.txt", "Sound recordist", "Sound engineer");
    const QByteArray fieldChanged = testing_support::canonicalDump(*load(renamed));
    EXPECT_NE(fieldChanged, original);
    EXPECT_TRUE(fieldChanged.contains("Sound engineer"));

    // The Clements order lists two species the other way round.
    data_testing::SmallEdition reordered;
    reordered.replace("syst_ord.txt", "3,20123\n3,99999\n3,20020\n", "3,20020\n3,99999\n3,20123\n");
    const QByteArray linkChanged = testing_support::canonicalDump(*load(reordered));
    EXPECT_NE(linkChanged, original);
    EXPECT_TRUE(original.contains("species: S2 S1")) << original.toStdString();
    EXPECT_TRUE(linkChanged.contains("species: S1 S2"));
}
