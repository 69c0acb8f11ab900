#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QtEndian>
#include <cmath>
#include <vector>

// Sound files and disc images the tests make for themselves.
namespace sound_media {

inline QByteArray le16(int v) {
    QByteArray b(2, 0);
    qToLittleEndian<qint16>(static_cast<qint16>(v), b.data());
    return b;
}
inline QByteArray le32(quint32 v) {
    QByteArray b(4, 0);
    qToLittleEndian<quint32>(v, b.data());
    return b;
}

// A mono 16-bit PCM WAV of a sine, with a LIST chunk before the data as
// recording programs write it.
inline QByteArray pcmWave(int milliseconds, int rate = 8000, double frequency = 440) {
    QByteArray data;
    const int samples = static_cast<int>(static_cast<qint64>(milliseconds) * rate / 1000);
    for (int i = 0; i < samples; ++i)
        data += le16(static_cast<int>(12000 * std::sin(2 * M_PI * frequency * i / rate)));
    QByteArray list = QByteArray("INFOISFT") + le32(6) + QByteArray("test\0\0", 6);
    QByteArray file = "WAVE";
    file += QByteArray("fmt ") + le32(16) + le16(1) + le16(1) + le32(static_cast<quint32>(rate)) +
            le32(static_cast<quint32>(rate * 2)) + le16(2) + le16(16);
    file += QByteArray("LIST") + le32(static_cast<quint32>(list.size())) + list;
    file += QByteArray("data") + le32(static_cast<quint32>(data.size())) + data;
    return QByteArray("RIFF") + le32(static_cast<quint32>(file.size())) + file;
}

inline QString write(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
    return path;
}

// A CUE/BIN disc image of audio tracks of the given lengths in CD frames
// (75 a second), each a tone of its own; returns the CUE file's path.
inline QString discImage(const QString& directory, const std::vector<int>& trackFrames) {
    QByteArray bin;
    QByteArray cue = "FILE \"disc.bin\" BINARY\n";
    int sector = 0;
    for (std::size_t t = 0; t < trackFrames.size(); ++t) {
        cue += QStringLiteral("  TRACK %1 AUDIO\n    INDEX 01 %2:%3:%4\n")
                   .arg(t + 1, 2, 10, QChar(u'0'))
                   .arg(sector / 4500, 2, 10, QChar(u'0'))
                   .arg(sector / 75 % 60, 2, 10, QChar(u'0'))
                   .arg(sector % 75, 2, 10, QChar(u'0'))
                   .toLatin1();
        const qsizetype at = bin.size();
        bin.resize(at + trackFrames[t] * 588 * 4);
        auto* out = reinterpret_cast<qint16*>(bin.data() + at);
        for (int s = 0; s < trackFrames[t] * 588; ++s) {
            const auto v = static_cast<qint16>(8000 * std::sin(2 * M_PI * (300 + 50 * t) * s / 44100.0));
            out[2 * s] = out[2 * s + 1] = qToLittleEndian(v);
        }
        sector += trackFrames[t];
    }
    write(directory + QStringLiteral("/disc.bin"), bin);
    return write(directory + QStringLiteral("/disc.cue"), cue);
}

inline QString demoBase() {
    return QStringLiteral(KORVELAN_SOURCE_DIR "/editions/demo/base/");
}

}  // namespace sound_media
