#pragma once

#include "platform/text_encoding.h"

#include <QLatin1StringView>
#include <QString>

#include <algorithm>
#include <array>
#include <cstring>
#include <string>

// A recording's identifier ("01207B00003A"), the key of the recordings.
// Nearly all are short plain ASCII: those are kept in the record itself, in
// the room a QString takes, instead of in an allocation of their own; any
// other text is kept on the heap.
class TRecordingIdentifier {
  public:
    static constexpr qsizetype kInline = 15;

    TRecordingIdentifier() = default;
    TRecordingIdentifier(const QString& text) { assign(text); }
    // Bytes read as Latin-1 (plain ASCII reads alike in every encoding).
    explicit TRecordingIdentifier(QLatin1StringView text) {
        if (text.size() > kInline || !platform::isAscii(QByteArrayView(text.data(), text.size()))) {
            assign(QString(text));
            return;
        }
        // An empty line's view may have no data at all: nothing to copy.
        if (!text.isEmpty()) std::memcpy(bytes_.data(), text.data(), static_cast<size_t>(text.size()));
        bytes_[kLengthAt] = static_cast<char>(text.size());
    }
    TRecordingIdentifier(const TRecordingIdentifier& other) { *this = other; }
    // An identifier kept in the record is copied as it is, without a text.
    TRecordingIdentifier& operator=(const TRecordingIdentifier& other) {
        if (this == &other) return *this;
        if (!other.is_inline()) {
            assign(*other.heap());
            return *this;
        }
        delete heap();
        bytes_ = other.bytes_;
        return *this;
    }
    ~TRecordingIdentifier() { delete heap(); }

    // The characters, when kept in the record; empty otherwise.
    bool is_inline() const { return bytes_[kLengthAt] != kOnHeap; }
    QLatin1StringView inline_text() const {
        return is_inline() ? QLatin1StringView(bytes_.data(), bytes_[kLengthAt]) : QLatin1StringView();
    }

    QString text() const { return is_inline() ? QString(inline_text()) : *heap(); }
    operator QString() const { return text(); }
    qsizetype size() const { return is_inline() ? bytes_[kLengthAt] : heap()->size(); }
    bool isEmpty() const { return size() == 0; }
    char16_t at(qsizetype i) const {
        return is_inline() ? char16_t(static_cast<unsigned char>(bytes_[static_cast<size_t>(i)]))
                           : heap()->at(i).unicode();
    }
    std::string toStdString() const { return text().toStdString(); }

    friend bool operator==(const TRecordingIdentifier& a, const QString& b) {
        return a.is_inline() ? b == a.inline_text() : *a.heap() == b;
    }
    friend bool operator==(const QString& a, const TRecordingIdentifier& b) { return b == a; }
    friend bool operator==(const TRecordingIdentifier& a, const TRecordingIdentifier& b) {
        if (a.is_inline() && b.is_inline()) return a.bytes_ == b.bytes_;
        return a == b.text();
    }

  private:
    static constexpr size_t kLengthAt = 15;
    static constexpr char kOnHeap = char(0x7F);

    QString* heap() const {
        if (is_inline()) return nullptr;
        QString* text = nullptr;
        std::memcpy(&text, bytes_.data(), sizeof text);
        return text;
    }
    void assign(const QString& text) {
        delete heap();
        bytes_.fill(0);
        const bool fits = text.size() <= kInline &&
                          std::all_of(text.cbegin(), text.cend(),
                                      [](QChar c) { return c.unicode() < 0x80; });
        if (fits) {
            for (qsizetype i = 0; i < text.size(); ++i)
                bytes_[static_cast<size_t>(i)] = static_cast<char>(text[i].unicode());
            bytes_[kLengthAt] = static_cast<char>(text.size());
        } else {
            QString* copy = new QString(text);
            std::memcpy(bytes_.data(), &copy, sizeof copy);
            bytes_[kLengthAt] = kOnHeap;
        }
    }

    alignas(8) std::array<char, 16> bytes_{};  // empty: inline, length 0
};
