#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>

// A list's fold state: open classes, the rows at the top of the view, the
// open families from there down and the selected row. Its byte form is the
// 108-byte block that New Window hands on; its text form is the window's
// "Visible" setting.
struct TFoldSnapshot {
    static constexpr int kMaxOpenFamilies = 20;
    static constexpr int kByteSize = 108;

    std::array<bool, 6> class_open{};  // classes 1..6
    int top_class = 1;
    int top_family = 1;
    int top_species = 0;
    int open_family_count = 0;
    std::array<int, kMaxOpenFamilies> open_families{};
    int selected_family = 1;
    int selected_species = 0;

    // All classes open, the first family at the top and selected.
    static TFoldSnapshot initial();

    QByteArray to_bytes() const;
    // A block of another size gives the initial state.
    static TFoldSnapshot from_bytes(const QByteArray& bytes);

    // "111111,3,1,0,1,0,4,7": class flags only with class rows, then the top
    // class, family and species, the selected family and species, then the
    // open families.
    QString to_text(bool withClasses) const;
    // Reading stops at the first field that is not an integer and keeps the
    // defaults from there on; short class flags open every class.
    static TFoldSnapshot from_text(const QString& text, bool withClasses);

    bool operator==(const TFoldSnapshot&) const = default;
};
