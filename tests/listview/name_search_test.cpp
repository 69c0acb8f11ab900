// Suggestions while the user types, on the demo edition's names: accents
// and case do not matter, a name that begins with the text comes before a
// word that begins with it, and that before a text found inside a word.
#include "data/species_database.h"
#include "data/taxa.h"
#include "listview/name_search.h"
#include "support/demo_edition.h"

#include <gtest/gtest.h>
#include <QRegularExpression>
#include <set>

namespace {

class DemoNames : public ::testing::Test {
  protected:
    void SetUp() override { testing_support::installDemoEdition(dir_); }
    void TearDown() override { testing_support::removeDemoEdition(); }

    static QStringList names(const std::vector<const TNameSearchIndex::Entry*>& found) {
        QStringList out;
        for (const auto* e : found) out << e->name;
        return out;
    }
    static QString speciesOf(const TNameSearchIndex::Entry* e) {
        return e && e->species ? e->species->common_name : QString();
    }
    testing_support::ProgramDirectory dir_;
};

}  // namespace

TEST(FoldingForSearch, DropsCaseAccentsAndMarksAndSpellsOutSpecialLetters) {
    EXPECT_EQ(GLB_fold_for_search(QStringLiteral("Ñandú")), QStringLiteral("nandu"));
    EXPECT_EQ(GLB_fold_for_search(QStringLiteral("Tángara del Paraíso")), QStringLiteral("tangara del paraiso"));
    EXPECT_EQ(GLB_fold_for_search(QStringLiteral("Perdiz Tataupá")), QStringLiteral("perdiz tataupa"));
    EXPECT_EQ(GLB_fold_for_search(QStringLiteral("Straße Æsir Øresund Łódź Œuvre")),
              QStringLiteral("strasse aesir oresund lodz oeuvre"));
    // A decomposed accent (a letter and a combining mark) folds like a composed one.
    EXPECT_EQ(GLB_fold_for_search(QStringLiteral("Tan\u0301gara")), GLB_fold_for_search(QStringLiteral("Tángara")));
    EXPECT_EQ(GLB_fold_for_search(QStringLiteral("Crested-Tinamou")), QStringLiteral("crested-tinamou"));
}

TEST_F(DemoNames, AccentsAndCaseAreIgnoredBothWays) {
    const TNameSearchIndex index(GLB_data());
    // Typed without the accent, found with it, in the edition's other language.
    const auto paraiso = index.suggest(QStringLiteral("PARAISO"), 5);
    ASSERT_FALSE(paraiso.empty());
    EXPECT_EQ(paraiso[0]->name, QStringLiteral("Tangara del Paraíso"));
    EXPECT_EQ(speciesOf(paraiso[0]), QStringLiteral("Paradise Tanager"));
    EXPECT_EQ(paraiso[0]->kind, TNameSearchIndex::Kind::OtherNames);
    // Typed with an accent the name does not have.
    const auto typedAccent = index.suggest(QStringLiteral("tínamou"), 40);
    EXPECT_TRUE(names(typedAccent).contains(QStringLiteral("Tinamous")));
    const auto chaquena = index.suggest(QStringLiteral("chaquena"), 5);
    ASSERT_EQ(chaquena.size(), 1u);
    EXPECT_EQ(speciesOf(chaquena[0]), QStringLiteral("Quebracho Crested-Tinamou"));
}

TEST_F(DemoNames, NameStartsComeBeforeWordStartsAndThoseBeforeTextInsideAWord) {
    const TNameSearchIndex index(GLB_data());
    const auto found = index.suggest(QStringLiteral("tina"), 40);
    ASSERT_GE(found.size(), 6u);
    // The family's name begins with it and is the shortest such name; the
    // genus Tinamus follows; the species' English names have it as a word
    // ("Gray Tinamou") or after a hyphen ("Crested-Tinamou").
    EXPECT_EQ(found[0]->name, QStringLiteral("Tinamous"));
    EXPECT_EQ(found[0]->species, nullptr);
    EXPECT_TRUE(found[1]->name.startsWith(QStringLiteral("Tinamus "))) << found[1]->name.toStdString();
    const QStringList shown = names(found);
    EXPECT_TRUE(shown.contains(QStringLiteral("Gray Tinamou")) || shown.contains(QStringLiteral("Tinamus tao")));
    EXPECT_TRUE(shown.contains(QStringLiteral("Quebracho Crested-Tinamou")));

    // Over a whole list the three kinds of match never mix.
    for (const QString& text : {QStringLiteral("tina"), QStringLiteral("ara"), QStringLiteral("co")}) {
    const auto ara = index.suggest(text, 200);
    ASSERT_GE(ara.size(), 3u);
    int lastTier = 0;
    for (const auto* e : ara) {
        const QString folded = GLB_fold_for_search(e->name);
        const qsizetype word = folded.startsWith(text) ? 0
                               : QRegularExpression(QStringLiteral("\\b") + text).match(folded).hasMatch() ? 1
                                                                                                        : 2;
        EXPECT_GE(word, lastTier) << e->name.toStdString() << " came after a better match";
        lastTier = static_cast<int>(word);
    }
    EXPECT_EQ(lastTier, 2) << "names that hold the text inside a word are suggested too";
    }
}

TEST_F(DemoNames, EachTaxonOnceWithItsBestNameAndAsTheWantedOnesAllow) {
    const TNameSearchIndex index(GLB_data());
    // "Tataupa Tinamou" and "Perdiz Tataupá" are the same bird: once, by the
    // name that begins with the text.
    const auto tataupa = index.suggest(QStringLiteral("tataup"), 10);
    ASSERT_EQ(tataupa.size(), 1u);
    EXPECT_EQ(tataupa[0]->name, QStringLiteral("Tataupa Tinamou"));

    const auto all = index.suggest(QStringLiteral("a"), 1000);
    std::set<int> taxa;
    for (const auto* e : all) EXPECT_TRUE(taxa.insert(e->taxon).second) << e->name.toStdString();
    EXPECT_GT(all.size(), 50u);
    // A window that shows no tinamous: none suggested, and the list still full.
    const auto noTinamous = index.suggest(QStringLiteral("a"), 12, [](const TNameSearchIndex::Entry& e) {
        return e.family->common_name != QStringLiteral("Tinamous");
    });
    ASSERT_EQ(noTinamous.size(), 12u);
    for (const auto* e : noTinamous) EXPECT_NE(e->family->common_name, QStringLiteral("Tinamous"));
}

TEST_F(DemoNames, EachKeystrokeGivesWhatAFreshSearchForTheWholeTextGives) {
    const TNameSearchIndex typing(GLB_data());
    // Typed letter by letter, a letter taken back, and typed on: the names
    // found from the last keystroke's must be those found from scratch.
    const QStringList keystrokes{"p", "pa", "pal", "palo", "pal", "pale", "p", "pi", "pic", "pica", "picaz"};
    for (const QString& text : keystrokes) {
        const TNameSearchIndex fresh(GLB_data());
        EXPECT_EQ(names(typing.suggest(text, 30)), names(fresh.suggest(text, 30))) << text.toStdString();
    }
    // The English name begins with it: it comes before "Paloma Picazuró".
    EXPECT_EQ(names(typing.suggest(QStringLiteral("picazuro"), 3)), QStringList{"Picazuro Pigeon"});
    EXPECT_EQ(names(typing.suggest(QStringLiteral("paloma pi"), 3)), QStringList{"Paloma Picazuró"});
    EXPECT_TRUE(typing.suggest(QStringLiteral("picazurox"), 3).empty());
    EXPECT_TRUE(typing.suggest(QStringLiteral("   "), 3).empty());
}
