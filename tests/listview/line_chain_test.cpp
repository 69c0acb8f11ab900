// The lines the model makes for the demo edition's families, species,
// recordings and recording details: kinds, texts, indents and advances.

#include "data/media_records.h"
#include "line_model_fixture.h"
#include "listview/formatted_text.h"
#include "listview/line_texts.h"

#include <QFontMetrics>

using namespace line_model_testing;
using namespace line_kind;

namespace {

QString oneLine(QString text) {
    return text.replace(u'\n', u' ');
}

class DemoChain : public LineModelTest {
  protected:
    void SetUp() override {
        LineModelTest::SetUp();
        loadDemo();
        makeModel();
    }
    // The block a species unfolds to (up to the next species or family).
    std::vector<const TRecordShowStringData*> speciesBlock(int i, int j) {
        if (!familyToggle(i)->open) toggle(familyToggle(i));
        TRecordShowStringData* t = speciesToggle(i, j);
        if (!t->open) toggle(t);
        const TRecordShowStringData* last = t;
        while (last->next && last->next->kind >= kSpeciesNumber && last->next->kind <= kOtherNames)
            last = last->next;
        return following(last, {kSpeciesToggle, kFamilyToggle, kClassToggle});
    }
    std::vector<const TRecordShowStringData*> details(const TRecordShowStringData* toggleLine) {
        toggle(const_cast<TRecordShowStringData*>(toggleLine));
        const TRecordShowStringData* last = toggleLine;
        while (last->next && last->next->kind >= kRecordingLetter &&
               last->next->kind <= kPercentage)
            last = last->next;
        return following(last, {kClassToggle, kFamilyToggle, kSpeciesToggle, kSubspeciesHeading,
                                kRecordingNumber});
    }
    // A wrapped line: every row fits its width with the 4-pixel margin and
    // the advance counts its rows.
    void expectWrapped(const TRecordShowStringData& line, bool continuesRow, int extraShift = 0) {
        const int available = geometry.client_width - geometry.vertical_scroll_bar_width -
                              line_kind::indent(line.kind) - extraShift;
        TTextCanvas canvas;
        canvas.select_font(*line.font);
        const QStringList rows = line.text.split(u'\n');
        for (const QString& row : rows) {
            if (!row.contains(u' ')) continue;  // a single word may be too wide
            EXPECT_GT(available - GLB_plain_text_width(canvas, row), 4) << row.toStdString();
        }
        const int n = static_cast<int>(rows.size());
        EXPECT_EQ(line.advance, (continuesRow ? n - 1 : n) * lh()) << line.text.toStdString();
        EXPECT_EQ(line.indent, line_kind::indent(line.kind) + extraShift);
    }
    const TListFont* font(int style, int step, int colour) const {
        return &GLB_list_fonts().font(style, step, colour);
    }
};

}  // namespace

// --- Family and species rows -------------------------------------------------

TEST_F(DemoChain, InitialChainHasOneClosedRowPerVisibleFamily) {
    const int families = data->visible_family_count(1, settings->visible_set);
    ASSERT_GT(families, 20);
    EXPECT_EQ(model->line_count(), 4 * families);
    EXPECT_EQ(model->total_height(), families * S());
    int i = 0;
    for (const auto* l = model->first_line(); l; l = l->next->next->next->next) {
        ++i;
        EXPECT_EQ(l->kind, kFamilyToggle);
        EXPECT_FALSE(l->open);
        EXPECT_EQ(l->advance, S());
        EXPECT_EQ(l->indent, 25);
        EXPECT_EQ(l->next->kind, kFamilyMarker);
        EXPECT_EQ(l->next->value, i);
        EXPECT_EQ(l->next->family, data->visible_family(1, i, settings->visible_set));
        EXPECT_EQ(l->next->next->kind, kFamilyOtherLanguage);
        EXPECT_EQ(l->next->next->flags, line_flag::kNameFollows);
        EXPECT_EQ(l->next->next->next->kind, kFamilyScientific);
        EXPECT_EQ(l->next->next->next->text, l->next->family->scientific_name);
    }
    EXPECT_EQ(i, families);
    EXPECT_EQ(model->selected(), model->first_line()->next->next);
    EXPECT_EQ(model->selected()->text, QStringLiteral("Tinamous"));
}

TEST_F(DemoChain, SpeciesRowsCarryMarkersLinksAndNotes) {
    const TToggleResult r = toggle(familyToggle(1));
    EXPECT_TRUE(r.changed);
    EXPECT_EQ(r.suggested_scroll, 0);
    const auto first =
        following(model->find_row(1, 1).head->previous, {kSpeciesToggle, kFamilyToggle});
    EXPECT_EQ(kindsOf(first),
              (std::vector<int>{kSpeciesNumber, kSpeciesOtherLanguage, kSpeciesScientific,
                                kMapMarker, kMediaMarker, kLiterature, kOtherNames}));
    EXPECT_EQ(model->display_text(*first[0]), QStringLiteral("1. "));
    EXPECT_EQ(first[0]->species->scientific_name, QStringLiteral("Tinamus tao"));
    // Pictures, flag "S", recordings.
    EXPECT_EQ(first[4]->media, (std::array<bool, 3>{true, true, true}));
    EXPECT_EQ(first[5]->text, QStringLiteral(" ") + kU + u'r' + kU);
    EXPECT_EQ(first[5]->font, font(1, 0, 0));
    EXPECT_EQ(first[6]->text, QStringLiteral("Perdiz Gris"));
    EXPECT_EQ(first[6]->font, font(1, -1, 0));
    EXPECT_EQ(first[6]->indent, 145);
    EXPECT_EQ(first[6]->advance, lh());
    // Every species row starts with its toggle at the spacer height.
    int species = 0;
    for (const auto* l = model->first_line(); l; l = l->next) {
        if (l->kind != kSpeciesToggle) continue;
        ++species;
        EXPECT_EQ(l->advance, S());
        EXPECT_EQ(l->indent, 105);
        EXPECT_EQ(l->next->value, species);
    }
    EXPECT_EQ(species, data->visible_species_count(*first[0]->family, settings->visible_set));
    EXPECT_EQ(r.height_change, species * S() + species * 0 + lh() * species);
}

TEST_F(DemoChain, ThreatenedStatusAndDistributionNotes) {
    toggle(familyToggle(3));
    const auto row = following(model->find_row(3, 5).head, {kSpeciesToggle});
    const auto threatened =
        std::find_if(row.begin(), row.end(), [](const auto* l) { return l->kind == kThreatened; });
    ASSERT_NE(threatened, row.end());
    EXPECT_EQ((*threatened)->text, QStringLiteral("  ") + kU + "Critically endangered" + kU);
    EXPECT_EQ((*threatened)->font, font(2, 0, 1));

    toggle(familyToggle(5));
    const auto endemic = following(model->find_row(5, 1).head, {kSpeciesToggle});
    const auto note = std::find_if(endemic.begin(), endemic.end(),
                                   [](const auto* l) { return l->kind == kDistributionNote; });
    ASSERT_NE(note, endemic.end());
    EXPECT_EQ((*note)->text, QStringLiteral("  In the region found only in Peru"));
    EXPECT_EQ((*note)->font, font(2, 0, 0));
    // A species of several countries has no note.
    toggle(familyToggle(1));
    const auto wide = following(model->find_row(1, 1).head, {kSpeciesToggle});
    for (const auto* l : wide) EXPECT_NE(l->kind, kDistributionNote);

    // Threatened lines go when the list does not show them.
    settings->show_threatened = false;
    makeModel();
    toggle(familyToggle(3));
    for (const auto* l : following(model->find_row(3, 5).head, {kSpeciesToggle}))
        EXPECT_NE(l->kind, kThreatened);
}

// --- Species blocks -------------------------------------------------------------

TEST_F(DemoChain, SpeciesBlockWithSubspeciesHeadingsAndUnrecordedSubspecies) {
    const auto block = speciesBlock(1, 1);
    EXPECT_EQ(kindsOf(block),
              (std::vector<int>{kNotes, kSubspeciesHeading, kSubspeciesPicture, kRecordingNumber,
                                kRecordingButton, kDetailsToggle, kRecordingLetter, kDescription,
                                kRecordingNumber, kRecordingButton, kDetailsToggle,
                                kRecordingLetter, kDescription, kPercentage, kSubspeciesHeading}));
    EXPECT_EQ(oneLine(block[0]->text),
              QStringLiteral("Voice a single long, hollow, slightly rising whistle, given mainly "
                             "at dusk. On the Andean slopes of Peru and Bolivia represented by ") +
                  kI + "kleei" + kI + ". Species notes by: " + kU + "Aldo Ferrándiz Quiroga" + kU +
                  ".");
    expectWrapped(*block[0], false);
    EXPECT_EQ(oneLine(block[1]->text),
              kI + QStringLiteral("Tinamus tao") + kI + " " + kI + "kleei" + kI);
    EXPECT_EQ(block[1]->advance, lh() + 5);  // one row and the heading's extra 5
    EXPECT_EQ(block[2]->subspecies, block[1]->subspecies);

    // Recording 1 comes under a heading, recording 2 follows it.
    const int row = lh() + geometry.horizontal_scroll_bar_height - 3;
    EXPECT_EQ(block[3]->advance, row);
    EXPECT_EQ(block[3]->value, 1);
    EXPECT_EQ(block[3]->indent, 180);
    EXPECT_EQ(block[4]->button_block->button_id, (1 * 400 + 1) * 500 + 1);
    EXPECT_EQ(block[4]->button_block->recording_number, 1);
    EXPECT_EQ(block[4]->button_block->saved_position, 0);
    EXPECT_EQ(block[4]->button_block->button, nullptr);
    EXPECT_EQ(block[5]->advance, 0);  // a recording on a file stays on its row
    EXPECT_EQ(block[6]->text, QStringLiteral("A"));
    EXPECT_EQ(block[6]->font, font(2, 1, 0));
    EXPECT_EQ(block[6]->advance, 0);
    EXPECT_EQ(block[7]->text,
              QStringLiteral("Song at dusk.") + kSmall + "   " + kB + "Cusco, Peru" + kB);
    expectWrapped(*block[7], true);
    EXPECT_EQ(block[8]->advance, row);
    EXPECT_EQ(block[9]->button_block->button_id, (1 * 400 + 1) * 500 + 2);
    EXPECT_EQ(block[13]->advance, lh());
    EXPECT_EQ(model->display_text(*block[13]), QStringLiteral("Species heard in about 90%"));
    EXPECT_EQ(block[14]->text, QStringLiteral("Subspecies without recordings: ") + kI + "larensis" +
                                   kI + ", " + kI + "septentrionalis" + kI + ", " + kI + "tao" +
                                   kI + ".");
    EXPECT_EQ(block[14]->advance, lh() + 10);
    for (const auto* l : block) {
        EXPECT_EQ(l->species, block[0]->species);
        EXPECT_EQ(l->family_index, 1);
        EXPECT_EQ(l->species_index, 1);
    }
    EXPECT_EQ(block[7]->recording, block[4]->button_block->recording);
}

TEST_F(DemoChain, FirstRecordingWithoutHeadingTakesFiveMore) {
    const auto block = speciesBlock(2, 1);
    ASSERT_GE(block.size(), 1u);
    EXPECT_EQ(block[0]->kind, kRecordingNumber);
    EXPECT_EQ(block[0]->advance, lh() + geometry.horizontal_scroll_bar_height - 3 + 5);
}

TEST_F(DemoChain, AudioCDRecordingsGoBelowTheirCDLine) {
    const auto block = speciesBlock(3, 2);
    const auto cd =
        std::find_if(block.begin(), block.end(), [](const auto* l) { return l->kind == kAudioCD; });
    ASSERT_NE(cd, block.end());
    EXPECT_EQ((*cd)->text, QStringLiteral("       CD ") + kU + "Voices of the Yungas, disc 1" + kU);
    ASSERT_NE((*cd)->audio_cd, nullptr);
    EXPECT_EQ((*cd)->audio_cd->name, QStringLiteral("Voices of the Yungas, disc 1"));
    expectWrapped(**cd, true);
    const int bold = QFontMetrics(GLB_list_fonts().font(2, 1, 0).font).height();
    const int h = std::max(19, 7 * bold / 6) + 1;
    EXPECT_EQ((*(cd + 1))->kind, kDetailsToggle);
    EXPECT_EQ((*(cd + 1))->advance, h);
    EXPECT_EQ((*(cd + 2))->kind, kRecordingLetter);
    EXPECT_EQ((*(cd + 2))->advance, 0);
}

TEST_F(DemoChain, LetterXShowsAsAAAAndShiftsTheDescription) {
    const auto block = speciesBlock(1, 6);
    const auto letter = std::find_if(block.begin(), block.end(),
                                     [](const auto* l) { return l->kind == kRecordingLetter; });
    ASSERT_NE(letter, block.end());
    EXPECT_EQ((*letter)->text, QStringLiteral("AAA"));
    const auto* description = *(letter + 1);
    EXPECT_EQ(description->kind, kDescription);
    expectWrapped(*description, true, 3 * GLB_list_fonts().average_char_width());
    EXPECT_EQ(description->indent, 235 + 3 * GLB_list_fonts().average_char_width());
}

TEST_F(DemoChain, RecordingsFromOneSourceAreMarked) {
    const auto block = speciesBlock(7, 1);
    std::vector<QString> descriptions;
    for (const auto* l : block)
        if (l->kind == kDescription) descriptions.push_back(l->text);
    ASSERT_EQ(descriptions.size(), 3u);
    const QString mark = QStringLiteral(" ") + kLarge + kLarge + kB + "* " + kB + kSmall + kSmall;
    EXPECT_FALSE(descriptions[0].contains(mark));
    EXPECT_TRUE(descriptions[1].endsWith(mark));
    EXPECT_TRUE(descriptions[2].endsWith(mark));
    // Flag "E" without subspecies: the notes say so, on a line of their own.
    ASSERT_EQ(block[0]->kind, kNotes);
    EXPECT_EQ(block[0]->text, QStringLiteral("No subspecies are recognised."));
}

TEST_F(DemoChain, SeparatorsStartNewGroupsOfRecordings) {
    const auto block = speciesBlock(21, 3);
    int separators = 0;
    for (const auto* l : block) {
        if (l->kind != kRecordingNumber) continue;
        const bool separated = l->flags & line_flag::kSeparator;
        if (separated) ++separators;
        EXPECT_EQ(l->advance, lh() + geometry.horizontal_scroll_bar_height - 3 +
                                  (l->value == 1 || separated ? 5 : 0));
        EXPECT_EQ(separated, l->value >= 2 && settings->visible_set.item_starts_new_group(
                                                  *l->next->button_block->recording));
    }
    EXPECT_EQ(separators, 2);
}

// --- Recording details --------------------------------------------------------------

TEST_F(DemoChain, DetailsOfARecordingOnAFile) {
    const auto block = speciesBlock(1, 1);
    const auto lines = details(block[5]);
    ASSERT_EQ(kindsOf(lines),
              (std::vector<int>{kSoundAndRecordist, kLocalityAndDate, kOtherSpecies}));
    EXPECT_EQ(oneLine(lines[0]->text),
              QStringLiteral("subspecies kleei. Shotgun microphone, cassette recorder. Recorded "
                             "by ") +
                  kU + "Marleen Verhoost" + kU + ".");
    // Department and country are on the first line already.
    EXPECT_EQ(oneLine(lines[1]->text),
              kU + QStringLiteral("San Pedro, Kosñipata road") + kU + ", 12 August 1996, 18:15.");
    EXPECT_EQ(lines[2]->text, QStringLiteral("Also audible: no other species."));
    for (const auto* l : lines) {
        expectWrapped(*l, false);
        EXPECT_EQ(l->recording, block[4]->button_block->recording);
    }
    EXPECT_TRUE(block[5]->open);
}

TEST_F(DemoChain, DetailsNameOtherTaxaAndThePlaceWhenTheFirstLineDoesNot) {
    settings->show_department = false;
    settings->show_country = false;
    makeModel();
    const auto block = speciesBlock(1, 6);
    const auto lines = details(block[5]);
    ASSERT_EQ(lines.size(), 3u);
    // Neither is on the first line: the department and (outside the home
    // region) the country follow the place.
    EXPECT_EQ(oneLine(lines[1]->text),
              kU + QStringLiteral("Teniente Enciso (Boquerón, Paraguay). Parque Nacional") + kU +
                  ", 8 December 1993, 19:30.");
    EXPECT_EQ(oneLine(lines[2]->text),
              QStringLiteral("Also audible: Ferruginous Pygmy-Owl ") + kI +
                  "Glaucidium brasilianum" + kI + " (23%. C. Heard in the background), " +
                  "Scimitar-billed Woodcreeper " + kI + "Drymornis bridgesii" + kI +
                  " (16%. C. Heard in the background).");
    const auto description = std::find_if(block.begin(), block.end(),
                                          [](const auto* l) { return l->kind == kDescription; });
    EXPECT_EQ((*description)->text, QStringLiteral("Song after rain."));
}

TEST_F(DemoChain, ADetailsToggleExactlyWhereThereAreDetails) {
    const TListWords words;
    int with = 0, without = 0;
    for (const Tcutpart* cut : data->cut_parts()) {
        for (const Tcupaitem* r = cut->first_item(1); r; r = r->next_of_cut_part(1)) {
            const TFirstLinePlaces places = line_texts::first_line_places(*r, *settings);
            const bool any = !line_texts::sound_and_recordist(*r, words).isEmpty() ||
                             !line_texts::locality_and_date(*r, places).isEmpty() ||
                             !line_texts::other_species(*r, *settings, words).isEmpty();
            EXPECT_EQ(line_texts::has_details(*r, *settings), any) << cut->identifier.toStdString();
            ++(any ? with : without);
        }
    }
    EXPECT_GT(with, 100);
    EXPECT_EQ(without, 0);  // every demo recording has a place
}

TEST_F(DemoChain, EveryItemOfTheEditionFoldsAndUnfolds) {
    const int emptyHeight = model->total_height();
    const long emptyLines = TRecordShowStringData::live_count();
    for (int i = 1; familyToggle(i); ++i) toggle(familyToggle(i));
    for (auto* l = model->first_line(); l; l = l->next)
        if (l->kind == kSpeciesToggle) toggle(l);
    int recordings = 0;
    for (auto* l = model->first_line(); l; l = l->next) {
        if (l->kind == kDetailsToggle) toggle(l);
        if (l->kind == kRecordingButton) ++recordings;
    }
    EXPECT_GT(recordings, 100);
    EXPECT_EQ(model->total_height(), sumOfAdvances());
    int count = 0;
    for (const auto* l = model->first_line(); l; l = l->next, ++count) {
        if (l->next) {
            EXPECT_EQ(l->next->previous, l);
        }
        EXPECT_GE(l->kind, 1);
        EXPECT_LE(l->kind, 30);
        if (l->kind >= kSpeciesNumber) {
            EXPECT_NE(l->species, nullptr) << int(l->kind);
        }
    }
    EXPECT_EQ(count, model->line_count());
    // Fold everything back from the bottom up.
    for (auto* l = model->last_line(); l; l = l->previous)
        if (line_kind::is_toggle(l->kind) && l->open) toggle(l);
    EXPECT_EQ(model->total_height(), emptyHeight);
    EXPECT_EQ(TRecordShowStringData::live_count(), emptyLines);
}
