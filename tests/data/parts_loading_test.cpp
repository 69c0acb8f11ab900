// The recordings and their items load in two parts of each file at once; the
// database is the one reading each file in one go gives, and a fault is
// reported as reading in one go meets it first. On the demo edition's files.

#include "data/media_records.h"
#include "data/species_database.h"
#include "small_edition.h"
#include "support/data_dump.h"

#include <QFile>

#include <map>

namespace {

const char* const kDataFiles[] = {"mapsdata.txt", "people.txt",   "names_sc.txt",   "taxa.txt",
                                  "locality.txt", "big_pict.txt", "othermedia.txt", "cutparts.txt",
                                  "cupaitem.txt", "syst_ord.txt"};

class PartsLoading : public data_testing::DataTest {
  protected:
    void SetUp() override {
        for (const char* name : kDataFiles) {
            QFile file(testing_support::sourceTree() + "/editions/demo/" + name);
            ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name;
            files[name] = file.readAll();
        }
    }
    std::unique_ptr<Tdata> loadFiles() {
        for (const auto& [name, bytes] : files) dir.write(QString::fromStdString(name), bytes);
        return loadWritten();
    }
    QString faultOfFiles() {
        try {
            loadFiles();
        } catch (const TLoadError& error) {
            return error.message();
        }
        return {};
    }
    // Where the item sections of cupaitem.txt start ("@#[" lines).
    QList<qsizetype> itemSections() const {
        QList<qsizetype> starts;
        const QByteArray& bytes = files.at("cupaitem.txt");
        for (qsizetype at = bytes.indexOf("@#["); at >= 0; at = bytes.indexOf("\n@#[", at + 1))
            starts.push_back(bytes[at] == '\n' ? at + 1 : at);
        return starts;
    }
    // Makes the recording of the first item of the section at `start`
    // unknown (its ninth line).
    void breakFirstItemOf(qsizetype start) {
        QByteArray& bytes = files["cupaitem.txt"];
        qsizetype line = bytes.indexOf('\n', start) + 1;
        for (int n = 1; n < 9; ++n) line = bytes.indexOf('\n', line) + 1;
        bytes.insert(line, "99999Z");
    }

    std::map<std::string, QByteArray> files;
};

}  // namespace

TEST_F(PartsLoading, FaultsInBothPartsOfTheItemsReportTheEarlierOne) {
    const std::unique_ptr<Tdata> clean = loadFiles();
    ASSERT_TRUE(clean);
    // The species of the first and the last item section, in load order.
    QString first;
    QString last;
    for (const Tcupaitem* i = clean->last_item_loaded(); i; i = i->previous_loaded) {
        if (last.isEmpty()) last = i->species->scientific_name;
        first = i->species->scientific_name;
    }
    ASSERT_NE(first, last);

    const QList<qsizetype> sections = itemSections();
    ASSERT_GE(sections.size(), 4);
    breakFirstItemOf(sections.back());
    const QString lateFault = faultOfFiles();
    EXPECT_EQ(lateFault, "cupaitem.txt corrupt! Error 2\nhint: \"" + last + "\"");
    breakFirstItemOf(sections.front());
    EXPECT_EQ(faultOfFiles(), "cupaitem.txt corrupt! Error 2\nhint: \"" + first + "\"");
}

TEST_F(PartsLoading, FaultsInBothPartsOfTheRecordingsReportTheEarlierOne) {
    // The record at `header` becomes a part of an audio CD that does not
    // exist, under a new identifier, which is the hint.
    const auto makeCdPartOfNoCd = [&](qsizetype header, const QByteArray& identifier) {
        QByteArray& bytes = files["cutparts.txt"];
        const qsizetype id = bytes.indexOf('\n', header) + 1;
        const qsizetype carrierEnd = bytes.indexOf('\n', bytes.indexOf('\n', id) + 1);
        bytes.replace(id, carrierEnd - id, identifier + "\nCD track 1");
        return "cutparts.txt corrupt! Error 3\nhint: \"" + QString::fromLatin1(identifier) + "\"";
    };
    const QString late = makeCdPartOfNoCd(files["cutparts.txt"].lastIndexOf("@#[]"), "99998A0001");
    EXPECT_EQ(faultOfFiles(), late);
    const QString early = makeCdPartOfNoCd(files["cutparts.txt"].indexOf("@#[]"), "99997A0001");
    EXPECT_EQ(faultOfFiles(), early);
}

TEST_F(PartsLoading, SectionsBetweenTheItemsOfSpeciesChangeNothing) {
    const QByteArray expected = testing_support::canonicalDump(*loadFiles());
    // A long section no species is named for after every species' section:
    // the items of each species are found past it, wherever the file is cut.
    QByteArray& items = files["cupaitem.txt"];
    const QList<qsizetype> sections = itemSections();
    const QByteArray note = "@#[NOTE]\n" + QByteArray("read by no one\n").repeated(80);
    if (!items.endsWith('\n')) items.append('\n');
    items.append(note);
    for (qsizetype n = sections.size() - 1; n >= 1; --n) items.insert(sections[n], note);
    EXPECT_EQ(testing_support::canonicalDump(*loadFiles()), expected);
}
