#include "utilities/windows/options_form.h"

#include "app/editions.h"
#include "app/globals.h"
#include "app/settings.h"
#include "app/settings_general.h"
#include "data/species_database.h"
#include "listview/windows/child_form.h"
#include "listview/windows/window_placement.h"
#include "listview/windows/show_form.h"
#include "listview/windows/show_strings.h"
#include "listview/show_strings_model.h"
#include "listview/top_forms.h"
#include "platform/audio/media_control.h"
#include "utilities/windows/audio_cds_settings_frame.h"
#include "utilities/windows/list_settings_frame.h"
#include "utilities/windows/name_settings_frame.h"
#include "utilities/windows/select_area_for_options_frame.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

using settings::general::kLastOptionsTab;

struct TDialogWords {
    QString caption;
    QString ok;
    QString cancel;
};

TDialogWords dialogWords(TLanguage language) {
    switch (language) {
        case TLanguage::Spanish:
            return {QStringLiteral("Opciones"), QStringLiteral("Aceptar"), QStringLiteral("Cancelar")};
        case TLanguage::Dutch:
            return {QStringLiteral("Options"), QStringLiteral("OK"), QStringLiteral("Annuleren")};
        case TLanguage::Portuguese:
            return {QStringLiteral("Options"), QStringLiteral("OK"), QStringLiteral("Cancelar")};
        case TLanguage::English:
            break;
    }
    return {QStringLiteral("Options"), QStringLiteral("OK"), QStringLiteral("Cancel")};
}

const SHST_TClassShowStringsData& listSettings(const TChildForm& window) {
    return window.list_form()->strings().model().settings();
}

// A page that scrolls when the dialog is smaller than it: at a double scale
// or with a large font the pages are taller and wider than the screen. It
// asks for its page's whole size, so that where there is room the dialog
// looks as it would without it, and it shows the tab's own background.
class TScrolledPage : public QScrollArea {
  public:
    explicit TScrolledPage(QWidget* page) {
        setFrameShape(QFrame::NoFrame);
        setWidgetResizable(true);
        setWidget(page);
        page->setAutoFillBackground(false);
        viewport()->setAutoFillBackground(false);
        setAutoFillBackground(false);
    }
    QSize sizeHint() const override {
        const int frame = 2 * frameWidth();
        return widget()->sizeHint() + QSize(frame, frame);
    }
};

}  // namespace

TOptionsForm::TOptionsForm(TChildForm& window, int driveCount, QWidget* parent)
    : QDialog(parent ? parent : &window), window_(window), context_(listSettings(window)) {
    const TDialogWords words = dialogWords(GLB_edition().language);
    setWindowTitle(words.caption);
    const Tdata& data = context_.settings.data();

    PageControl = new QTabWidget(this);
    settings_frame = new TFrameSettings(data);
    TabSheet_settings = new TScrolledPage(settings_frame);
    PageControl->addTab(TabSheet_settings, settings_frame->caption());
    const TOptionsPages pages =
        GLB_options_pages(GLB_edition().rules.options_area_page,
                          context_.settings.visible_set.selected_area() != nullptr,
                          data.audio_cd_count());
    if (pages.area) {
        area_frame = new TFrameSelectAreaForOptions;
        TabSheet_select_area = new TScrolledPage(area_frame);
        PageControl->addTab(TabSheet_select_area, area_frame->caption());
    }
    if (pages.audio_cds) {
        audio_cds_frame = new TFrameAudioCDsSettings(data, driveCount);
        TabSheet_audio_CDs = new TScrolledPage(audio_cds_frame);
        PageControl->addTab(TabSheet_audio_CDs, audio_cds_frame->caption());
    }

    auto* buttons = new QDialogButtonBox(this);
    OKBtn = buttons->addButton(words.ok, QDialogButtonBox::AcceptRole);
    CancelBtn = buttons->addButton(words.cancel, QDialogButtonBox::RejectRole);
    OKBtn->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &TOptionsForm::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TOptionsForm::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PageControl, 1);
    layout->addWidget(buttons);

    // The names show in the list while the user picks them.
    settings_frame->names->set_preview([this](const TNameChoice& choice) {
        if (!window_.list_form()->has_strings()) return;
        SHST_TClassShowStringsData preview = listSettings(window_);
        preview.show_scientific = choice.scientific();
        preview.show_other_language = choice.other_language();
        preview.main_name = static_cast<std::uint8_t>(choice.main_name());
        window_.list_form()->change_names(preview);
    });
    settings_frame->fill(context_);
    if (audio_cds_frame) audio_cds_frame->fill(context_);
    if (area_frame) area_frame->fill(context_);

    PageControl->setCurrentIndex(options_values::tab_page(
        GLB_read_int(GLB().default_section, kLastOptionsTab, 0), PageControl->count()));
    // Its whole size where the screen has room (adjustSize would cut it to
    // two thirds of the screen now that the pages can scroll); OK and Cancel
    // stay on the screen, the page scrolls instead.
    resize(GLB_size_within_screen(this, sizeHint()));
}

TOptionsForm::~TOptionsForm() {
    GLB_write_int(GLB().default_section, kLastOptionsTab, PageControl->currentIndex());
}

void TOptionsForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    GLB_move_onto_screen(this);
}

void TOptionsForm::accept() {
    if (audio_cds_frame && !audio_cds_frame->valid()) {
        PageControl->setCurrentWidget(TabSheet_audio_CDs);
        return;
    }
    if (area_frame && !area_frame->valid()) {
        PageControl->setCurrentWidget(TabSheet_select_area);
        return;
    }
    const bool scientific = context_.settings.show_scientific;
    const bool otherLanguage = context_.settings.show_other_language;
    const int mainName = context_.settings.main_name;
    settings_frame->store(context_);
    // The preview changed only the name lines; the other names, subspecies
    // headings and the other species of a recording follow the names too.
    if (context_.settings.show_scientific != scientific ||
        context_.settings.show_other_language != otherLanguage ||
        context_.settings.main_name != mainName)
        context_.flags.refresh = true;
    if (audio_cds_frame) audio_cds_frame->store(context_);
    if (area_frame) area_frame->store(context_);
    apply_to_lists();
    QDialog::accept();
}

void TOptionsForm::reject() {
    settings_frame->restore();
    QDialog::reject();
}

void TOptionsForm::apply_to_lists() {
    if (context_.flags.rebuild) {
        window_.rebuild_list(context_.settings);
    } else if (context_.flags.refresh && window_.list_form()->has_strings()) {
        // The same rows in other words or with other players: every line is
        // made again, with everything the user had opened still open.
        TShowForm& form = *window_.list_form();
        const int top = form.strings().model().refresh_lines(context_.settings, form.scroll_position());
        form.list_changed();
        form.scroll_to(top);
    }
    if (!context_.text_size_changed) return;
    // Every other list draws in the new size as well.
    Ttop_forms& windows = Ttop_forms::instance();
    for (int i = 0; i < windows.count(); ++i) {
        auto* other = dynamic_cast<TChildForm*>(windows.at(i));
        if (!other || other == &window_ || !other->list_form()->has_strings()) continue;
        const SHST_TClassShowStringsData settings = listSettings(*other);
        other->rebuild_list(settings);
    }
}

bool GLB_show_options_dialog(TChildForm& window) {
    if (!window.list_form()->has_strings()) return false;
    TOptionsForm dialog(window, platform::audio::mediaControl().cdAudioDevices());
    return dialog.exec() == QDialog::Accepted;
}
