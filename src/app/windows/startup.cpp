#include "app/windows/startup.h"

#include "app/base_directory.h"
#include "app/editions.h"
#include "app/globals.h"
#include "app/messages.h"
#include "app/settings.h"
#include "app/settings_general.h"
#include "formats/textfile.h"
#include "platform/dialog_service.h"
#include "platform/single_instance.h"

#include <QApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QPointer>
#include <QWidget>

#include <future>
#include <latch>
#include <mutex>

namespace {

// Reached once, by whichever comes first: the loader's word, or the end of
// the load however it ended.
class TMilestone {
  public:
    void reach() {
        std::call_once(once_, [this] { latch_.count_down(); });
    }
    void wait() { latch_.wait(); }

  private:
    std::once_flag once_;
    std::latch latch_{1};
};

}  // namespace

TStartup::TStartup(Seams seams) : seams_(std::move(seams)) {}

TStartup::~TStartup() {
    shut_down();
}

void TStartup::initialise(const QString& startupDirectory, const QString& programDirectory) {
    initialised_ = true;
    GLB_initialise_process_values(startupDirectory, programDirectory);

    // The texts file; its absence ends the program.
    TGlobalValues& g = GLB();
    const QString textsName =
        GLB_read_string(g.default_section, settings::general::kTextFile, g.texts_file_name);
    GLB_fatal_on_load_error([&] { GLB_load_texts(textsName); });
    g.message_box_caption = GLB_text(QStringLiteral("MESSAGES_CAPTION"));
    g.out_of_memory_text = GLB_text(QStringLiteral("OUT_OF_MEMORY"));

    GLB_read_editions_file();

    load_species_database();
    GLB_read_base_directory();
}

void TStartup::load_species_database() {
    // Restored however loading ends (a fatal stop in tests unwinds).
    struct Hourglass {
        bool gui = qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
        Hourglass() {
            if (gui) QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        }
        ~Hourglass() {
            if (gui) QGuiApplication::restoreOverrideCursor();
        }
    } hourglass;
    if (!seams_.load_species_database) {
        if (seams_.prepare_windows) seams_.prepare_windows();
        return;
    }
    if (!seams_.prepare_windows) {
        GLB_fatal_on_load_error([this] { seams_.load_species_database([] {}); });
        return;
    }
    // The two halves of the start that do not depend on each other run side
    // by side: reading the data files, and making what the windows need.
    // The loader touches only its own records, the read-only texts, edition
    // and settings files, so it can run on a worker; anything it would show
    // waits until the windows' thread is back. The windows' part waits until
    // the loader's own threads have met: on two cores, beside both of them,
    // it would only slow the load it must wait for anyway.
    TMilestone threadsMet;
    std::future<void> loading =
        std::async(std::launch::async, [load = seams_.load_species_database, &threadsMet] {
            struct Reached {
                TMilestone& milestone;
                ~Reached() { milestone.reach(); }
            } reached{threadsMet};
            load([&threadsMet] { threadsMet.reach(); });
        });
    // Whatever the preparation does, the worker is waited for before the
    // database could be used or freed.
    struct Join {
        std::future<void>& loading;
        ~Join() {
            if (loading.valid()) loading.wait();
        }
    } join{loading};
    threadsMet.wait();
    seams_.prepare_windows();
    set_program_icon();
    loading.wait();
    // What the loader had to say comes before the end it may have met.
    platform::DialogService::showQueuedMessages();
    GLB_fatal_on_load_error([&] { loading.get(); });
}

void TStartup::set_program_icon() {
    // Decoding the icon takes a moment: done while the database loads when
    // it can be.
    if (icon_set_) return;
    icon_set_ = true;
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/PROGRAM_ICON_2")));
}

QString TStartup::mutex_name() {
    const TEdition& e = GLB_edition();
    return QStringLiteral("Korvelan Mutex") + e.title + u' ' + e.version;
}

bool TStartup::claim_single_instance() {
    marker_ = std::make_unique<platform::SingleInstanceMarker>(mutex_name());
    if (!marker_->alreadyExisted()) return true;
    QStringList question;
    GLB_texts().lines(QStringLiteral("OTHER_INSTANCE"), question, 1);
    const int answer = platform::DialogService::message(
        question.join(u'\n'), GLB().message_box_caption, platform::box::QuestionYesNo);
    return answer != platform::answer::No;
}

QWidget* TStartup::open_main_window() {
    GLB().help_file = QStringLiteral("Korvelan.hlp");
    if (!claim_single_instance()) return nullptr;
    set_program_icon();
    QWidget* mainWindow = seams_.create_windows ? seams_.create_windows() : nullptr;
    if (mainWindow) mainWindow->show();
    return mainWindow;
}

int TStartup::run_main_program() {
    QPointer<QWidget> mainWindow = open_main_window();
    // The main window's close writes the windows' state; it goes
    // before the finalisations.
    const int code = mainWindow ? QApplication::exec() : 0;
    delete mainWindow.data();
    shut_down();
    return code;
}

void TStartup::shut_down() {
    if (shut_down_ || !initialised_) return;
    shut_down_ = true;
    TGlobalValues& g = GLB();
    GLB_write_flag(g.default_section, settings::general::kJustInstalled, false);
    GLB_write_string(g.default_section, settings::general::kBaseDirectory, g.base_directory);
    if (seams_.free_species_database) seams_.free_species_database();
    GLB_free_texts();
    GLB_forget_edition();
}
