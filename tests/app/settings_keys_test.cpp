// Every section and key of the settings file is spelled out once, in the
// src/app/settings_*.h headers: a key typed again elsewhere can drift by one
// letter and silently start a second setting.

#include "app/settings_audio_cds.h"
#include "app/settings_between_sounds.h"
#include "app/settings_general.h"
#include "app/settings_playlists.h"
#include "app/settings_show.h"
#include "app/settings_window.h"

#include <gtest/gtest.h>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QStringList>

namespace {

struct TSourceFile {
    QString path;  // relative to src/
    QString text;
};

std::vector<TSourceFile> sources() {
    const QString root = QStringLiteral(KORVELAN_SOURCE_DIR "/src/");
    std::vector<TSourceFile> files;
    QDirIterator it(root, {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        if (!file.open(QIODevice::ReadOnly)) continue;
        files.push_back({file.fileName().mid(root.size()), QString::fromUtf8(file.readAll())});
    }
    return files;
}

bool isSettingsHeader(const QString& path) {
    return path.startsWith(QStringLiteral("app/settings_")) && path.endsWith(QStringLiteral(".h"));
}

// The arguments of the call whose "(" is at open, split at the commas of its
// own level.
QStringList callArguments(const QString& text, qsizetype open) {
    QStringList arguments(QString{});
    int depth = 0;
    bool inString = false;
    for (qsizetype i = open + 1; i < text.size(); ++i) {
        const QChar c = text[i];
        // A string's or a character's brackets and commas do not count.
        if (inString) {
            if (c == u'\\') {
                arguments.last() += text.mid(i, 2);
                ++i;
                continue;
            }
            if (c == u'"') inString = false;
        } else if (c == u'\'') {
            const qsizetype close = text.indexOf(u'\'', i + (text.mid(i + 1, 1) == u"\\" ? 3 : 2));
            if (close < 0) break;
            arguments.last() += text.mid(i, close - i + 1);
            i = close;
            continue;
        } else if (c == u'"') {
            inString = true;
        } else if (c == u'(' || c == u'{' || c == u'[') {
            ++depth;
        } else if (c == u')' || c == u'}' || c == u']') {
            if (depth-- == 0) break;
        } else if (c == u',' && depth == 0) {
            arguments.append(QString{});
            continue;
        }
        arguments.last() += c;
    }
    return arguments;
}

int lineOf(const QString& text, qsizetype at) {
    return static_cast<int>(text.left(at).count(u'\n')) + 1;
}

// Each section with its keys.
std::vector<std::pair<QString, QStringList>> sectionKeys() {
    using namespace settings;
    const QStringList betweenSounds = {
        between_sounds::kSecondsBetweenSounds, between_sounds::kTellSpeciesNames,
        between_sounds::kTellNamesAfterwards, between_sounds::kSecondsAfterSpokenNames};
    return {
        {general::kSection,
         {general::kTextFile, general::kJustInstalled, general::kBaseDirectory,
          general::kStoreSettingsBetweenSessions, general::kBeeps, general::kTextSize,
          general::kWindows, general::kLastOptionsTab, general::kAudioCdDrive, general::kVolume,
          general::kShowVolumeControl, general::kVolumeControlCoordinates,
          general::kSoundEditingProgram, general::kMaximizeSoundEditingProgram,
          general::kUseIntegratedWebBrowser, general::kUseOnlyOneWebBrowserWindow,
          general::kPublisherWebAddress, general::kPicturesBackgroundColor,
          general::kNextMonthForColorsWarning}},
        {window::section(1),
         {window::kCoord, window::kMaximized, window::kVisible, window::kScientific,
          window::kOtherLanguage, window::kMain, window::kSystematicOrder, window::kShowDepartment,
          window::kShowCountry, window::kShowThreatened, window::kVisibleAudioCds,
          window::kPlayableAudioCds, window::kAudioCdsOnHd, window::kShowNativeRecordings,
          window::kOnlyWithSoundsOrPhotos, window::kOnlyWithSounds, window::kOnlyWithPhotos,
          window::kSelectedArea}},
        {audio_cds::kSection,
         {audio_cds::part_of_short_name(1), audio_cds::directory_on_hard_disk(1),
          audio_cds::part_of_short_name(2), audio_cds::directory_on_hard_disk(2)}},
        {playlists::kSection,
         QStringList{playlists::kCurrent, playlists::kCoord, playlists::kOpenAtStartup} +
             betweenSounds},
        {show::kSection, QStringList{show::kShowType, show::kSlideShowSpeed} + betweenSounds},
    };
}

}  // namespace

TEST(SettingsKeys, NoSourcePassesALiteralSectionOrKeyToTheSettingsStore) {
    // The settings functions take (section, key, ...); the store itself takes
    // (file, section, key, ...).
    const QRegularExpression settingsCall(
        QStringLiteral(R"(\bGLB_(?:read|write)_(?:string|int|flag|set)\s*\()"));
    const QRegularExpression storeCall(
        QStringLiteral(R"(\bIniStore::(?:read|readInt|write)\s*\()"));
    QStringList offenders;
    int calls = 0;
    for (const TSourceFile& file : sources()) {
        if (file.path.startsWith(QStringLiteral("platform/ini_store"))) continue;
        for (const auto& [pattern, first] :
             {std::pair{&settingsCall, 0}, std::pair{&storeCall, 1}}) {
            auto matches = pattern->globalMatch(file.text);
            while (matches.hasNext()) {
                const auto match = matches.next();
                const QStringList arguments = callArguments(file.text, match.capturedEnd() - 1);
                ++calls;
                for (int a = first; a < first + 2 && a < arguments.size(); ++a) {
                    if (arguments[a].contains(u'"'))
                        offenders << file.path + u':' +
                                         QString::number(lineOf(file.text, match.capturedStart())) +
                                         QStringLiteral(": ") + arguments[a].simplified();
                }
            }
        }
    }
    EXPECT_GT(calls, 90) << "the scan no longer finds the settings calls";
    EXPECT_TRUE(offenders.isEmpty()) << offenders.join(u'\n').toStdString();
}

TEST(SettingsKeys, EveryKeyTextIsWrittenOnlyInItsSectionHeader) {
    using namespace settings;
    QStringList texts = {show::kSlidesAndSounds, show::kSlidesOnly, show::kSoundsOnly};
    for (const auto& [section, keys] : sectionKeys()) {
        // Not "GENERAL": a playlist file has a section of that name too.
        if (section != general::kSection) texts << section;
        texts << keys;
    }
    QStringList offenders;
    for (const TSourceFile& file : sources()) {
        if (isSettingsHeader(file.path)) continue;
        for (const QString& text : texts) {
            const QString literal =
                QStringLiteral("QStringLiteral(\"") + text + QStringLiteral("\")");
            for (qsizetype at = file.text.indexOf(literal); at >= 0;
                 at = file.text.indexOf(literal, at + 1))
                offenders << file.path + u':' + QString::number(lineOf(file.text, at)) +
                                 QStringLiteral(": ") + text;
        }
    }
    EXPECT_TRUE(offenders.isEmpty()) << offenders.join(u'\n').toStdString();
}

TEST(SettingsKeys, TheKeysOfASectionAreDistinctAsTheStoreComparesThem) {
    // The store compares names without regard to case, so two keys that
    // differ only in case would be one setting.
    const auto sections = sectionKeys();
    QSet<QString> sectionNames;
    for (const auto& [section, keys] : sections) {
        EXPECT_FALSE(sectionNames.contains(section.toLower())) << section.toStdString();
        sectionNames.insert(section.toLower());
        QSet<QString> seen;
        for (const QString& key : keys) {
            EXPECT_EQ(key, key.trimmed()) << "the store trims names: " << key.toStdString();
            EXPECT_FALSE(seen.contains(key.toLower()))
                << section.toStdString() << ": " << key.toStdString();
            seen.insert(key.toLower());
        }
    }
}
