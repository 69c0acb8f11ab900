#include "playlists/show_recordings.h"


#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <QtEndian>

int TWaitingSpokenNames::wav_length_ms(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return 0;
    const QByteArray head = file.read(4096);
    if (head.size() < 44 || !head.startsWith("RIFF") || head.mid(8, 4) != "WAVE") return 0;
    quint32 byteRate = 0;
    qsizetype pos = 12;
    while (pos + 8 <= head.size()) {
        const QByteArray id = head.mid(pos, 4);
        const quint32 size = qFromLittleEndian<quint32>(head.constData() + pos + 4);
        if (id == "fmt " && pos + 20 <= head.size())
            byteRate = qFromLittleEndian<quint32>(head.constData() + pos + 16);
        if (id == "data")
            return byteRate ? static_cast<int>(std::min<quint64>(quint64(size) * 1000 / byteRate, 60000)) : 0;
        pos += 8 + size + (size & 1);
    }
    return 0;
}

void TWaitingSpokenNames::say(const QString& wavPath) {
    const int length = wav_length_ms(wavPath);
    if (length <= 0) return;
    QEventLoop loop;
    QProcess player;
    const QString aplay = QStandardPaths::findExecutable(QStringLiteral("aplay"));
    if (!aplay.isEmpty()) {
        QObject::connect(&player, &QProcess::finished, &loop, &QEventLoop::quit);
        player.start(aplay, {QStringLiteral("-q"), wavPath});
    }
    // However the player fares, the wait ends when the name would have ended.
    QTimer::singleShot(length + 200, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (player.state() != QProcess::NotRunning) {
        player.kill();
        player.waitForFinished(500);
    }
}
