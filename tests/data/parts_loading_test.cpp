// The recordings and their items load in two parts of each file at once; the
// database is the one reading each file in one go gives, and a fault is
// reported as reading in one go meets it first. On the demo edition's files.

#include "data/loader.h"
#include "data/media_records.h"
#include "data/people_places.h"
#include "data/species_database.h"
#include "small_edition.h"
#include "support/data_dump.h"

#include <QFile>

#include <algorithm>
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

namespace {

// The records of a record file ("@#[]" and the lines after it), each ending
// in a line feed.
QList<QByteArray> recordsOf(QByteArray bytes) {
    if (!bytes.endsWith('\n')) bytes.append('\n');
    QList<QByteArray> records;
    qsizetype at = bytes.indexOf("@#[]\n");
    while (at >= 0) {
        const qsizetype next = bytes.indexOf("\n@#[]\n", at);
        records.push_back(bytes.mid(at, next < 0 ? -1 : next + 1 - at));
        at = next < 0 ? -1 : next + 1;
    }
    return records;
}

QString identifierOf(const QByteArray& record) {
    return QString::fromUtf8(record.split('\n').value(1));
}

QStringList identifiers(const Tdata& data) {
    QStringList list;
    for (const Tcutpart* c : data.cut_parts()) list.push_back(c->identifier.text());
    return list;
}

// What the sorted list must hold for records in this file order, worked out
// the slow way: sorted by text, the first of equal identifiers kept.
QStringList sortedTheSlowWay(const QList<QByteArray>& records) {
    QStringList texts;
    for (const QByteArray& record : records) texts.push_back(identifierOf(record));
    std::stable_sort(texts.begin(), texts.end(), GLB_text_order);
    texts.erase(std::unique(texts.begin(), texts.end()), texts.end());
    return texts;
}

}  // namespace

TEST_F(PartsLoading, RecordingsInAnyFileOrderListSortedByTheirText) {
    const QList<QByteArray> records = recordsOf(files["cutparts.txt"]);
    ASSERT_GE(records.size(), 100);
    const QStringList expected = sortedTheSlowWay(records);
    const auto loadInOrder = [&](const QList<QByteArray>& order) {
        files["cutparts.txt"] = order.join();
        const std::unique_ptr<Tdata> data = loadFiles();
        return data ? identifiers(*data) : QStringList();
    };

    // As the files come: numbers rising, which in the order of the texts
    // is a few rising runs.
    EXPECT_EQ(loadInOrder(records), expected);
    // The second half first: two runs that interleave.
    QList<QByteArray> halves = records.mid(records.size() / 2) + records.mid(0, records.size() / 2);
    EXPECT_EQ(loadInOrder(halves), expected);
    // Three runs of every third record.
    QList<QByteArray> thirds;
    for (int start = 0; start < 3; ++start)
        for (qsizetype i = start; i < records.size(); i += 3) thirds.push_back(records[i]);
    EXPECT_EQ(loadInOrder(thirds), expected);
    // Falling: a run for every record, far too many to merge.
    QList<QByteArray> falling(records.rbegin(), records.rend());
    EXPECT_EQ(loadInOrder(falling), expected);
}

TEST_F(PartsLoading, OfRecordingsWithOneIdentifierInDifferentRunsTheFirstInTheFileStays) {
    const QList<QByteArray> records = recordsOf(files["cutparts.txt"]);
    ASSERT_GE(records.size(), 10);
    // A copy of an early recording with another last line (its number), in
    // the file before the original and in another run: the copy stays.
    const auto lines = records[3].split('\n');
    ASSERT_GE(lines.size(), 11);
    QList<QByteArray> copyLines = lines;
    copyLines[10] = "987654";
    const QByteArray copy = copyLines.join('\n');
    QList<QByteArray> order = records.mid(5);
    order.push_back(copy);
    order += records.mid(0, 5);
    files["cutparts.txt"] = order.join();
    const std::unique_ptr<Tdata> data = loadFiles();
    ASSERT_TRUE(data);
    EXPECT_EQ(identifiers(*data), sortedTheSlowWay(records));
    const Tcutpart* kept = data->cut_part_by_key(identifierOf(records[3]));
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->number, 987654);
    // The items of that identifier sound in the recording kept, too.
    int items = 0;
    for (const Tcupaitem* i = data->last_item_loaded(); i; i = i->previous_loaded) {
        if (i->cut_part->identifier.text() != identifierOf(records[3])) continue;
        ++items;
        EXPECT_EQ(i->cut_part, kept);
    }
    EXPECT_GT(items, 0);
}

TEST_F(PartsLoading, OneByteBeyondUtf8AtTheEndMakesTheWholeFileWindows1252) {
    // The recordings' last line gains a byte no UTF-8 text holds; the
    // recordist's name far before it, "Ferr\xc3\xa1ndiz" in the file, then
    // reads as Windows-1252, in whichever part of the file it lies, and is
    // no longer the name people.txt gives in UTF-8.
    QByteArray& recordings = files["cutparts.txt"];
    const qsizetype lastText = recordings.lastIndexOf("recorder.");
    ASSERT_GT(lastText, recordings.size() / 2);
    recordings.replace(lastText, 9, "recorder\xb7");
    const QString windowsName = QStringLiteral("Aldo Ferr\u00c3\u00a1ndiz Quiroga");
    EXPECT_EQ(faultOfFiles(), "cutparts.txt corrupt! Error 2\nhint: \"" + windowsName + "\"");

    // The same stray byte at the end of people.txt and of the pictures,
    // which name people too: the files read as Windows-1252 and agree again.
    const auto strayByteAfterLast = [&](const char* name, const QByteArray& word) {
        QByteArray& bytes = files[name];
        const qsizetype last = bytes.lastIndexOf(word);
        ASSERT_GT(last, 0) << name;
        bytes.insert(last + word.size(), '\xb7');
    };
    strayByteAfterLast("people.txt", "Paraguay");
    strayByteAfterLast("big_pict.txt", "Adult");
    ASSERT_EQ(faultOfFiles(), QString());
    const std::unique_ptr<Tdata> data = loadFiles();
    ASSERT_TRUE(data);
    int byThatName = 0;
    for (const Tcutpart* c : data->cut_parts()) {
        if (!c->recordist) continue;
        if (c->recordist->name == windowsName) ++byThatName;
        EXPECT_NE(c->recordist->name, QString::fromUtf8("Aldo Ferr\xc3\xa1ndiz Quiroga"));
    }
    // Aldo's recordings lie in both parts of the file.
    EXPECT_EQ(byThatName, recordings.count("\nAldo Ferr\xc3\xa1ndiz Quiroga\n"));
    EXPECT_GT(byThatName, 2);
}

TEST_F(PartsLoading, RecordingsFindTheLocalityOfTheirKeyInBothPartsOfTheFile) {
    QByteArray& places = files["locality.txt"];
    QByteArray& recordings = files["cutparts.txt"];
    // One key with a letter beyond ASCII, as the files may hold.
    const QByteArray plain = "\nPE-SAN PEDRO\n";
    const QByteArray accented = "\nPE-S\xc3\x81N PEDRO\n";
    const qsizetype accentedUses = recordings.count(plain);
    ASSERT_GT(accentedUses, 2);
    for (const char* name : {"locality.txt", "cutparts.txt", "big_pict.txt"})
        files[name].replace(plain, accented);
    // A second locality under a key already taken: the first one keeps it.
    QList<QByteArray> placeLines = recordsOf(places).front().split('\n');
    ASSERT_GT(placeLines.size(), 3);
    placeLines[2] = "Elsewhere";
    if (!places.endsWith('\n')) places.append('\n');
    places.append(placeLines.join('\n'));

    ASSERT_EQ(faultOfFiles(), QString());
    const std::unique_ptr<Tdata> data = loadFiles();
    ASSERT_TRUE(data);
    // Each recording's key (its sixth line), and which of the file's two
    // parts uses it: before or after three fifths of the bytes.
    std::map<QString, QString> keyOfRecording;
    std::map<QString, int> partsUsingKey;
    qsizetype at = 0;
    for (const QByteArray& record : recordsOf(recordings)) {
        const QString key = QString::fromUtf8(record.split('\n').value(6));
        keyOfRecording[identifierOf(record)] = key;
        partsUsingKey[key] |= at < recordings.size() / 5 * 3 ? 1 : 2;
        at += record.size();
    }
    ASSERT_EQ(keyOfRecording.size(), data->cut_parts().size());
    EXPECT_GT(std::count_if(partsUsingKey.begin(), partsUsingKey.end(),
                            [](const auto& used) { return used.second == 3; }),
              2);

    std::map<QString, const Tlocality*> placeOfKey;
    int foundAccented = 0;
    for (const Tcutpart* c : data->cut_parts()) {
        ASSERT_TRUE(c->locality) << c->identifier.text().toStdString();
        const QString key = keyOfRecording.at(c->identifier.text());
        EXPECT_EQ(c->locality->key, key);
        EXPECT_NE(c->locality->name, QStringLiteral("Elsewhere")) << key.toStdString();
        EXPECT_EQ(c->locality, data->locality_by_key(key));
        // One place for each key, in whichever part its recordings lie.
        EXPECT_EQ(placeOfKey.emplace(key, c->locality).first->second, c->locality) << key.toStdString();
        if (key == QString::fromUtf8(accented.sliced(1).chopped(1))) ++foundAccented;
    }
    EXPECT_EQ(foundAccented, accentedUses);
}

TEST_F(PartsLoading, RecordingsAndItemsSharedOutBetweenTheThreadsLoadAsInOneGo) {
    // Long enough that the second thread, done with its own steps, takes over
    // the unread rest of both files from the first: the demo's recordings
    // with many more after them that no item names, and every species' items
    // many times over.
    QByteArray& recordings = files["cutparts.txt"];
    const QList<QByteArray> records = recordsOf(recordings);
    ASSERT_GE(records.size(), 100);
    QList<QByteArray> soundFiles;
    for (const QByteArray& record : records)
        if (!record.split('\n').value(2).startsWith("CD")) soundFiles.push_back(record);
    ASSERT_FALSE(soundFiles.isEmpty());
    if (!recordings.endsWith('\n')) recordings.append('\n');
    for (int n = 0; n < 10000; ++n) {
        QList<QByteArray> lines = soundFiles[n % soundFiles.size()].split('\n');
        lines[1] = QByteArray::number(70000 + n) + "A0001";
        recordings += lines.join('\n');
    }
    QByteArray& items = files["cupaitem.txt"];
    if (!items.endsWith('\n')) items.append('\n');
    QByteArray manyItems;
    const QList<qsizetype> sections = itemSections();
    for (qsizetype n = 0; n < sections.size(); ++n) {
        const qsizetype body = items.indexOf('\n', sections[n]) + 1;
        const qsizetype end = n + 1 < sections.size() ? sections[n + 1] : items.size();
        manyItems +=
            items.mid(sections[n], body - sections[n]) + items.mid(body, end - body).repeated(20);
    }
    items = manyItems;

    const std::unique_ptr<Tdata> onTwoThreads = loadFiles();
    Tdata inOneGo;
    inOneGo.set_write_settings_at_end(false);
    TDataLoader(inOneGo).run();
    EXPECT_EQ(testing_support::canonicalDump(*onTwoThreads),
              testing_support::canonicalDump(inOneGo));

    // A fault in the last recording, which the second thread reads.
    const qsizetype last = recordings.lastIndexOf("@#[]");
    const qsizetype id = recordings.indexOf('\n', last) + 1;
    recordings.replace(id, recordings.indexOf('\n', id) - id, "99999A0001");
    const qsizetype carrier = recordings.indexOf('\n', id) + 1;
    recordings.replace(carrier, recordings.indexOf('\n', carrier) - carrier, "CD track 1");
    EXPECT_EQ(faultOfFiles(), "cutparts.txt corrupt! Error 3\nhint: \"99999A0001\"");
}
