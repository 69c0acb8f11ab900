#pragma once

// The least any loading of an edition costs: its files read into one buffer
// made before the clock starts, and their lines counted.

#include <QFile>
#include <QString>

#include <algorithm>
#include <cstring>
#include <vector>

// A buffer that holds the largest of the files.
template <typename Names>
std::vector<char> byteFloorBuffer(const QString& directory, const Names& names) {
    qint64 largest = 0;
    for (const char* name : names) largest = std::max(largest, QFile(directory + name).size());
    return std::vector<char>(static_cast<size_t>(largest) + 1, '\0');
}

// The lines of the files, read into `buffer`; -1 when one cannot be opened.
template <typename Names>
qsizetype readAndCountLines(const QString& directory, const Names& names, std::vector<char>& buffer) {
    qsizetype lines = 0;
    for (const char* name : names) {
        QFile file(directory + name);
        if (!file.open(QIODevice::ReadOnly)) return -1;
        const qint64 size = file.read(buffer.data(), static_cast<qint64>(buffer.size()));
        const char* at = buffer.data();
        const char* const end = at + std::max<qint64>(size, 0);
        while (at < end) {
            const void* feed = std::memchr(at, '\n', static_cast<size_t>(end - at));
            if (!feed) break;
            ++lines;
            at = static_cast<const char*>(feed) + 1;
        }
    }
    return lines;
}
