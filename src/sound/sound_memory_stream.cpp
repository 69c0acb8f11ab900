#include "sound/sound_memory_stream.h"

#include "platform/dialog_service.h"

#include <QFile>
#include <QSaveFile>
#include <algorithm>
#include <cstring>

namespace {

// Read and write failures use the platform's own caption, not the program's.
void showFileError(const QString& what, const QString& fileName) {
    platform::DialogService::message(what + u' ' + fileName, QString(), platform::box::IconStop);
}

}  // namespace

void TSoundMemoryStream::LoadSoundFile(const QString& fileName, bool& failed) {
    failed = false;
    file_name_ = fileName;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        failed = true;
    } else {
        QByteArray contents = file.readAll();
        if (file.error() != QFileDevice::NoError) {
            failed = true;
        } else {
            buffer_ = std::move(contents);
            position_ = 0;
        }
    }
    if (failed) showFileError(QStringLiteral("Error reading file"), fileName);
}

bool TSoundMemoryStream::SaveSoundFile(const QString& fileName) {
    QSaveFile file(fileName);
    // The rename needs the folder to be writable; never fall back to writing
    // the target in place, which could leave half a file.
    file.setDirectWriteFallback(false);
    const bool saved = file.open(QIODevice::WriteOnly) &&
                       file.write(buffer_) == buffer_.size() && file.commit();
    if (!saved) {
        file.cancelWriting();
        showFileError(QStringLiteral("Error writing file"), fileName);
    }
    return saved;
}

bool TSoundMemoryStream::CutSlice(double, double) {
    return false;
}

std::int64_t TSoundMemoryStream::read(void* target, std::int64_t count) {
    const std::int64_t available = std::max<std::int64_t>(0, size() - position_);
    const std::int64_t n = std::clamp<std::int64_t>(count, 0, available);
    if (n > 0) std::memcpy(target, buffer_.constData() + position_, static_cast<size_t>(n));
    position_ += n;
    return n;
}

std::uint32_t TSoundMemoryStream::read_u32_le() {
    unsigned char b[4] = {0, 0, 0, 0};
    read(b, 4);
    return std::uint32_t(b[0]) | std::uint32_t(b[1]) << 8 | std::uint32_t(b[2]) << 16 |
           std::uint32_t(b[3]) << 24;
}

void TSoundMemoryStream::write(const void* source, std::int64_t count) {
    if (count <= 0) return;
    const std::int64_t end = position_ + count;
    if (end > size()) buffer_.resize(static_cast<qsizetype>(end));
    std::memcpy(buffer_.data() + position_, source, static_cast<size_t>(count));
    position_ = end;
}

void TSoundMemoryStream::set_size(std::int64_t size) {
    buffer_.resize(static_cast<qsizetype>(std::max<std::int64_t>(0, size)));
    position_ = std::min(position_, this->size());
}

void TSoundMemoryStream::keep_range(std::int64_t from, std::int64_t to) {
    from = std::clamp<std::int64_t>(from, 0, size());
    to = std::clamp<std::int64_t>(to, from, size());
    if (from > 0 && to > from)
        std::memmove(buffer_.data(), buffer_.constData() + from, static_cast<size_t>(to - from));
    buffer_.resize(static_cast<qsizetype>(to - from));
    position_ = 0;
}
