#pragma once

// A small edition written by each test into its own program directory, and
// the fixture that loads it. Tests change single lines of the files to
// exercise one rule at a time.

#include "app/editions.h"
#include "app/messages.h"
#include "data/species_database.h"
#include "formats/textfile.h"
#include "platform/dialog_service.h"
#include "support/scripted_dialogs.h"
#include "support/test_environment.h"

#include <gtest/gtest.h>
#include <QDir>
#include <map>
#include <optional>

namespace data_testing {

// The ten data files of a tiny edition-101 database: two families, three
// species, three recordings (two sound files, one part of an audio CD),
// four recording items, one picture, one further systematic order.
struct SmallEdition {
    std::map<QString, QString> files{
        {"mapsdata.txt",
         "@#[]\nANDES_MAP\n3\n-80.5,-60,-25.25,0\n@#[]\nCHACO_MAP\n4\n-63,-57,-19,-24\n"},
        {"people.txt",
         "@#[]\nAna Recordista\nSound recordist\nana@example.org\n\n"
         "@#[]\nBruno Fotografo\nPhotographer\n\n\n"},
        {"names_sc.txt",
         "@#[FAMILIES]\nTinamidae\nTINAMIDAE\nFurnariidae\nFURNARIIDAE\n"
         "@#[LIT. REFERENCES]\nSmith (1990) Tinamous.\nJones (2001) <I>Ovenbirds</I>.\n"
         "@#[SPECIES 1]\nTinamidae\n"
         "@#[]\nTinamus tao\n32 20020\nCDES,D(\"ANDES_MAP\" ----Main),T(vu)\nPE-BO-BR\n1\n"
         "1,Voice%$#fgd&2,Nest\nkleei\ntao-NOT REAL SSP\n\n"
         "@#[]\nCrypturellus tataupa\n58 20123\nC,\nPA-AR\n\n\n\n"
         "@#[SPECIES 2]\nFurnariidae\n"
         "@#[]\nFurnarius rufus\n900 30001\nACE,D(\"CHACO_MAP\" Mask----,\"ANDES_MAP\" ----Main)\n"
         "AR\n\n\n\n"},
        {"taxa.txt",
         "@#[FAMILIES]\nTinamous\nOvenbirds\n"
         "@#[SPECIES 1]\nGrey Tinamou\nTinamú <i>gris</i>\nThird\nFourth\n"
         "Small-billed Tinamou\n\n\n\n"
         "@#[SPECIES 2]\nRufous Hornero\nHornero\n\n\n"},
        {"locality.txt",
         "@#[]\nPE-MANU\nManu\nMadre de Dios\nPeru\nnear\nLowland forest.\n"
         "-0072345D-0422130N\n\n<B>Site</B> page\n"
         "@#[]\nZERO\nZERO LOCATION\n\n\n\n\n000000000000000000\n\n\n"},
        {"big_pict.txt",
         "@#[]\n20020\nkleei (P)\nBruno Fotografo\n19990101\nPE-MANU\n\nA photograph.\n"},
        {"othermedia.txt",
         "@#[]\n801\nVoices of the Yungas, full title\nVoices of the Yungas, disc 1\n"
         "https://example.org/yungas\nfalse\n3;52;98;163\nYungas1\n"},
        {"cutparts.txt",
         "@#[]\n1207B0003A\n2\n50\n1630\n20000911\nPE-MANU\nAna Recordista\n"
         "Shotgun (USA).\nRain.\n31029\n"
         "@#[]\n15A12\n0\n0\n\n\nZERO\n\n\n\n\n"
         "@#[]\n801A0001\nCD track 3 offset 12345 length 600 selected 1\n\n\n\nPE-MANU\n\n\n\n\n"},
        {"cupaitem.txt",
         "@#[1_1]\n10\nA\n64\nkleei\nSong.\nP\nRemark\nmore\n1207B0003A\n"
         "11\nB\n?\n\nCall.\nP\n\n\n801A0001\n"
         "@#[1_2]\n20\nX\n\n\nDuet.\nP\n\n\n15A12\n"
         "@#[2_1]\n30\nC\n100\n\nAlarm.\n\n\n\n1207B0003A\n"},
        {"syst_ord.txt",
         "@#[ORDERS]\nClements 2000\n"
         "@#[FAMILIES_1]\nFurnariidae,Ovenbirds\nRheidae,Rheas\nTinamidae,Tinamous\n"
         "@#[SPECIES_1]\n1,30001\n3,20123\n3,99999\n3,20020\n"},
    };

    void replace(const QString& file, const QString& from, const QString& to) {
        QString& text = files.at(file);
        if (!text.contains(from))
            ADD_FAILURE() << "no " << from.toStdString() << " in " << file.toStdString();
        text.replace(from, to);
    }
    void write(const testing_support::ProgramDirectory& dir) const {
        for (const auto& [name, text] : files) dir.write(name, text.toUtf8());
    }
};

inline const char* kTestTexts =
    "$[BS_DATA]\none\ntwo\nIn the data file \nthe section\nis missing.\n"
    "$[SSP]\nSubspecies\nProvisional\nPossibly a subspecies\n"
    "$[DEPARTMENT ETC]\ndepartment\nprovince\nstate\ndistrict\n";

// A test in a private program directory (also the current directory, so
// no stray data file is found), with scripted dialogs and a chosen edition.
class DataTest : public ::testing::Test {
  protected:
    // The edition runs until the next choice or the test's end.
    void useEdition(int product) {
        edition_.reset();
        edition_.emplace(GLB_edition_for_product(product));
    }

    // Writes the edition and loads it; the database writes no settings.
    std::unique_ptr<Tdata> load(const SmallEdition& edition) {
        edition.write(dir);
        return loadWritten();
    }
    std::unique_ptr<Tdata> loadWritten() {
        auto data = std::make_unique<Tdata>();
        data->set_write_settings_at_end(false);
        data->load();
        return data;
    }
    // The message of the load error that loading stops with; empty when the
    // load succeeds.
    QString fatalOf(const SmallEdition& edition) {
        try {
            load(edition);
        } catch (const TLoadError& error) {
            return error.message();
        }
        return {};
    }

    testing_support::DialogScript script;
    testing_support::IsolatedProgram program{QString::fromUtf8(kTestTexts), 1011};
    testing_support::ProgramDirectory& dir = program.dir;

  private:
    // Declared after the program, so it goes first and the program's
    // edition comes back after it.
    std::optional<TEditionOverride> edition_;
};

}  // namespace data_testing
