// The credits and licences the About and introduction windows show.
#include "app/editions.h"
#include "data/species_database.h"
#include "info_windows/about_texts.h"
#include "support/demo_edition.h"

#include <gtest/gtest.h>

namespace {

class DemoCredits : public ::testing::Test {
  protected:
    void SetUp() override { testing_support::installDemoEdition(dir_); }
    void TearDown() override { testing_support::removeDemoEdition(); }
    testing_support::ProgramDirectory dir_;
};

}  // namespace

TEST_F(DemoCredits, RecordistsAndPhotographersComeFromTheData) {
    const QStringList recordists = GLB_recordist_names(GLB_data());
    EXPECT_EQ(recordists, (QStringList{"Aldo Ferrándiz Quiroga", "Greta Sollmann", "Henrik Dahlqvist",
                                       "Marleen Verhoost", "Nicanor Tupa Huamán",
                                       "Rosa Mamani Condori"}));
    const QStringList photographers = GLB_photographer_names(GLB_data());
    EXPECT_EQ(photographers, (QStringList{"Ilse Ravenhorst", "Julián Ocaña Beltrán",
                                          "Rosa Mamani Condori", "Valeria Ibarrola"}));
}

TEST_F(DemoCredits, TheAboutPageNamesEditionPeopleAndEveryLicence) {
    const TAboutWords words{"Version", "Recordings by", "Photographs by", "This program uses",
                            "Licence"};
    const QString html = GLB_about_html(GLB_edition(), &GLB_data(), words);
    EXPECT_TRUE(html.contains(GLB_edition().title.toHtmlEscaped()));
    EXPECT_TRUE(html.contains("Version " + GLB_edition().version));
    EXPECT_TRUE(html.contains("Recordings by"));
    EXPECT_TRUE(html.contains("Greta Sollmann"));
    EXPECT_TRUE(html.contains("Valeria Ibarrola"));
    for (const char* component : {"Qt", "FFmpeg", "SDL", "libcdio", "libjpeg-turbo", "DCW", "GSHHG"})
        EXPECT_TRUE(html.contains(QString::fromLatin1(component))) << component;
    EXPECT_TRUE(html.contains("LGPL version 3 or later"));
}

TEST(AboutPage, TextsFromTheDataAreEscapedAndMissingDataIsNoFault) {
    TEdition edition;
    edition.title = QStringLiteral("Birds <script>alert(1)</script> & more");
    edition.version = QStringLiteral("2.0");
    const QString html = GLB_about_html(edition, nullptr, {});
    EXPECT_FALSE(html.contains("<script>"));
    EXPECT_TRUE(html.contains("&lt;script&gt;"));
    EXPECT_FALSE(html.contains("Recordings"));
}
