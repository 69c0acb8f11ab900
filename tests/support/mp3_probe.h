#pragma once

// Reading MP3 copies back with ffprobe: the audio frames it finds, their
// bytes and the file's duration, and the audio behind a copy's ID3 tag.

#include "sound/id3_tag.h"

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

namespace testing_support {

inline QString runTool(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

inline bool haveFfprobe() {
    return !QStandardPaths::findExecutable("ffprobe").isEmpty();
}

inline QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// One audio frame as ffprobe's packets give it.
struct ProbedFrame {
    double start = 0;
    double duration = 0;
    qint64 position = 0;
    qint64 size = 0;
};

inline std::vector<ProbedFrame> probeFrames(const QString& file) {
    std::vector<ProbedFrame> frames;
    const QString out = runTool("ffprobe", {"-v", "error", "-select_streams", "a:0", "-show_entries",
                                            "packet=pts_time,duration_time,size,pos", "-of",
                                            "csv=p=0", file});
    for (const QString& line : out.split(u'\n', Qt::SkipEmptyParts)) {
        const QStringList f = line.split(u',');
        if (f.size() < 4) continue;
        frames.push_back({f[0].toDouble(), f[1].toDouble(), f[3].toLongLong(), f[2].toLongLong()});
    }
    return frames;
}

// The bytes of the frames, in their order in the file.
inline QByteArray frameBytes(const QByteArray& file, const std::vector<ProbedFrame>& frames) {
    QByteArray bytes;
    for (const ProbedFrame& f : frames) bytes += file.mid(f.position, f.size);
    return bytes;
}

inline double probeDuration(const QString& file) {
    return runTool("ffprobe", {"-v", "error", "-show_entries", "format=duration", "-of", "csv=p=0", file})
        .trimmed()
        .toDouble();
}

// The copy's bytes behind its tag; empty for a file without one.
inline QByteArray audioOf(const QByteArray& copy) {
    if (!copy.startsWith("ID3")) return {};
    const auto size = id3::read_syncsafe(reinterpret_cast<const std::uint8_t*>(copy.constData()) + 6);
    return copy.mid(id3::kHeaderSize + static_cast<qsizetype>(size));
}

}  // namespace testing_support
