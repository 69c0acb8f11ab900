#include "playlists/big_picture_demo_form.h"

#include "data/records.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPushButton>

TBigPictureDemoForm::TBigPictureDemoForm(const TSlideShow::TSetup& setup,
                                         const TClassVisibleSpeciesAndRecordings& visibleSet,
                                         TRecordingsAndOrPicturesList* recent, bool showNames,
                                         QWidget* parent)
    : QWidget(parent, Qt::Window), show_names_(showNames) {
    setAttribute(Qt::WA_DeleteOnClose);
    show_ = std::make_unique<TSlideShow>(setup, visibleSet,
                                         TSlideShow::TParts{*this, names_, recent},
                                         GLB_show_random());
    Timer_demo.setSingleShot(true);
    connect(&Timer_demo, &QTimer::timeout, this, &TBigPictureDemoForm::tick);
    resize(720, 540);
}

bool TBigPictureDemoForm::start() {
    const auto first = show_->start();
    if (!first) return false;
    show();
    Timer_demo.start(*first);
    return true;
}

void TBigPictureDemoForm::tick() {
    const TShowStep step = show_->step();
    if (step.then == TShowStep::Then::Continue) Timer_demo.start(step.interval_ms);
}

bool TBigPictureDemoForm::show_picture(const Tspecies& species, int pictureNumber) {
    species_ = &species;
    picture_number_ = pictureNumber;
    setWindowTitle(show_names_ ? species.common_name : QString());
    update();
    return true;
}

TShowRecording* TBigPictureDemoForm::make_recording_button(const Tcupaitem& item, int number) {
    free_recording_button();
    const Tcutpart& cut = *item.cut_part;
    recording_ = std::make_unique<TSilentShowRecording>(
        std::clamp(cut.is_sound_file ? cut.length : cut.length * 10, 500, 8000));
    button_ = new QPushButton(QStringLiteral("\u25B6 #") + QString::number(number), this);
    connect(button_, &QPushButton::clicked, this, [this] { recording_->start(); });
    place_button();
    button_->show();
    return recording_.get();
}

void TBigPictureDemoForm::free_recording_button() {
    delete button_;
    button_ = nullptr;
    recording_.reset();
}

void TBigPictureDemoForm::place_button() {
    if (!button_) return;
    button_->adjustSize();
    // Centred, one and a half button heights above the bottom edge.
    button_->move((width() - button_->width()) / 2,
                  height() - button_->height() - button_->height() * 3 / 2);
}

void TBigPictureDemoForm::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    place_button();
}

void TBigPictureDemoForm::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) close();
    QWidget::keyPressEvent(event);
}

void TBigPictureDemoForm::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), QColor(20, 24, 20));
    if (!species_) return;
    p.setPen(QColor(230, 230, 220));
    QFont f = font();
    f.setPointSize(20);
    p.setFont(f);
    const QString names = show_names_ ? species_->common_name + u'\n' + species_->scientific_name
                                      : QString();
    p.drawText(rect().adjusted(20, 20, -20, -120), Qt::AlignCenter | Qt::TextWordWrap,
               names + QStringLiteral("\n\n") + QStringLiteral("(") +
                   QString::number(picture_number_) + QStringLiteral(")"));
}
