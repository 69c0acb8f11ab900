// Sizes, texts and placement of the small information windows.
#include "data/markup.h"
#include "data/media_records.h"
#include "data/people_places.h"
#include "info_windows/info_layout.h"

#include <gtest/gtest.h>

namespace {

constexpr int kCharWidth = 7;
constexpr int kBoldCharWidth = 8;
constexpr int kLineHeight = 17;

int plainLength(const QString& text) {
    int n = 0;
    for (QChar c : text) n += c.unicode() >= 32;
    return n;
}

// Every character 7 pixels wide (8 in bold); breaks at blanks like the
// list's wrapper, which wants more than 4 pixels to spare.
TTextMeasurer fixedWidthMeasurer() {
    TTextMeasurer m;
    m.width = [](const QString& t) { return plainLength(t) * kCharWidth; };
    m.bold_width = [](const QString& t) { return plainLength(t) * kBoldCharWidth; };
    m.wrap = [](int available, QString& text) {
        int lines = 1;
        qsizetype lineStart = 0;
        qsizetype lastBlank = -1;
        for (qsizetype i = 0; i <= text.size(); ++i) {
            if (i < text.size() && text[i] != u' ' && text[i] != u'\n') continue;
            const bool fits = available - plainLength(text.mid(lineStart, i - lineStart)) * kCharWidth > 4;
            if (!fits && lastBlank > lineStart) {
                text[lastBlank] = u'\n';
                ++lines;
                lineStart = lastBlank + 1;
            }
            if (i < text.size() && text[i] == u'\n') {
                ++lines;
                lineStart = i + 1;
            }
            lastBlank = i;
        }
        return lines;
    };
    return m;
}

const QStringList kLabels{"About:", "E-mail:", "Web site:"};

Tperson person(const QString& t1, const QString& t2, const QString& t3) {
    Tperson p;
    p.name = QStringLiteral("Rosa Mamani");
    p.text_1 = t1;
    p.text_2 = t2;
    p.text_3 = t3;
    return p;
}

}  // namespace

TEST(PersonWindow, ShortTextsShrinkTheWindowToItsLongestLine) {
    const TPersonLayout l = GLB_person_layout(person("Recordist", "rosa@example.org", ""), false,
                                              kLabels, fixedWidthMeasurer(), kLineHeight);
    // "E-mail: rosa@example.org" is the longest line: 24 characters + 20.
    EXPECT_EQ(l.width, 24 * kCharWidth + 20);
    ASSERT_EQ(l.blocks.size(), 2u);
    EXPECT_EQ(l.blocks[1].first_line, 2);
    EXPECT_EQ(l.height, 60);  // (2 lines + 1.5) x 17 = 59.5, rounded
    EXPECT_EQ(l.link_top, -1);
}

TEST(PersonWindow, AFiftyCharacterTextGivesTheWideWindow) {
    const QString fifty = QString(49, u'a') + u'b';
    const TPersonLayout wide = GLB_person_layout(person(fifty, "", ""), false, kLabels,
                                                 fixedWidthMeasurer(), kLineHeight);
    EXPECT_EQ(wide.width, kWidePersonWidth);
    const QString fortyNine = QStringLiteral("Sound recordist, Santa Cruz de la Sierra, Bolivia");
    ASSERT_EQ(fortyNine.size(), 49);
    const TPersonLayout narrow = GLB_person_layout(person(fortyNine, "", ""), false, kLabels,
                                                   fixedWidthMeasurer(), kLineHeight);
    EXPECT_LE(narrow.width, kPersonWidth);
}

TEST(PersonWindow, AWrappedTextKeepsTheFullWidthAndAddsLines) {
    const QString words = QStringLiteral("Sound recordist of the humid forests and the high Andes, "
                                         "La Paz and Cochabamba, Bolivia");
    const TPersonLayout l = GLB_person_layout(person(words, "x@example.org", ""), false, kLabels,
                                              fixedWidthMeasurer(), kLineHeight);
    EXPECT_EQ(l.width, kWidePersonWidth);
    ASSERT_GE(l.blocks[0].line_count, 2);
    EXPECT_EQ(l.blocks[1].first_line, 1 + l.blocks[0].line_count);
    const int lines = l.blocks[0].line_count + 1;
    EXPECT_EQ(l.height, static_cast<int>(std::lround((lines + 1.5) * kLineHeight)));
}

TEST(PersonWindow, TheWebAddressIsTheLinkOfTheBottomLines) {
    const TPersonLayout l =
        GLB_person_layout(person("Guide", "", "https://www.example.org/people/tupa"), true,
                          kLabels, fixedWidthMeasurer(), kLineHeight);
    EXPECT_TRUE(l.name_line.startsWith(QStringLiteral("\u00A9 ")));
    ASSERT_EQ(l.blocks.size(), 2u);
    EXPECT_TRUE(l.blocks[1].link);
    EXPECT_FALSE(l.blocks[0].link);
    EXPECT_EQ(l.link_address, QStringLiteral("https://www.example.org/people/tupa"));
    EXPECT_GT(l.link_top, kLineHeight * 2);
    EXPECT_LT(l.link_top, l.height);
}

TEST(PersonWindow, VeryLongTextsStayInsideTheWideWindow) {
    QString text;
    for (int i = 0; i < 400; ++i) text += QStringLiteral("word ");
    const TPersonLayout l = GLB_person_layout(person(text, text, text), false, kLabels,
                                              fixedWidthMeasurer(), kLineHeight);
    EXPECT_EQ(l.width, kWidePersonWidth);
    for (const TPersonBlock& b : l.blocks)
        for (const QString& line : b.text.split(u'\n'))
            EXPECT_LE(b.label_width + plainLength(line) * kCharWidth, kWidePersonWidth - 10);
}

TEST(LiteratureWindow, OneLinePerEntryAndAWidthFromTheWidest) {
    const TTextWindowLayout l = GLB_literature_layout(
        QStringLiteral("p. 12 in Birds of Peru\npl. 4 in A Guide to the Chaco"),
        fixedWidthMeasurer(), kLineHeight);
    EXPECT_EQ(l.lines, 2);
    EXPECT_EQ(l.size.height(), 3 * kLineHeight);
    EXPECT_EQ(l.size.width(), 29 * kCharWidth + 20);
    const TTextWindowLayout empty = GLB_literature_layout(QString(), fixedWidthMeasurer(), kLineHeight);
    EXPECT_EQ(empty.size.width(), 20);
}

TEST(ThreatenedStatusWindow, ExplainsEachStatusAndNamesItsSource) {
    const QStringList labels{"Vulnerable", "Endangered", "Critically endangered"};
    const QStringList section{"high risk", "very high risk", "extremely high risk",
                              "These categories follow", "published by"};
    const QString text = GLB_threatened_status_text(labels, section);
    const QString bold{QChar(markup::Bold)};
    EXPECT_TRUE(text.startsWith(bold + "Vulnerable" + bold + "\nhigh risk\n\n"));
    EXPECT_TRUE(text.contains(bold + "Critically endangered" + bold + "\nextremely high risk\n\n"));
    const TThreatSource& source = GLB_threat_source();
    const QString underline{QChar(markup::Underlined)};
    EXPECT_TRUE(text.endsWith("These categories follow " + bold + source.title + bold +
                              " published by " + underline + source.publisher + underline + "."));
    EXPECT_TRUE(source.address.startsWith(QStringLiteral("https://")));

    const TTextWindowLayout l =
        GLB_threatened_status_layout(labels, section, fixedWidthMeasurer(), kLineHeight);
    EXPECT_EQ(l.size.width(), kThreatenedStatusWidth);
    EXPECT_EQ(l.size.height(), (l.lines + 1) * kLineHeight);
    for (const QString& line : l.text.split(u'\n'))
        if (line.contains(u' ')) {
            EXPECT_LE(plainLength(line) * kCharWidth, kThreatenedStatusWidth - 20);
        }
}

TEST(AudioCDWindow, TheWebLineFollowsTheTitleOnlyWithAnAddress) {
    TaudioCD cd;
    cd.full_title = QStringLiteral("Voices of the Yungas");
    const QStringList section{"More on its", "web page", "(browser)."};
    EXPECT_EQ(GLB_audio_cd_text(cd, section), cd.full_title);
    cd.web_address = QStringLiteral("https://www.example.org/audio/yungas");
    const QString u{QChar(markup::Underlined)}, b{QChar(markup::Bold)};
    EXPECT_EQ(GLB_audio_cd_text(cd, section),
              cd.full_title + "\nMore on its " + u + b + "web page" + b + u + " (browser).");
    const TTextWindowLayout l = GLB_audio_cd_layout(cd, section, fixedWidthMeasurer(), kLineHeight);
    EXPECT_EQ(l.size, QSize(kAudioCDWidth, (l.lines + 1) * kLineHeight));
    EXPECT_EQ(l.lines, 2);
}

TEST(InformationWindowPlacement, StaysAtThePointWhenItFits) {
    EXPECT_EQ(GLB_place_information_window({40, 50}, {300, 100}, {800, 600}, false),
              QRect(40, 50, 300, 100));
}

TEST(InformationWindowPlacement, AClickAtTheBottomRightEndsFivePixelsInside) {
    const QRect r = GLB_place_information_window({795, 590}, {300, 100}, {800, 600}, false);
    EXPECT_EQ(r.right() + 1, 800 - 5);
    EXPECT_EQ(r.bottom() + 1, 600 - 5);
}

TEST(InformationWindowPlacement, TheLiteratureWindowKeepsFivePixelsFromLeftAndTop) {
    const QRect r = GLB_place_information_window({700, 500}, {900, 700}, {800, 600}, true);
    EXPECT_EQ(r.topLeft(), QPoint(5, 5));
    const QRect other = GLB_place_information_window({700, 500}, {900, 700}, {800, 600}, false);
    EXPECT_EQ(other.topLeft(), QPoint(0, 0));
}

TEST(PersonWindow, AnAddressTooLongForTheNarrowWindowTakesTheWideOne) {
    // 40 characters: short enough for the narrow window by length, but with
    // its label wider than the narrow window's line.
    const QString address = QStringLiteral("https://www.example.org/people/ferrandiz");
    const TPersonLayout l = GLB_person_layout(
        person("Sound recordist, Santa Cruz de la Sierra, Bolivia", "", address), false, kLabels,
        fixedWidthMeasurer(), kLineHeight);
    EXPECT_EQ(l.width, kWidePersonWidth);
    EXPECT_EQ(l.blocks[1].text, address);
    EXPECT_LE(l.blocks[1].label_width + plainLength(address) * kCharWidth, l.width - 10);
}
