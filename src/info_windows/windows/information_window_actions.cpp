#include "info_windows/windows/information_window_actions.h"

#include "info_windows/windows/about_audio_cd_form.h"
#include "info_windows/windows/literature_references_form.h"
#include "info_windows/windows/person_form.h"
#include "info_windows/windows/threatened_status_explication_form.h"

namespace {

// The list's window of the kind, made when missing.
template <class Form>
Form& window_of(QWidget& host) {
    if (auto* existing = host.findChild<Form*>(QString(), Qt::FindDirectChildrenOnly))
        return *existing;
    return *new Form(&host);
}

}  // namespace

void TInformationWindowActions::open_person(QWidget* host, const Tperson& person, QPoint at) {
    if (host) window_of<TPersonForm>(*host).show_person(person, at);
}

void TInformationWindowActions::open_literature(QWidget* host, const Tspecies& species,
                                                QPoint at) {
    if (host) window_of<TLiteratureReferencesForm>(*host).show_literature(species, at);
}

void TInformationWindowActions::open_threatened_status(QWidget* host, QPoint at,
                                                       const QStringList& labels) {
    if (host) window_of<TThreatenedStatusExplicationForm>(*host).show_statuses(labels, at);
}

void TInformationWindowActions::open_audio_cd(QWidget* host, const TaudioCD& cd, QPoint at) {
    if (host) window_of<TAboutAudioCDForm>(*host).show_audio_cd(cd, at);
}

void TInformationWindowActions::close_information_windows(QWidget* host) {
    if (!host) return;
    const auto forms =
        host->findChildren<TSmallInformationForm*>(QString(), Qt::FindDirectChildrenOnly);
    for (TSmallInformationForm* form : forms) form->hide();
}
