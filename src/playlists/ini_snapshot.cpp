#include "playlists/ini_snapshot.h"

#include "app/settings.h"
#include "platform/ini_store.h"
#include "platform/text_encoding.h"

#include <QFile>

TIniSnapshot TIniSnapshot::from_bytes(const QByteArray& contents) {
    TIniSnapshot snapshot;
    const QString text = platform::decodeText(contents);
    QHash<QString, QString>* current = nullptr;
    qsizetype pos = 0;
    while (pos < text.size()) {
        qsizetype nl = text.indexOf(u'\n', pos);
        if (nl < 0) nl = text.size();
        const QString line = text.mid(pos, nl - pos).trimmed();
        pos = nl + 1;
        if (line.startsWith(u'[')) {
            const qsizetype close = line.indexOf(u']');
            if (close >= 0) {
                const QString name = line.mid(1, close - 1).trimmed().toLower();
                // A repeated section is never read: the first one wins.
                current = snapshot.sections_.contains(name) ? nullptr
                                                            : &snapshot.sections_[name];
                continue;
            }
        }
        if (!current) continue;
        const qsizetype eq = line.indexOf(u'=');
        if (eq < 0) continue;
        const QString key = line.left(eq).trimmed().toLower();
        if (current->contains(key)) continue;
        QString value = line.mid(eq + 1).trimmed();
        if (value.size() >= 2 && value.front() == u'"' && value.back() == u'"')
            value = value.mid(1, value.size() - 2);
        current->insert(key, value);
    }
    return snapshot;
}

TIniSnapshot TIniSnapshot::from_file(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return from_bytes(file.readAll());
}

std::optional<QString> TIniSnapshot::value(const QString& section, const QString& key) const {
    const auto s = sections_.constFind(section.trimmed().toLower());
    if (s == sections_.cend()) return std::nullopt;
    const auto k = s->constFind(key.trimmed().toLower());
    if (k == s->cend()) return std::nullopt;
    return *k;
}

QString TIniSnapshot::text(const QString& section, const QString& key,
                           const QString& defaultValue) const {
    return value(section, key).value_or(defaultValue);
}

int TIniSnapshot::integer(const QString& section, const QString& key, int defaultValue) const {
    return platform::IniStore::intOf(value(section, key), defaultValue);
}

bool TIniSnapshot::flag(const QString& section, const QString& key, bool defaultValue) const {
    const auto v = value(section, key);
    return v ? GLB_flag_of_text(v->left(3)) : defaultValue;
}

void TIniComposer::add(const QString& section, const QString& key, const QString& value) {
    auto s = std::find_if(sections_.begin(), sections_.end(), [&](const TSection& entry) {
        return entry.name.compare(section.trimmed(), Qt::CaseInsensitive) == 0;
    });
    if (s == sections_.end()) {
        sections_.push_back({section.trimmed(), {}, {}});
        s = sections_.end() - 1;
    }
    const QString lower = key.trimmed().toLower();
    const auto known = s->index.constFind(lower);
    if (known != s->index.cend()) {
        s->keys[*known].second = value;
        return;
    }
    s->index.insert(lower, s->keys.size());
    s->keys.push_back({key.trimmed(), value});
}

QByteArray TIniComposer::bytes() const {
    auto singleLine = [](QString text) {
        text.replace(u'\r', u' ');
        text.replace(u'\n', u' ');
        return text.toUtf8();
    };
    QByteArray out;
    for (const TSection& section : sections_) {
        out += '[' + singleLine(section.name) + "]\n";
        for (const auto& [key, value] : section.keys) out += singleLine(key) + '=' + singleLine(value) + '\n';
    }
    return out;
}
