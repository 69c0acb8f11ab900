#include "playlists/windows/sound_bar_show_recording.h"

#include "listview/windows/sound_bar.h"

TSoundBarShowRecording::~TSoundBarShowRecording() {
    if (bar_) bar_->mark_by_show(false);
}

void TSoundBarShowRecording::start() {
    if (!bar_) return;
    bar_->mark_by_show(true);
    // A click on a playing button would pause it.
    if (!bar_->is_playing()) bar_->click();
}

bool TSoundBarShowRecording::is_opened() const {
    return bar_ && bar_->opened();
}

bool TSoundBarShowRecording::reached_end() const {
    if (!bar_) return true;
    const QScrollBar& bar = bar_->bar();
    return bar.value() >= bar.maximum() - 1;
}

TOwnSoundBarShowRecording::TOwnSoundBarShowRecording(
    QWidget& host, const Tcupaitem& item, int recordingNumber,
    const TClassSoundCarriersUseSpecification& carriers, bool rewindAtEnd)
    : TSoundBarShowRecording(nullptr), block_(std::make_unique<TRecordingButtonBlock>()) {
    block_->recording = &item;
    block_->recording_number = recordingNumber;
    bar_ = new Tsound_bar(&host, *block_, QPoint(0, 0), carriers, rewindAtEnd);
}

TOwnSoundBarShowRecording::~TOwnSoundBarShowRecording() {
    delete bar_.data();
}
