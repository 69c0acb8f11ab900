#include "learning/windows/quiz_window.h"

#include "app/messages.h"
#include "data/media_records.h"
#include "data/species_database.h"
#include "data/taxa.h"
#include "listview/show_string_record.h"
#include "listview/windows/sonogram_panel.h"
#include "listview/windows/sound_bar.h"
#include "listview/windows/window_placement.h"
#include "platform/dialog_service.h"
#include "playlists/playlist.h"
#include "playlists/playlist_file.h"
#include "playlists/playlist_folders.h"
#include "sound/players.h"
#include "sound/sonogram.h"
#include "sound/windows/sonogram_view.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCompleter>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QShortcut>
#include <QStackedWidget>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

enum ScopeKind { kVisible = 1, kFamily, kPlaylistChoice, kPlaylist };
constexpr int kKindRole = Qt::UserRole;
constexpr int kFamilyRole = Qt::UserRole + 1;

QString percent(int right, int answers) {
    return answers > 0 ? QString::number(100 * right / answers) + u'%' : QStringLiteral("-");
}

}  // namespace

// --- The chart ----------------------------------------------------------------

TQuizRetentionChart::TQuizRetentionChart(QWidget* parent) : QWidget(parent) {
    setMinimumHeight(140);
}

void TQuizRetentionChart::set_days(std::vector<TQuizProgress::Day> days) {
    // The latest month of days with answers fits the width.
    constexpr std::size_t kShown = 30;
    if (days.size() > kShown) days.erase(days.begin(), days.end() - kShown);
    days_ = std::move(days);
    update();
}

void TQuizRetentionChart::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().base());
    const QFontMetrics metrics = fontMetrics();
    const int left = metrics.horizontalAdvance(QStringLiteral("100%")) + 8;
    const int bottom = height() - metrics.height() - 6;
    const int top = metrics.height() * 2;
    const int right = width() - 8;
    painter.setPen(palette().color(QPalette::Mid));
    for (int p = 0; p <= 100; p += 50) {
        const int y = bottom - (bottom - top) * p / 100;
        painter.drawLine(left, y, right, y);
        painter.setPen(palette().color(QPalette::Text));
        painter.drawText(QRect(0, y - metrics.height() / 2, left - 4, metrics.height()),
                         Qt::AlignRight | Qt::AlignVCenter, QString::number(p) + u'%');
        painter.setPen(palette().color(QPalette::Mid));
    }
    painter.setPen(palette().color(QPalette::Text));
    painter.drawText(QRect(left, 0, right - left, top), Qt::AlignLeft,
                     QStringLiteral("Answers right per day (species met before)"));
    if (days_.empty()) {
        painter.drawText(QRect(left, top, right - left, bottom - top), Qt::AlignCenter,
                         QStringLiteral("No answers to species met before yet"));
        return;
    }
    const double slot = double(right - left) / double(days_.size());
    const int barWidth = std::max(3, int(slot * 0.7));
    QPoint previous;
    for (std::size_t i = 0; i < days_.size(); ++i) {
        const TQuizProgress::Day& day = days_[i];
        const int x = left + int(slot * double(i) + (slot - barWidth) / 2);
        const int h = day.answers > 0 ? (bottom - top) * day.right / day.answers : 0;
        painter.fillRect(QRect(x, bottom - h, barWidth, h), QColor(70, 130, 180));
        const QPoint point(x + barWidth / 2, bottom - h);
        painter.setPen(QPen(QColor(200, 90, 40), 2));
        if (i > 0) painter.drawLine(previous, point);
        painter.setBrush(QColor(200, 90, 40));
        painter.drawEllipse(point, 3, 3);
        painter.setBrush(Qt::NoBrush);
        previous = point;
        painter.setPen(palette().color(QPalette::Text));
        painter.drawText(QRect(x - 20, bottom - h - metrics.height() - 4, barWidth + 40, metrics.height()),
                         Qt::AlignHCenter, percent(day.right, day.answers));
        painter.setPen(palette().color(QPalette::Text));
        if (i == 0 || i + 1 == days_.size() || slot > metrics.horizontalAdvance(QStringLiteral("00-00 ")))
            painter.drawText(QRect(x - 20, bottom + 2, barWidth + 40, metrics.height()), Qt::AlignHCenter,
                             day.date.toString(QStringLiteral("MM-dd")));
    }
}

// --- The window ---------------------------------------------------------------

TQuizWindow::TQuizWindow(TQuizWindowServices services, const TClassVisibleSpeciesAndRecordings& filter,
                         int order, QWidget* parent)
    : QWidget(parent, Qt::Tool), services_(std::move(services)), filter_(filter), order_(order) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Quiz"));
    log_ = std::make_unique<TQuizLog>(services_.log_path.isEmpty() ? GLB_quiz_log_path() : services_.log_path);
    build();
    fill_scopes();
    playhead_timer_.setInterval(40);
    connect(&playhead_timer_, &QTimer::timeout, this, &TQuizWindow::tick);
    resize(GLB_size_within_screen(this, QSize(640, 640)));
    choose_scope(0);
    // Escape closes the quiz wherever the keys are in it, as in the other
    // small windows; the answer box's completion list takes its own first.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
}

TQuizWindow::~TQuizWindow() {
    stop();
}

void TQuizWindow::build() {
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("Quiz on:"), this));
    scope_box_ = new QComboBox(this);
    scope_box_->setObjectName(QStringLiteral("quizScope"));
    top->addWidget(scope_box_, 1);
    top->addWidget(new QLabel(QStringLiteral("Answer by:"), this));
    mode_box_ = new QComboBox(this);
    mode_box_->addItems({QStringLiteral("choosing a name"), QStringLiteral("typing the name")});
    top->addWidget(mode_box_);
    layout->addLayout(top);
    // Long scopes are cut short rather than making the window wider than a
    // small screen at a large text size.
    for (QComboBox* box : {scope_box_, mode_box_}) {
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        box->setMinimumContentsLength(8);
    }

    tabs_ = new QTabWidget(this);
    layout->addWidget(tabs_, 1);

    auto* page = new QWidget(tabs_);
    auto* quiz = new QVBoxLayout(page);
    auto* promptRow = new QHBoxLayout;
    prompt_ = new QLabel(page);
    prompt_->setWordWrap(true);
    promptRow->addWidget(prompt_, 1);
    play_again_ = new QPushButton(QStringLiteral("Play again"), page);
    promptRow->addWidget(play_again_);
    quiz->addLayout(promptRow);

    answer_stack_ = new QStackedWidget(page);
    auto* buttons = new QWidget(answer_stack_);
    auto* grid = new QGridLayout(buttons);
    for (int i = 0; i < 4; ++i) {
        auto* button = new QPushButton(buttons);
        button->setObjectName(QStringLiteral("choice%1").arg(i + 1));
        button->setMinimumHeight(36);
        grid->addWidget(button, i / 2, i % 2);
        choices_.push_back(button);
        connect(button, &QPushButton::clicked, this, [this, i] {
            if (!session_ || !session_->current() || i >= int(question_->choices.size())) return;
            answered(session_->answer(*question_->choices[std::size_t(i)]));
        });
    }
    answer_stack_->addWidget(buttons);
    auto* typing = new QWidget(answer_stack_);
    auto* typingRow = new QHBoxLayout(typing);
    typed_ = new QLineEdit(typing);
    typed_->setPlaceholderText(QStringLiteral("The species' name"));
    typingRow->addWidget(typed_, 1);
    answer_button_ = new QPushButton(QStringLiteral("Answer"), typing);
    typingRow->addWidget(answer_button_);
    answer_stack_->addWidget(typing);
    quiz->addWidget(answer_stack_);
    auto typedAnswer = [this] {
        if (!session_ || !session_->current() || typed_->text().trimmed().isEmpty()) return;
        answered(session_->answer_typed(typed_->text()));
    };
    connect(answer_button_, &QPushButton::clicked, this, typedAnswer);
    connect(typed_, &QLineEdit::returnPressed, this, typedAnswer);

    auto* resultRow = new QHBoxLayout;
    picture_ = new QLabel(page);
    picture_->setFixedSize(170, 170);
    picture_->setAlignment(Qt::AlignCenter);
    resultRow->addWidget(picture_);
    verdict_ = new QLabel(page);
    verdict_->setWordWrap(true);
    verdict_->setTextFormat(Qt::RichText);
    resultRow->addWidget(verdict_, 1);
    quiz->addLayout(resultRow);

    sonogram_ = new TSonogramView(page);
    sonogram_->setMinimumHeight(160);
    sonogram_->hide();
    quiz->addWidget(sonogram_, 3);
    // Holds the question at the top while the sonogram is hidden.
    quiz->addStretch(1);
    connect(sonogram_, &TSonogramView::seek_requested, this, [this](double seconds) {
        if (player_ && player_->opened()) {
            player_->SeekTo(int(seconds * 1000));
            sonogram_->set_playhead(seconds, playing());
        }
    });
    connect(sonogram_, &TSonogramView::play_pause_requested, this, [this] { playing() ? stop() : play(); });

    notes_ = new QLabel(page);
    notes_->setWordWrap(true);
    quiz->addWidget(notes_);
    next_ = new QPushButton(QStringLiteral("Next"), page);
    next_->setDefault(true);
    auto* nextRow = new QHBoxLayout;
    nextRow->addStretch(1);
    nextRow->addWidget(next_);
    quiz->addLayout(nextRow);
    // At a double scale the answer, its picture and its sonogram are taller
    // than a small screen: the page scrolls rather than the window growing
    // off the screen and hiding "Next".
    auto* scroller = new QScrollArea(tabs_);
    scroller->setWidgetResizable(true);
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setWidget(page);
    // The tab's own background shows through, as without the scroll area.
    page->setAutoFillBackground(false);
    scroller->viewport()->setAutoFillBackground(false);
    tabs_->addTab(scroller, QStringLiteral("Question"));

    auto* progress = new QWidget(tabs_);
    auto* progressLayout = new QVBoxLayout(progress);
    counts_ = new QLabel(progress);
    counts_->setWordWrap(true);
    progressLayout->addWidget(counts_);
    chart_ = new TQuizRetentionChart(progress);
    progressLayout->addWidget(chart_, 1);
    tabs_->addTab(progress, QStringLiteral("Progress"));

    connect(play_again_, &QPushButton::clicked, this, &TQuizWindow::play);
    connect(next_, &QPushButton::clicked, this, &TQuizWindow::next_question);
    connect(mode_box_, &QComboBox::currentIndexChanged, this,
            [this](int index) { set_mode(index == 1 ? Mode::Typing : Mode::Buttons); });
    connect(scope_box_, &QComboBox::activated, this, &TQuizWindow::choose_scope);
    connect(tabs_, &QTabWidget::currentChanged, this, [this] { refresh_progress(); });
}

void TQuizWindow::fill_scopes() {
    const TQuizScope all = TQuizScope::visible_species(filter_, order_);
    scope_box_->addItem(QStringLiteral("Species shown in the list (%1)").arg(all.species.size()), kVisible);
    for (const Tfamily* f = filter_.data().first_family(order_); f; f = f->next) {
        const TQuizScope family = TQuizScope::family(filter_, *f);
        if (family.species.empty()) continue;
        scope_box_->addItem(family.title + QStringLiteral(" (%1)").arg(family.species.size()), kFamily);
        scope_box_->setItemData(scope_box_->count() - 1, QVariant::fromValue(quintptr(f)), kFamilyRole);
    }
    scope_box_->addItem(QStringLiteral("A playlist..."), kPlaylistChoice);
}

void TQuizWindow::choose_scope(int index) {
    const int kind = scope_box_->itemData(index, kKindRole).toInt();
    TQuizScope scope;
    if (kind == kFamily) {
        scope = TQuizScope::family(
            filter_, *reinterpret_cast<const Tfamily*>(scope_box_->itemData(index, kFamilyRole).value<quintptr>()));
    } else if (kind == kPlaylistChoice || kind == kPlaylist) {
        const QString folder = kind == kPlaylist ? scope_box_->itemData(index, kFamilyRole).toString()
                                                 : TPlayListFolders::default_play_list_folder();
        std::optional<QString> path = kind == kPlaylist ? std::optional<QString>(folder)
                                                        : platform::DialogService::openFileName(
                                                              {QStringLiteral("Quiz on a playlist"), folder,
                                                               QStringLiteral("Playlists (*.pl)")});
        if (!path) {
            scope_box_->setCurrentIndex(0);
            if (!session_) choose_scope(0);
            return;
        }
        const TPlayListLoadResult loaded = TPlayListFile::load(*path, filter_);
        std::vector<const Tspecies*> species;
        for (const auto& row : loaded.contents.rows)
            if (row && row->recording_item) species.push_back(row->recording_item->species);
        scope = TQuizScope::of_species(QStringLiteral("Playlist: ") + TPlayList::name_of_path(*path), species);
        if (kind == kPlaylistChoice) {
            scope_box_->insertItem(index, scope.title + QStringLiteral(" (%1)").arg(scope.species.size()), kPlaylist);
            scope_box_->setItemData(index, *path, kFamilyRole);
            scope_box_->setCurrentIndex(index);
        }
    } else {
        scope = TQuizScope::visible_species(filter_, order_);
    }
    stop();
    session_ = std::make_unique<TQuizSession>(std::move(scope), filter_, *log_, services_.clock);
    if (!session_->damaged_log_moved_to().isEmpty() && !damage_told_) {
        damage_told_ = true;
        GLB_show_message(QStringLiteral("The quiz's record of answers was damaged and could not be read. It "
                                        "has been kept as \"%1\", and the quiz starts afresh.")
                             .arg(QDir::toNativeSeparators(session_->damaged_log_moved_to())),
                         platform::box::IconWarning);
    }
    auto* completer = new QCompleter(session_->names_for_completion(), typed_);
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    completer->setFilterMode(Qt::MatchContains);
    delete typed_->completer();
    typed_->setCompleter(completer);
    question_number_ = 0;
    next_question();
}

void TQuizWindow::set_mode(Mode mode) {
    mode_ = mode;
    answer_stack_->setCurrentIndex(mode == Mode::Typing ? 1 : 0);
    if (mode == Mode::Typing && typed_->isEnabled()) typed_->setFocus();
    if (mode_box_->currentIndex() != int(mode)) mode_box_->setCurrentIndex(int(mode));
}

void TQuizWindow::next_question() {
    stop();
    question_ = session_->next_question();
    verdict_->clear();
    picture_->clear();
    sonogram_->hide();
    typed_->clear();
    next_->setEnabled(false);
    if (!question_) {
        const TQuizProgress progress = session_->progress();
        prompt_->setText(
            progress.next_due.isValid()
                ? QStringLiteral("Nothing more is due for now (%1). The next species comes back on %2.")
                      .arg(session_->scope().title,
                           QLocale().toString(progress.next_due.toLocalTime(), QLocale::ShortFormat))
                : QStringLiteral("Nothing is due for now (%1).").arg(session_->scope().title));
        for (QPushButton* button : choices_) button->setEnabled(false), button->setText({});
        typed_->setEnabled(false);
        play_again_->setEnabled(false);
        show_notes();
        refresh_progress();
        return;
    }
    ++question_number_;
    prompt_->setText(QStringLiteral("<b>Question %1</b> (%2): whose voice is this?%3")
                         .arg(question_number_)
                         .arg(session_->scope().title,
                              question_->new_species ? QStringLiteral(" <i>A species new to you.</i>") : QString()));
    for (std::size_t i = 0; i < choices_.size(); ++i) {
        const bool has = i < question_->choices.size();
        choices_[i]->setText(has ? GLB_quiz_name(*question_->choices[i]) : QString());
        choices_[i]->setEnabled(has);
        choices_[i]->setVisible(has);
        choices_[i]->setStyleSheet({});
    }
    typed_->setEnabled(true);
    answer_button_->setEnabled(true);
    play_again_->setEnabled(true);
    if (mode_ == Mode::Typing) typed_->setFocus();
    show_notes();
    refresh_progress();
    play();
}

void TQuizWindow::answered(const TQuizResult& result) {
    if (!question_) return;
    const Tspecies& species = *question_->species;
    for (std::size_t i = 0; i < choices_.size() && i < question_->choices.size(); ++i) {
        choices_[i]->setEnabled(false);
        if (question_->choices[i]->unique_id == species.unique_id)
            choices_[i]->setStyleSheet(QStringLiteral("font-weight: bold; color: #106010;"));
    }
    typed_->setEnabled(false);
    answer_button_->setEnabled(false);
    const QString name = GLB_quiz_name(species).toHtmlEscaped();
    const QString scientific = species.scientific_name.toHtmlEscaped();
    const QString when =
        result.card.state == TQuizCard::State::Review
            ? QStringLiteral("It comes back in %1 days.").arg(qMax<qint64>(1, QDateTime::currentDateTimeUtc().daysTo(result.card.due)))
            : QStringLiteral("It comes back soon.");
    verdict_->setText(result.right
                          ? QStringLiteral("<p style='font-size:large;color:#106010'><b>Right!</b></p><p>%1 "
                                           "(<i>%2</i>)</p><p>%3</p>")
                                .arg(name, scientific, when)
                          : QStringLiteral("<p style='font-size:large;color:#a01010'><b>Not quite.</b></p><p>It "
                                           "was %1 (<i>%2</i>).</p><p>%3</p>")
                                .arg(name, scientific, when));
    show_picture(&species);
    if (services_.sonograms && question_->recording && question_->recording->cut_part) {
        const Tcutpart& cut = *question_->recording->cut_part;
        sonogram::Source source{question_->recording_file};
        if (!cut.is_sound_file) {
            source.from_ms = cut.offset;
            source.to_ms = cut.offset + cut.length;
        }
        const sonogram::Settings settings = TSonogramPanel::stored_settings();
        sonogram_->set_settings(settings);
        sonogram_->set_sonogram(services_.sonograms->get(source, settings), cut.length / 1000.0);
        sonogram_->set_note({});
        sonogram_->show();
    }
    if (session_->log_write_failed())
        notes_->setText(QStringLiteral("The answer could not be written to \"%1\".")
                            .arg(QDir::toNativeSeparators(log_->path())));
    next_->setEnabled(true);
    next_->setFocus();
    refresh_progress();
}

void TQuizWindow::show_picture(const Tspecies* species) {
    picture_->clear();
    if (!species || !services_.small_pictures) return;
    const QSize size = services_.small_pictures->acquire(*species);
    if (size.isEmpty()) return;
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    {
        QPainter painter(&pixmap);
        services_.small_pictures->draw(painter, *species, QPoint(0, 0));
    }
    services_.small_pictures->release(*species);
    picture_->setPixmap(pixmap.scaled(picture_->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

QString TQuizWindow::progress_text() const {
    if (!session_) return {};
    const TQuizProgress p = session_->progress();
    int answers = 0, right = 0;
    for (const TQuizProgress::Day& day : p.retention) answers += day.answers, right += day.right;
    QString text = QStringLiteral("%1: %2 species.\nDue now: %3    Learning: %4    Learned: %5    New: %6\n")
                       .arg(session_->scope().title)
                       .arg(session_->scope().species.size())
                       .arg(p.due)
                       .arg(p.learning)
                       .arg(p.learned)
                       .arg(p.fresh);
    text += QStringLiteral("Retention (answers right, species met before): %1 of %2, %3.")
                .arg(right)
                .arg(answers)
                .arg(percent(right, answers));
    if (p.due == 0 && p.next_due.isValid())
        text += QStringLiteral("\nNext due: ") + QLocale().toString(p.next_due.toLocalTime(), QLocale::ShortFormat);
    return text;
}

void TQuizWindow::refresh_progress() {
    if (!session_) return;
    counts_->setText(progress_text());
    chart_->set_days(session_->progress().retention);
}

void TQuizWindow::show_notes() {
    const QStringList notes = session_->take_notes();
    if (!notes.isEmpty()) notes_->setText(notes.join(u'\n'));
    else if (!question_ || question_number_ <= 1) notes_->clear();
}

void TQuizWindow::play() {
    if (!question_ || !question_->recording || !question_->recording->cut_part) return;
    // One sound at a time: the list's recording stops for the quiz's.
    if (Tsound_bar* playing = Tsound_bar::playing_button()) playing->close_player();
    stop();
    const Tcutpart& cut = *question_->recording->cut_part;
    player_ = GLB_make_player(cut, filter_.carriers);
    int length = cut.length;
    bool notFound = false;
    bool opened = false;
    if (auto* cutPlayer = dynamic_cast<TCutPartFilePlayer*>(player_.get())) {
        const bool mp3Inside = cut.compression_number >= 2 && cut.compression_number <= 6;
        opened = cutPlayer->open_cut_part(question_->recording_file, mp3Inside, length, notFound);
    } else if (auto* filePlayer = dynamic_cast<TSoundFilePlayer*>(player_.get())) {
        opened = filePlayer->open_file(question_->recording_file, cut.offset, length, notFound);
    }
    if (!opened || !player_->SeekTo(0) || !player_->Play(false)) {
        notes_->setText(QStringLiteral("The recording %1 could not be played.").arg(cut.catalogue_text().trimmed()));
        player_.reset();
        return;
    }
    playhead_timer_.start();
}

bool TQuizWindow::playing() const {
    return player_ && player_->playing();
}

void TQuizWindow::stop() {
    playhead_timer_.stop();
    if (player_) {
        player_->stop();
        player_->Close();
        player_.reset();
    }
}

void TQuizWindow::tick() {
    if (!player_) return playhead_timer_.stop();
    int ms = 0;
    const bool going = player_->is_playing();
    if (player_->GetPosition(ms) && sonogram_->isVisible()) sonogram_->set_playhead(ms / 1000.0, going);
    if (!going) playhead_timer_.stop();
}

void TQuizWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    GLB_move_onto_screen(this);
}

void TQuizWindow::closeEvent(QCloseEvent* event) {
    stop();
    QWidget::closeEvent(event);
}
