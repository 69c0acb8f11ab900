#include "playlists/windows/big_picture_demo_form.h"

#include "data/media_records.h"
#include "data/visibility_filter.h"
#include "listview/windows/sound_bar.h"
#include "playlists/windows/sound_bar_show_recording.h"

#include <QCloseEvent>

TBigPictureDemoForm::TBigPictureDemoForm(const TSlideShow::TSetup& setup,
                                         const TClassVisibleSpeciesAndRecordings& visibleSet,
                                         TRecordingsAndOrPicturesList* recent,
                                         TTaxonText taxonText, QWidget* owner,
                                         TListActions* actions)
    : TBigPictureForm(owner, actions), visible_set_(visibleSet), taxon_text_(std::move(taxonText)) {
    // Owned by its list window, so that it goes with it.
    setParent(owner, Qt::Window);
    setAttribute(Qt::WA_DeleteOnClose);
    show_ = std::make_unique<TSlideShow>(setup, visibleSet,
                                         TSlideShow::TParts{*this, names_, recent},
                                         GLB_show_random());
    Timer_demo.setSingleShot(true);
    connect(&Timer_demo, &QTimer::timeout, this, &TBigPictureDemoForm::tick);
}

TBigPictureDemoForm::~TBigPictureDemoForm() {
    Timer_demo.stop();
    recording_.reset();
}

bool TBigPictureDemoForm::start() {
    const auto first = show_->start();
    if (!first) return false;
    TBigPictureForm::show_picture();
    Timer_demo.start(*first);
    return true;
}

void TBigPictureDemoForm::tick() {
    const TShowStep step = show_->step();
    if (step.then == TShowStep::Then::Continue) Timer_demo.start(step.interval_ms);
}

bool TBigPictureDemoForm::show_picture(const Tspecies& species, int pictureNumber) {
    const TPictureTaxon taxon{&species, nullptr};
    const Tbig_picture* picture = taxon.first();
    for (int n = 1; picture && n < pictureNumber; ++n) picture = taxon.neighbour(*picture, true);
    if (!picture) return false;
    if (prepared_) return change_to(taxon, *picture);
    TPictureCaptionCallback caption;
    if (taxon_text_)
        caption = [text = taxon_text_](const Tbig_picture& shown, QString&, quintptr) {
            return shown.species ? text(*shown.species) : QString();
        };
    prepared_ = prepare(taxon, picture, std::move(caption));
    return prepared_;
}

TShowRecording* TBigPictureDemoForm::make_recording_button(const Tcupaitem& item, int number) {
    free_recording_button();
    if (!item.cut_part) return nullptr;
    // The button stays at its end when played through, which the show
    // waits for.
    recording_ = std::make_unique<TOwnSoundBarShowRecording>(*this, item, number,
                                                             visible_set_.carriers, false);
    place_recording_button();
    recording_->bar()->raise();
    recording_->bar()->show();
    return recording_.get();
}

void TBigPictureDemoForm::free_recording_button() {
    recording_.reset();
}

Tsound_bar* TBigPictureDemoForm::recording_button() const {
    return recording_ ? recording_->bar() : nullptr;
}

QPoint TBigPictureDemoForm::recording_button_place(QSize window, QSize button) {
    // Centred, one and a half button heights above the bottom edge.
    return {(window.width() - button.width()) / 2,
            window.height() - button.height() - button.height() * 3 / 2};
}

void TBigPictureDemoForm::place_recording_button() {
    Tsound_bar* bar = recording_button();
    if (!bar) return;
    bar->move(recording_button_place(size(), bar->size()));
}

void TBigPictureDemoForm::resizeEvent(QResizeEvent* event) {
    TBigPictureForm::resizeEvent(event);
    place_recording_button();
}

void TBigPictureDemoForm::closeEvent(QCloseEvent* event) {
    Timer_demo.stop();
    free_recording_button();
    TBigPictureForm::closeEvent(event);
}
