// The menus of every shipped texts file, as the program shows them.
#include "support/running_program.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QMenuBar>

#include <map>

namespace {

// The access key of a caption ("&&" is a plain "&"), and how many it marks.
struct AccessKeys {
    int count = 0;
    QChar key;
};
AccessKeys accessKeysOf(const QString& caption) {
    AccessKeys keys;
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != u'&') continue;
        if (caption[i + 1] == u'&') {
            ++i;
            continue;
        }
        if (keys.count++ == 0) keys.key = caption[i + 1].toLower();
    }
    return keys;
}

// Each caption marks at most one key, and no two entries a user sees side by
// side share one.
void checkEntries(const QList<QAction*>& actions, const QString& where) {
    std::map<QChar, QString> taken;
    for (const QAction* action : actions) {
        if (action->isSeparator() || !action->isVisible()) continue;
        const QString caption = action->text().section(u'\t', 0, 0);
        const AccessKeys keys = accessKeysOf(caption);
        EXPECT_LE(keys.count, 1) << where.toStdString() << ": \"" << caption.toStdString() << '"';
        if (keys.count == 0) continue;
        const auto [it, fresh] = taken.emplace(keys.key, caption);
        EXPECT_TRUE(fresh) << where.toStdString() << ": \"" << caption.toStdString()
                           << "\" and \"" << it->second.toStdString() << "\" share their key";
    }
}

}  // namespace

TEST(MenuCaptions, EveryShippedTextsFileGivesMenusWithOneUniqueAccessKeyPerEntry) {
    const QDir editions(testing_support::sourceTree() + QStringLiteral("/editions"));
    int textsFiles = 0;
    for (const QString& folder : editions.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (QDir(editions.filePath(folder)).entryList({"Korvelan*.txt"}, QDir::Files).isEmpty())
            continue;
        ++textsFiles;
        SCOPED_TRACE(folder.toStdString());
        testing_support::RunningDemoProgram program(folder);
        int menuBars = 0;
        for (QWidget* window : QApplication::topLevelWidgets()) {
            for (QMenuBar* bar : window->findChildren<QMenuBar*>()) {
                ++menuBars;
                const QString where = window->metaObject()->className();
                checkEntries(bar->actions(), where + QStringLiteral(" menu bar"));
                for (QAction* title : bar->actions())
                    if (QMenu* menu = title->menu())
                        checkEntries(menu->actions(), where + u' ' + title->text());
            }
        }
        EXPECT_GE(menuBars, 1);
    }
    EXPECT_GE(textsFiles, 2);
}
