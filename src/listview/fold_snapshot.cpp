#include "listview/fold_snapshot.h"

#include "app/numbers.h"

#include <QStringList>
#include <QtEndian>
#include <algorithm>

namespace {

// Byte layout: six class flags, the top class, one byte of padding, then
// little-endian 32-bit integers.
constexpr int kTopClassOffset = 6;
constexpr int kIntsOffset = 8;

void putInt(QByteArray& bytes, int& offset, int value) {
    qToLittleEndian<qint32>(value, bytes.data() + offset);
    offset += 4;
}

int takeInt(const QByteArray& bytes, int& offset) {
    const int value = qFromLittleEndian<qint32>(bytes.constData() + offset);
    offset += 4;
    return value;
}

}  // namespace

TFoldSnapshot TFoldSnapshot::initial() {
    TFoldSnapshot s;
    s.class_open.fill(true);
    return s;
}

QByteArray TFoldSnapshot::to_bytes() const {
    QByteArray bytes(kByteSize, '\0');
    for (int c = 0; c < 6; ++c) bytes[c] = class_open[static_cast<size_t>(c)] ? 1 : 0;
    bytes[kTopClassOffset] = static_cast<char>(top_class);
    int offset = kIntsOffset;
    putInt(bytes, offset, top_family);
    putInt(bytes, offset, top_species);
    putInt(bytes, offset, open_family_count);
    for (int family : open_families) putInt(bytes, offset, family);
    putInt(bytes, offset, selected_family);
    putInt(bytes, offset, selected_species);
    return bytes;
}

TFoldSnapshot TFoldSnapshot::from_bytes(const QByteArray& bytes) {
    if (bytes.size() != kByteSize) return initial();
    TFoldSnapshot s;
    for (int c = 0; c < 6; ++c) s.class_open[static_cast<size_t>(c)] = bytes[c] != 0;
    s.top_class = static_cast<unsigned char>(bytes[kTopClassOffset]);
    int offset = kIntsOffset;
    s.top_family = takeInt(bytes, offset);
    s.top_species = takeInt(bytes, offset);
    s.open_family_count = std::clamp(takeInt(bytes, offset), 0, kMaxOpenFamilies);
    for (int& family : s.open_families) family = takeInt(bytes, offset);
    s.selected_family = takeInt(bytes, offset);
    s.selected_species = takeInt(bytes, offset);
    return s;
}

QString TFoldSnapshot::to_text(bool withClasses) const {
    QStringList fields;
    if (withClasses) {
        QString flags;
        for (bool open : class_open) flags += open ? u'1' : u'0';
        fields << flags;
    }
    fields << QString::number(top_class) << QString::number(top_family)
           << QString::number(top_species) << QString::number(selected_family)
           << QString::number(selected_species);
    for (int k = 0; k < open_family_count; ++k)
        fields << QString::number(open_families[static_cast<size_t>(k)]);
    return fields.join(u',');
}

TFoldSnapshot TFoldSnapshot::from_text(const QString& text, bool withClasses) {
    TFoldSnapshot s = initial();
    QStringList fields = text.split(u',');
    if (withClasses) {
        const QString flags = fields.isEmpty() ? QString() : fields.takeFirst().trimmed();
        if (flags.size() >= 6) {
            for (int c = 0; c < 6; ++c) s.class_open[static_cast<size_t>(c)] = flags[c] == u'1';
        }
    }
    const auto readInt = [&](qsizetype index, int& target) {
        if (index >= fields.size()) return false;
        bool ok = false;
        const int value = fields[index].trimmed().toInt(&ok);
        if (!ok) return false;
        target = value;
        return true;
    };
    int* const heads[] = {&s.top_class, &s.top_family, &s.top_species, &s.selected_family,
                          &s.selected_species};
    qsizetype index = 0;
    for (int* head : heads) {
        if (!readInt(index, *head)) {
            s.top_class = GLB_clamp(s.top_class, 1, 6);
            return s;
        }
        ++index;
    }
    s.top_class = GLB_clamp(s.top_class, 1, 6);
    while (s.open_family_count < kMaxOpenFamilies) {
        int family = 0;
        if (!readInt(index++, family)) break;
        s.open_families[static_cast<size_t>(s.open_family_count++)] = family;
    }
    return s;
}
