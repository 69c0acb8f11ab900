#pragma once

#include <QString>

#include <atomic>
#include <utility>

// A text that many records carry, such as a recording's remarks: one word in
// each record instead of a QString's three, pointing at one copy of the text
// that counts its holders. It reads as the QString it holds.
class TSharedText {
  public:
    TSharedText() = default;
    TSharedText(const QString& text) : node_(text.isEmpty() ? nullptr : new Node{{1}, text}) {}
    TSharedText(const TSharedText& other) : node_(other.node_) { hold(); }
    TSharedText(TSharedText&& other) noexcept : node_(std::exchange(other.node_, nullptr)) {}
    TSharedText& operator=(TSharedText other) noexcept {
        std::swap(node_, other.node_);
        return *this;
    }
    ~TSharedText() { release(); }

    const QString& text() const { return node_ ? node_->text : empty(); }
    operator const QString&() const { return text(); }
    bool isEmpty() const { return !node_; }
    qsizetype size() const { return text().size(); }

    friend bool operator==(const TSharedText& a, const TSharedText& b) {
        return a.node_ == b.node_ || a.text() == b.text();
    }
    friend bool operator==(const TSharedText& a, const QString& b) { return a.text() == b; }
    friend bool operator==(const QString& a, const TSharedText& b) { return a == b.text(); }
    friend bool operator==(const TSharedText& a, const char* b) {
        return a.text() == QString::fromUtf8(b);
    }
    friend QString operator+(const TSharedText& a, const QString& b) { return a.text() + b; }
    friend QString operator+(const TSharedText& a, QChar b) { return a.text() + b; }
    friend QString operator+(const TSharedText& a, char16_t b) { return a.text() + QChar(b); }

  private:
    struct Node {
        std::atomic<int> holders;
        const QString text;
    };
    static const QString& empty() {
        static const QString none;
        return none;
    }
    void hold() {
        if (node_) node_->holders.fetch_add(1, std::memory_order_relaxed);
    }
    void release() {
        if (node_ && node_->holders.fetch_sub(1, std::memory_order_acq_rel) == 1) delete node_;
    }

    Node* node_ = nullptr;
};
