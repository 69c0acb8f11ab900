#include "info_windows/windows/intro_form.h"

#include "app/editions.h"
#include "app/globals.h"
#include "data/species_database.h"
#include "formats/textfile.h"
#include "info_windows/about_texts.h"

#include <QFileInfo>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 420;

// An edition may ship its own picture beside the program; otherwise the
// program draws a title card of its own.
QImage editionPicture() {
    const QString path = GLB().program_directory + QStringLiteral("intro.jpg");
    QImage image;
    if (QFileInfo::exists(path)) image.load(path);
    return image;
}

}  // namespace

TIntroForm::TIntroForm(QWidget* parent)
    : QDialog(parent, Qt::FramelessWindowHint | Qt::Dialog), picture_(editionPicture()) {
    setFixedSize(kWidth, kHeight);
    title_ = GLB_edition().title;
    const TAboutWords words = GLB_about_words();
    if (const Tdata* data = GLB_data_or_null()) {
        const QStringList recordists = GLB_recordist_names(*data);
        const QStringList photographers = GLB_photographer_names(*data);
        if (!recordists.isEmpty()) credits_ << words.recordings + u' ' + recordists.join(QStringLiteral(", "));
        if (!photographers.isEmpty())
            credits_ << words.photographs + u' ' + photographers.join(QStringLiteral(", "));
    }
    hint_ = GLB_text(QStringLiteral("INTRO"), 1);
    setWindowTitle(title_);
}

void TIntroForm::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRect pictureRect(0, 0, width(), height() * 3 / 5);
    if (!picture_.isNull()) {
        painter.drawImage(pictureRect, picture_);
    } else {
        QLinearGradient sky(pictureRect.topLeft(), pictureRect.bottomLeft());
        sky.setColorAt(0, QColor(40, 90, 150));
        sky.setColorAt(1, QColor(225, 190, 120));
        painter.fillRect(pictureRect, sky);
        // Hills of the Andes against the evening sky.
        QPainterPath hills;
        hills.moveTo(0, pictureRect.bottom());
        const int w = pictureRect.width();
        const int b = pictureRect.bottom();
        hills.lineTo(0, b - 70);
        hills.lineTo(w * 0.18, b - 140);
        hills.lineTo(w * 0.33, b - 85);
        hills.lineTo(w * 0.52, b - 175);
        hills.lineTo(w * 0.7, b - 95);
        hills.lineTo(w * 0.86, b - 150);
        hills.lineTo(w, b - 80);
        hills.lineTo(w, b);
        hills.closeSubpath();
        painter.fillPath(hills, QColor(55, 75, 60));
        painter.drawPixmap(QRect(24, 24, 96, 96), QPixmap(QStringLiteral(":/icons/PROGRAM_ICON_2")));
    }
    QRect textArea(20, pictureRect.bottom() + 12, width() - 40, height() - pictureRect.height() - 24);
    painter.fillRect(QRect(0, pictureRect.bottom() + 1, width(), height()), Qt::white);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(24);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QColor(30, 50, 80));
    painter.drawText(textArea, Qt::AlignTop | Qt::AlignHCenter, title_);
    font.setPixelSize(13);
    font.setBold(false);
    painter.setFont(font);
    painter.setPen(Qt::black);
    textArea.adjust(0, 40, 0, 0);
    painter.drawText(textArea, Qt::AlignTop | Qt::AlignHCenter | Qt::TextWordWrap,
                     credits_.join(u'\n'));
    font.setItalic(true);
    painter.setFont(font);
    painter.setPen(QColor(90, 90, 90));
    painter.drawText(textArea, Qt::AlignBottom | Qt::AlignHCenter, hint_);
    painter.setPen(Qt::black);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void TIntroForm::mousePressEvent(QMouseEvent* event) {
    event->accept();
    accept();
}

void TIntroForm::keyPressEvent(QKeyEvent* event) {
    event->accept();
    accept();
}
