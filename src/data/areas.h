#pragma once

// Distribution areas: a fixed list of two-letter units with a selected flag
// each. A taxon's area holds its distribution; a filter's area holds the
// units the user chose.

#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <vector>

// Raised by a strict parse; the loader reports its text.
class TDistributionError : public std::runtime_error {
  public:
    explicit TDistributionError(const QString& message);
    QString message() const { return message_; }

  private:
    QString message_;
};

// The frame classes an area edits its selection with.
enum class TAreaFrameKind { None, BoliviaEtc, TropicalAsia, Country };

// What the areas need of a selection frame; the frame itself (a widget with
// a contour map) implements it, so the areas stay free of the toolkit.
class TAreaSelectionFrame {
  public:
    virtual ~TAreaSelectionFrame() = default;
    virtual int item_count() const = 0;
    virtual bool item_selected(int index) const = 0;
    virtual void set_item_selected(int index, bool selected) = 0;
    virtual void repaint_items() = 0;
};

class TArea {
  public:
    virtual ~TArea();

    // The area class of the running edition (none for editions without
    // area filtering).
    static std::unique_ptr<TArea> create_for_edition(int editionCode);
    // The class, then LoadSelection from the section.
    static std::unique_ptr<TArea> create_from_settings(int editionCode, const QString& section);

    int unit_count() const { return static_cast<int>(codes_.size()); }
    const QString& unit_code(int index) const { return codes_[static_cast<size_t>(index)]; }
    // The index of a code (upper case), −1 when unknown.
    int unit_index(const QString& code) const;
    bool selected(int index) const { return selection_[static_cast<size_t>(index)] != 0; }
    void set_selected(int index, bool selected) {
        selection_[static_cast<size_t>(index)] = selected ? 1 : 0;
    }
    bool any_selected() const;
    void clear_selection();
    // "PE-BO-OT": the selected codes in table order (empty when none).
    QString selection_text() const;
    virtual TAreaFrameKind frame_kind() const = 0;
    virtual std::unique_ptr<TArea> clone() const = 0;

    // Adds the units named in the text. Strict: errors raise
    // TDistributionError; lenient: the first error selects everything.
    virtual void ParseDistribution(const QString& text, const QString& taxonName, bool strict);
    // "Selected Area" of the section: parsed leniently, or SelectAll.
    virtual void LoadSelection(const QString& section);
    // Writes the selection as "Selected Area" of the section.
    virtual void SaveSelection(const QString& section) const;
    virtual void SelectAll();
    // Takes over another area's selection.
    virtual void AssignSelection(const TArea& other);
    // Called on a taxon's area with the selected area.
    virtual bool SharesUnitWith(const TArea& other) const;
    virtual bool SharesMainCountryWith(const TArea& other) const;
    virtual bool IsSingleCountry() const = 0;
    virtual bool IsNotSingleCountry() const;
    virtual void SingleCountryName(QString& name) const = 0;
    // Whether the country of a locality (its text) is selected.
    virtual bool CountryNameSelected(const QString& country) const = 0;
    virtual bool NoMainCountrySelected() const;
    virtual bool OtherCountriesSelected() const;
    // The names of the selected units, for the list's distribution note.
    virtual void SelectedNames(QString& names) const;

    // The frame of frame_kind() is loaded from and read into the selection.
    // A frame with another number of items is a programming error, shown
    // and otherwise ignored.
    void LoadIntoFrame(TAreaSelectionFrame& frame) const;
    void ReadFromFrame(const TAreaSelectionFrame& frame);
    bool FrameChanged(const TAreaSelectionFrame& frame) const;

  protected:
    explicit TArea(QStringList codes);
    TArea(const TArea&) = default;
    TArea& operator=(const TArea&) = default;

    bool check_frame(const TAreaSelectionFrame& frame) const;

    QStringList codes_;
    std::vector<std::uint8_t> selection_;
};

// Edition 101: the countries of Latin America, with Peru, Bolivia and
// Paraguay as the main countries and OT for all the others.
class TBoliviaEtcArea : public TArea {
  public:
    enum Unit {
        ME,
        GA,
        ES,
        BE,
        HO,
        NI,
        CR,
        PN,
        VE,
        TR,
        GU,
        CO,
        EC,
        PE,
        BO,
        PA,
        BR,
        AR,
        UR,
        CH,
        OT,
        UnitCount
    };

    TBoliviaEtcArea();
    // The unit's name in the interface language.
    static QString unit_name(int index);

    TAreaFrameKind frame_kind() const override { return TAreaFrameKind::BoliviaEtc; }
    std::unique_ptr<TArea> clone() const override;

    void LoadSelection(const QString& section) override;
    bool SharesUnitWith(const TArea& other) const override;
    bool SharesMainCountryWith(const TArea& other) const override;
    bool IsSingleCountry() const override;
    void SingleCountryName(QString& name) const override;
    bool CountryNameSelected(const QString& country) const override;
    bool NoMainCountrySelected() const override;
    bool OtherCountriesSelected() const override;
    void SelectedNames(QString& names) const override;
};

// Edition 106.
class TTropicalAsiaArea : public TArea {
  public:
    enum Unit {
        IN,
        SR,
        NE,
        BU,
        TH,
        IC,
        MA,
        SI,
        BO,
        SU,
        JA,
        BA,
        LE,
        SW,
        HA,
        MO,
        CH,
        HK,
        TA,
        PH,
        UnitCount
    };

    TTropicalAsiaArea();
    // Units that occur in distributions but are never offered for selection.
    static bool never_selectable(int index) { return index >= LE && index <= MO; }
    void clear_never_selectable();

    TAreaFrameKind frame_kind() const override { return TAreaFrameKind::TropicalAsia; }
    std::unique_ptr<TArea> clone() const override;

    void SelectAll() override;
    bool IsSingleCountry() const override;
    void SingleCountryName(QString& name) const override;
    bool CountryNameSelected(const QString& country) const override;
};

// Editions 111, 113, 114, 115, 120 and 130: inside or outside the country.
class TCountryArea : public TArea {
  public:
    enum Unit { IN, OU, UnitCount };

    explicit TCountryArea(int editionCode);
    const QString& country_letters() const { return country_letters_; }
    static QString outside_letter() { return QStringLiteral("O"); }

    TAreaFrameKind frame_kind() const override { return TAreaFrameKind::Country; }
    std::unique_ptr<TArea> clone() const override;

    void ParseDistribution(const QString& text, const QString& taxonName, bool strict) override;
    void LoadSelection(const QString& section) override;
    bool IsSingleCountry() const override;
    bool IsNotSingleCountry() const override;
    void SingleCountryName(QString& name) const override;
    bool CountryNameSelected(const QString& country) const override;

  private:
    QString country_letters_;
    bool outside_is_any_other_ = false;
};
