#include "listview/child_form.h"

#include "app/editions.h"
#include "formats/textfile.h"
#include "platform/dialog_service.h"

#include <QAction>
#include <QLabel>
#include <QMenuBar>
#include <QResizeEvent>
#include <QStatusBar>

namespace {

// Lines of the texts-file section "MENUS", in menu order.
enum MenuLine {
    kFile = 1,
    kNewWindow,
    kFoldAll,
    kShow,
    kWhatWasThat,
    kPlayLists,
    kMakeMp3s,
    kExit,
    kCloseWord,
    kSearch,
    kFind,
    kFindAgain,
    kView,
    kSiteDescriptions,
    kOptionsMenu,
    kOptions,
    kCopyToHd,
    kHelpMenu,
    kHelp,
    kReadme,
    kRecentInfoOnTheWeb,
    kAbout,
    kMenuLineCount = kAbout
};

QString menuText(int line) {
    return GLB_text(QStringLiteral("MENUS"), line);
}

}  // namespace

TChildForm::TChildForm(bool secondary, QWidget* parent)
    : QMainWindow(parent), secondary_(secondary) {
    resize(684, 512);
    create_menus();

    caption_panel_ = new QLabel(this);
    cd_status_panel_ = new QLabel(this);
    statusBar()->addWidget(caption_panel_);
    statusBar()->addWidget(cd_status_panel_);
    statusBar()->setSizeGripEnabled(true);
    layout_status_panels();

    const TEdition& edition = GLB_edition();
    QString caption = edition.title;
    if (edition.version != "1.0") caption += u' ' + edition.version;
    caption.replace(QStringLiteral(" & "), QStringLiteral(" and "));
    setWindowTitle(caption);
}

void TChildForm::create_menus() {
    actions_.resize(kMenuLineCount);
    auto addAction = [this](QMenu* menu, int line, const QString& suffix = {}) {
        QAction* action = menu->addAction(menuText(line) + suffix);
        // Commands whose windows are not part of this program yet stay off.
        action->setEnabled(false);
        actions_[line - 1] = action;
        return action;
    };
    const QString dialogDots = QStringLiteral("...");

    QMenu* file = menuBar()->addMenu(menuText(kFile));
    addAction(file, kNewWindow);
    addAction(file, kFoldAll);
    addAction(file, kShow, dialogDots);
    addAction(file, kWhatWasThat, dialogDots);
    addAction(file, kPlayLists);
    addAction(file, kMakeMp3s, dialogDots);
    file->addSeparator();
    QAction* exit = addAction(file, secondary_ ? kCloseWord : kExit);
    exit->setEnabled(true);
    connect(exit, &QAction::triggered, this, &QWidget::close);
    if (secondary_) actions_[kPlayLists - 1]->setVisible(false);

    QMenu* search = menuBar()->addMenu(menuText(kSearch));
    addAction(search, kFind, dialogDots + u'\t' + QStringLiteral("Ctrl+F"));
    addAction(search, kFindAgain, u'\t' + QStringLiteral("F3"));

    QMenu* view = menuBar()->addMenu(menuText(kView));
    addAction(view, kSiteDescriptions, dialogDots);

    QMenu* options = menuBar()->addMenu(menuText(kOptionsMenu));
    addAction(options, kOptions, dialogDots);
    addAction(options, kCopyToHd, dialogDots);
    if (secondary_ || GLB_edition().edition_code == 109) actions_[kCopyToHd - 1]->setVisible(false);

    QMenu* help = menuBar()->addMenu(menuText(kHelpMenu));
    addAction(help, kHelp);
    addAction(help, kReadme);
    addAction(help, kRecentInfoOnTheWeb);
    help->addSeparator();
    QAction* about = addAction(help, kAbout, dialogDots);
    about->setEnabled(true);
    connect(about, &QAction::triggered, this, [] {
        const TEdition& e = GLB_edition();
        platform::DialogService::message(
            e.title + u'\n' + QStringLiteral("Version ") + e.version + "\n\n" + e.credits, e.title,
            platform::box::IconInformation);
    });
}

QAction* TChildForm::menu_action(int menuLine) const {
    if (menuLine < 1 || menuLine > actions_.size()) return nullptr;
    return actions_[menuLine - 1];
}

void TChildForm::set_caption_panel_text(const QString& text) {
    caption_panel_->setText(u' ' + text);
}

void TChildForm::set_cd_status_text(const QString& text) {
    cd_status_panel_->setText(text);
}

void TChildForm::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    layout_status_panels();
}

void TChildForm::layout_status_panels() {
    const int clientWidth = width();
    caption_panel_->setFixedWidth(std::max(clientWidth - 300, clientWidth / 2));
    cd_status_panel_->setMinimumWidth(50);
}
