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
#include <QTextLayout>

#include <algorithm>

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 420;

// The rows a paragraph breaks into at `width` pixels.
QStringList introParagraphRows(const QString& paragraph, const QFont& font, int width) {
    QTextLayout layout(paragraph, font);
    QTextOption option(Qt::AlignHCenter);
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    QStringList rows;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        rows << paragraph.mid(line.textStart(), line.textLength()).trimmed();
    }
    layout.endLayout();
    return rows;
}

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
    // What is painted, for a screen reader.
    setAccessibleName(title_);
    setAccessibleDescription(QStringList(credits_ + QStringList{hint_}).join(u'\n'));
}

QStringList TIntroForm::fitted_credit_rows(const QStringList& credits, const QFont& font, int width,
                                           int lines) {
    std::vector<QStringList> paragraphs;
    for (const QString& credit : credits) paragraphs.push_back(introParagraphRows(credit, font, width));
    // Share the rows out: each paragraph in turn takes one more while it
    // needs it, so the shares differ by one row at most.
    std::vector<int> shares(paragraphs.size(), 0);
    for (int left = std::max(lines, 0), given = 1; left > 0 && given > 0;) {
        given = 0;
        for (std::size_t i = 0; i < paragraphs.size() && left > 0; ++i) {
            if (shares[i] < paragraphs[i].size()) {
                ++shares[i];
                --left;
                ++given;
            }
        }
    }
    const QFontMetrics metrics(font);
    QStringList rows;
    for (std::size_t i = 0; i < paragraphs.size(); ++i) {
        if (shares[i] == 0) continue;
        QStringList kept = paragraphs[i].mid(0, shares[i]);
        if (shares[i] < paragraphs[i].size()) {
            // An ellipsis that would not fit after the row's text replaces its end.
            kept.back() = metrics.elidedText(kept.back() + QStringLiteral(" \u2026"), Qt::ElideRight, width);
        }
        rows << kept;
    }
    return rows;
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
    const QFontMetrics metrics(font);
    // The hint keeps its own row at the bottom.
    const int creditRows = (textArea.height() - metrics.lineSpacing()) / metrics.lineSpacing();
    painter.drawText(textArea, Qt::AlignTop | Qt::AlignHCenter,
                     fitted_credit_rows(credits_, font, textArea.width(), creditRows).join(u'\n'));
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
