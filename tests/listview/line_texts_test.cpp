// The texts of list lines built from hand-made records: source marks, the
// first line's places, recording details and the edition rules in them.

#include "app/editions.h"
#include "data/media_records.h"
#include "data/people_places.h"
#include "data/species_database.h"
#include "formats/textfile.h"
#include "line_model_fixture.h"
#include "listview/formatted_text.h"
#include "listview/line_texts.h"
#include "listview/show_strings_data.h"

#include <deque>
#include <optional>

using namespace line_model_testing;

namespace {

// Records made by hand, linked as the loader links them.
class Records : public ::testing::Test {
  protected:
    void SetUp() override {
        texts_.emplace(Ttextfile_handler::fromText(QString::fromUtf8(demoFile("Korvelan.txt"))));
        edition(1011);
        place.name = QStringLiteral("Coroico");
        place.region = QStringLiteral("La Paz");
        place.country = QStringLiteral("Bolivia");
        place.latitude = -97000;
        place.longitude = -404000;
    }
    void TearDown() override {
        edition_.reset();
        texts_.reset();
    }
    void edition(int product) {
        edition_.reset();
        edition_.emplace(GLB_edition_for_product(product));
        settings = std::make_unique<SHST_TClassShowStringsData>(empty);
    }
    Tspecies& species(int number, const char* scientific, const char* common) {
        Tspecies& s = species_.emplace_back();
        s.species_number = number;
        s.scientific_name = QString::fromUtf8(scientific);
        s.common_name = QString::fromUtf8(common);
        return s;
    }
    Tcutpart& fileCut(int recording, char letter, int part) {
        Tcutpart& c = cuts_.emplace_back();
        c.recording_number = recording;
        c.first_letter = QChar::fromLatin1(letter);
        c.part_number = part;
        c.locality = &place;
        return c;
    }
    Tcutpart& cdCut(TaudioCD& cd, int track) {
        Tcutpart& c = fileCut(cd.cd_number, 'A', track);
        c.is_sound_file = false;
        c.audio_cd = &cd;
        c.track = track;
        return c;
    }
    // An item of the species in the cut, appended to the cut's items.
    Tcupaitem& item(Tspecies& s, Tcutpart& cut, char letter = 'A') {
        Tcupaitem& i = items_.emplace_back();
        i.species = &s;
        i.cut_part = &cut;
        i.kind_letter = QChar::fromLatin1(letter);
        i.present = true;
        Tcupaitem** link = &cut.first_item_in_orders[0];
        while (*link) link = &(*link)->next_of_cut_part_in_orders[0];
        *link = &i;
        return i;
    }

    Tdata empty;
    std::unique_ptr<SHST_TClassShowStringsData> settings;
    Tlocality place;
    TListWords words() const { return TListWords(); }

  private:
    std::deque<Tspecies> species_;
    std::deque<Tcutpart> cuts_;
    std::deque<Tcupaitem> items_;
    std::optional<TTextsOverride> texts_;
    std::optional<TEditionOverride> edition_;
};

}  // namespace

// --- Source marks ---------------------------------------------------------------

TEST_F(Records, SourcesUsedTwiceAreNumberedInOrderOfFirstUse) {
    Tspecies& s = species(1, "Tinamus tao", "Gray Tinamou");
    TaudioCD cd;
    cd.cd_number = 801;
    Tcutpart& a1 = fileCut(1207, 'B', 1);
    Tcutpart& b1 = fileCut(1300, 'A', 1);
    Tcutpart& a2 = fileCut(1207, 'B', 2);
    Tcutpart& c1 = cdCut(cd, 3);
    Tcutpart& b2 = fileCut(1300, 'A', 4);
    Tcutpart& other = fileCut(1207, 'A', 1);  // another side of the tape
    Tcutpart& c2 = cdCut(cd, 3);
    Tcutpart& d = cdCut(cd, 4);
    std::vector<const Tcupaitem*> recordings;
    for (Tcutpart* cut : {&a1, &b1, &a2, &c1, &b2, &other, &c2, &d})
        recordings.push_back(&item(s, *cut));
    EXPECT_EQ(line_texts::source_marks(recordings), (std::vector<int>{1, 2, 1, 3, 2, 0, 3, 0}));

    // The third such source gets three marks.
    const QString text = line_texts::description(*recordings[3], {}, 3);
    EXPECT_EQ(text, recordings[3]->first_text + u' ' + kLarge + kLarge + kB + "* * * " + kB +
                        kSmall + kSmall);
}

TEST_F(Records, AtMostTenSourcesAreToldApart) {
    Tspecies& s = species(1, "Tinamus tao", "Gray Tinamou");
    std::vector<const Tcupaitem*> recordings;
    for (int source = 1; source <= 11; ++source)
        for (int part = 1; part <= 2; ++part)
            recordings.push_back(&item(s, fileCut(1000 + source, 'A', part)));
    const std::vector<int> marks = line_texts::source_marks(recordings);
    EXPECT_EQ(marks[18], 10);
    EXPECT_EQ(marks[19], 10);
    EXPECT_EQ(marks[20], 0);
    EXPECT_EQ(marks[21], 0);
    EXPECT_EQ(line_texts::description(*recordings[20], {}, 0), recordings[20]->first_text);
}

// --- The first line and the locality --------------------------------------------------

TEST_F(Records, DepartmentAndCountryOnTheFirstLine) {
    Tspecies& s = species(1, "Tinamus tao", "Gray Tinamou");
    Tcupaitem& r = item(s, fileCut(1, 'A', 1));
    r.first_text = QStringLiteral("Song.");
    TFirstLinePlaces places = line_texts::first_line_places(r, *settings);
    EXPECT_TRUE(places.department);
    EXPECT_TRUE(places.country);
    EXPECT_EQ(line_texts::description(r, places, 0),
              QStringLiteral("Song.") + kSmall + "   " + kB + "La Paz, Bolivia" + kB);
    settings->show_department = false;
    settings->show_country = false;
    // Edition 101: a country outside the selected area is always named.
    places = line_texts::first_line_places(r, *settings);
    EXPECT_FALSE(places.department);
    EXPECT_TRUE(places.country);
    EXPECT_EQ(line_texts::description(r, places, 0),
              QStringLiteral("Song.") + kSmall + "   " + kB + "Bolivia" + kB);

    // Edition 130 names only countries other than its own.
    edition(1301);
    settings->show_country = false;
    EXPECT_FALSE(line_texts::first_line_places(r, *settings).country);
    place.country = QStringLiteral("Peru");
    EXPECT_TRUE(line_texts::first_line_places(r, *settings).country);
    edition(1071);  // an edition without that rule
    settings->show_country = false;
    EXPECT_FALSE(line_texts::first_line_places(r, *settings).country);
}

TEST_F(Records, LocalityLinkDateAndTime) {
    Tspecies& s = species(1, "Tinamus tao", "Gray Tinamou");
    Tcutpart& cut = fileCut(1, 'A', 1);
    cut.date = 19960812;
    cut.number_4 = 1815;
    Tcupaitem& r = item(s, cut);
    EXPECT_EQ(line_texts::locality_and_date(r, {true, true}),
              kU + QStringLiteral("Coroico") + kU + ", 12 August 1996, 18:15.");
    // Neither on the first line: department, and the country outside the
    // home region.
    edition(1301);
    EXPECT_EQ(line_texts::locality_and_date(r, {false, false}),
              kU + QStringLiteral("Coroico (La Paz).") + kU + " 12 August 1996, 18:15.");
    place.country = QStringLiteral("Peru");
    place.prefix = QStringLiteral("near");
    cut.number_4 = -1;
    cut.date = 19960800;
    EXPECT_EQ(line_texts::locality_and_date(r, {false, false}),
              kU + QStringLiteral("Coroico (La Paz, Peru). near") + kU + ", August 1996.");
    // No real place: only the time.
    place.name = QStringLiteral("Zero Location");
    cut.date = -1;
    cut.number_4 = 630;
    EXPECT_EQ(line_texts::locality_and_date(r, {false, false}), QStringLiteral("6:30."));
    cut.number_4 = -1;
    EXPECT_EQ(line_texts::locality_and_date(r, {false, false}), QString());
}

// --- Sound and recordist ------------------------------------------------------------

TEST_F(Records, SoundAndRecordistText) {
    Tspecies& s = species(1, "Tinamus tao", "Gray Tinamou");
    Tsubspecies kleei;
    kleei.name = QStringLiteral("kleei");
    Tperson ana;
    ana.name = QStringLiteral("Ana Recordista");
    Tcutpart& cut = fileCut(1, 'A', 1);
    cut.text_1 = QStringLiteral("Shotgun microphone.");
    cut.recordist = &ana;
    Tcupaitem& r = item(s, cut);
    r.subspecies = Tssp_data{&kleei, true};
    r.second_text = QStringLiteral("Distant.");
    EXPECT_EQ(line_texts::sound_and_recordist(r, words()),
              QStringLiteral("subspecies kleei (provisional identification). Distant. Shotgun "
                             "microphone. Recorded by ") +
                  kU + "Ana Recordista" + kU + ".");
    s.flag_n = true;
    EXPECT_EQ(line_texts::sound_and_recordist(r, words()),
              QStringLiteral("Distant. Shotgun microphone. Recorded by ") + kU + "Ana Recordista" +
                  kU + ".");
    s.flag_n = false;
    edition(1151);  // edition 115 puts the subspecies on a line of its own
    EXPECT_TRUE(line_texts::sound_and_recordist(r, words())
                    .startsWith(QStringLiteral("subspecies kleei (provisional identification).\n"
                                               "Distant.")));
}

// --- Other species ----------------------------------------------------------------------

TEST_F(Records, OtherTaxaInNameOrderWithTheirNotes) {
    Tspecies& s = species(1402, "Tinamus tao", "Gray Tinamou");
    Tspecies& frog = species(1398, "Boana punctata", "Polka-dot Tree Frog");
    frog.is_amphibian = true;
    Tspecies& wren = species(1400, "Scytalopus sp.", "");
    Tcutpart& cut = fileCut(5, 'A', 3);
    Tcupaitem& r = item(s, cut);
    Tcupaitem& f = item(frog, cut, 'C');
    f.percentage = 30;
    f.first_text = QStringLiteral("Calling.");
    Tcupaitem& w = item(wren, cut, ' ');
    w.first_text = QStringLiteral("A long series of notes, fading away.");
    EXPECT_EQ(line_texts::other_species(r, *settings, words()),
              QStringLiteral("Also audible: Polka-dot Tree Frog ") + kI + "Boana punctata" + kI +
                  " (frog. 30%. C. Calling), " + kI + "Scytalopus" + kI +
                  " sp. (A long series of notes, fading away.).");
    settings->main_name = 1;
    settings->show_other_language = false;
    EXPECT_TRUE(
        line_texts::other_species(r, *settings, words())
            .startsWith(QStringLiteral("Also audible: ") + kI + "Boana punctata" + kI + " (frog"));
    // No class word in edition 114, no letter in edition 115.
    edition(1141);
    EXPECT_TRUE(line_texts::other_species(r, *settings, words()).contains("(30%. C. Calling)"));
    edition(1151);
    EXPECT_TRUE(line_texts::other_species(r, *settings, words()).contains("(frog. 30%. Calling)"));
}

TEST_F(Records, NoOtherTaxa) {
    Tspecies& s = species(1, "Tinamus tao", "Gray Tinamou");
    Tcupaitem& onFile = item(s, fileCut(5, 'A', 3));
    TaudioCD cd;
    Tcupaitem& onCD = item(s, cdCut(cd, 2));
    EXPECT_EQ(line_texts::other_species(onFile, *settings, words()),
              QStringLiteral("Also audible: no other species."));
    EXPECT_EQ(line_texts::other_species(onCD, *settings, words()), QString());
    // Nowhere real, no date, no texts: only a file recording has details.
    place.name = QStringLiteral("ZERO LOCATION");
    EXPECT_TRUE(line_texts::has_details(onFile, *settings));
    EXPECT_FALSE(line_texts::has_details(onCD, *settings));
    edition(1021);
    EXPECT_EQ(line_texts::other_species(onFile, *settings, words()), QString());
    EXPECT_FALSE(line_texts::has_details(onFile, *settings));
    onCD.cut_part->date = 20000101;
    EXPECT_TRUE(line_texts::has_details(onCD, *settings));
}

TEST_F(Records, Edition130LeavesOutTaxaOfItsExceptionTable) {
    Tspecies& s = species(1402, "Tinamus tao", "Gray Tinamou");
    Tspecies& guessed = species(1398, "Crypturellus obsoletus", "Brown Tinamou");
    Tspecies& sure = species(1400, "Crypturellus soui", "Little Tinamou");
    Tcutpart& cut = fileCut(5, 'A', 3);
    Tcupaitem& r = item(s, cut);
    item(guessed, cut);
    item(sure, cut);
    const QString both = line_texts::other_species(r, *settings, words());
    EXPECT_TRUE(both.contains("Brown Tinamou"));
    EXPECT_TRUE(both.contains("Little Tinamou"));
    edition(1301);
    const QString one = line_texts::other_species(r, *settings, words());
    EXPECT_FALSE(one.contains("Brown Tinamou"));
    EXPECT_TRUE(one.contains("Little Tinamou"));
    // Another letter or cut is not in the table.
    r.kind_letter = u'B';
    EXPECT_TRUE(line_texts::other_species(r, *settings, words()).contains("Brown Tinamou"));
    // One recording has no list at all.
    Tspecies& quiet = species(4120, "Nothura maculosa", "Spotted Nothura");
    Tcutpart& quietCut = fileCut(9, 'A', 5);
    Tcupaitem& q = item(quiet, quietCut);
    item(sure, quietCut);
    EXPECT_EQ(line_texts::other_species(q, *settings, words()), QString());
}

// --- Species texts ------------------------------------------------------------------------

TEST_F(Records, NotesHeadingsAndLetters) {
    Tspecies& s = species(1, "Tinamus tao", "Gray Tinamou");
    EXPECT_EQ(line_texts::notes(s, words()), QString());
    Tperson aldo;
    aldo.name = QStringLiteral("Aldo");
    s.credited_person = &aldo;
    EXPECT_EQ(line_texts::notes(s, words()),
              QStringLiteral(" Species notes by: ") + kU + "Aldo" + kU + ".");
    s.third_text = QStringLiteral("Shy.");
    s.flag_e = true;
    EXPECT_EQ(line_texts::notes(s, words()), QStringLiteral("Shy. Species notes by: ") + kU +
                                                 "Aldo" + kU + ".\nNo subspecies are recognised.");

    Tsubspecies kleei;
    kleei.name = QStringLiteral("kleei");
    Tsubspecies group;
    group.name = QStringLiteral("Northern birds");
    group.not_real = true;
    EXPECT_EQ(line_texts::subspecies_heading(s, nullptr, true, words()),
              QStringLiteral("Subspecies not identified"));
    EXPECT_EQ(line_texts::subspecies_heading(s, &group, true, words()),
              QStringLiteral("Northern birds"));
    EXPECT_EQ(line_texts::subspecies_heading(s, &kleei, true, words()),
              kI + QStringLiteral("Tinamus tao") + kI + " " + kI + "kleei" + kI);
    EXPECT_EQ(line_texts::subspecies_heading(s, &kleei, false, words()),
              QStringLiteral("Subspecies ") + kI + "kleei" + kI);

    Tcupaitem& r = item(s, fileCut(1, 'A', 1), 'X');
    EXPECT_EQ(line_texts::letter(r), QStringLiteral("AAA"));
    r.kind_letter = u' ';
    EXPECT_EQ(line_texts::letter(r), QStringLiteral("   "));
    EXPECT_EQ(line_texts::italic_scientific(QStringLiteral("Grallaria hyp. nova")),
              kI + QStringLiteral("Grallaria") + kI + " hyp. nova");
}
