// The small forms the records keep their parts in read back as what was
// put in, and the loader's sorting and finding of recordings by identifier
// keeps the file's rules.

#include "data/media_records.h"
#include "small_edition.h"

#include <QStringList>

using data_testing::DataTest;
using data_testing::SmallEdition;

TEST(RecordingIdentifier, ShortAsciiInTheRecordAnythingElseOnTheHeapAlike) {
    const QStringList texts{"", "1207B0003A", "123456789012345", "1234567890123456",
                            QStringLiteral("1207Ñ0003A"), QStringLiteral("ABC\u00e9")};
    for (const QString& text : texts) {
        const TRecordingIdentifier id(text);
        const bool ascii =
            std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x80; });
        EXPECT_EQ(id.is_inline(), ascii && text.size() <= 15) << text.toStdString();
        EXPECT_EQ(id.text(), text);
        EXPECT_EQ(id.size(), text.size());
        EXPECT_TRUE(id == text);
        EXPECT_FALSE(id == text + u'x');
        for (qsizetype i = 0; i < text.size(); ++i) EXPECT_EQ(id.at(i), text[i].unicode());
        // Copies are independent of the original.
        TRecordingIdentifier copy(text);
        {
            const TRecordingIdentifier other(QStringLiteral("XYZ"));
            copy = other;
        }
        EXPECT_EQ(copy.text(), QStringLiteral("XYZ"));
        copy = id;
        EXPECT_TRUE(copy == id);
        EXPECT_EQ(copy.text(), text);
    }
    EXPECT_FALSE(TRecordingIdentifier("1207B0003A") == TRecordingIdentifier("1207b0003A"));
    EXPECT_TRUE(TRecordingIdentifier(QStringLiteral("Ñ1")) == TRecordingIdentifier(QStringLiteral("Ñ1")));
}

TEST(SharedText, CopiesShareOneTextThatOutlivesTheFirstHolder) {
    TSharedText copy;
    {
        const TSharedText first(QStringLiteral("Song, distant."));
        copy = first;
        EXPECT_EQ(&copy.text(), &first.text());
    }
    EXPECT_EQ(copy, QStringLiteral("Song, distant."));
    EXPECT_EQ(copy, "Song, distant.");
    EXPECT_EQ(copy + u'!', QStringLiteral("Song, distant.!"));
    EXPECT_TRUE(TSharedText().isEmpty());
    EXPECT_TRUE(TSharedText(QString()).isEmpty());
    EXPECT_EQ(TSharedText().text(), QString());
    // Equal texts in different holders are equal.
    EXPECT_EQ(TSharedText(QStringLiteral("a")), TSharedText(QStringLiteral("a")));
    EXPECT_FALSE(TSharedText(QStringLiteral("a")) == TSharedText(QStringLiteral("b")));
}

TEST(SubspeciesReference, KeepsTheSubspeciesAndBothFlags) {
    Tsubspecies ssp;
    TSubspeciesReference none;
    EXPECT_FALSE(none.has_value());
    EXPECT_FALSE(std::optional<Tssp_data>(none).has_value());
    for (Tsubspecies* subspecies : {&ssp, static_cast<Tsubspecies*>(nullptr)}) {
        for (const bool p : {false, true}) {
            TSubspeciesReference ref = Tssp_data{subspecies, p};
            ASSERT_TRUE(ref.has_value());
            EXPECT_EQ(ref->subspecies, subspecies);
            EXPECT_EQ(ref->p_flag, p);
            EXPECT_EQ((*ref).subspecies, subspecies);
            const std::optional<Tssp_data> back = ref;
            ASSERT_TRUE(back.has_value());
            EXPECT_EQ(back->p_flag, p);
            ref = std::nullopt;
            EXPECT_FALSE(ref);
        }
    }
    EXPECT_EQ(TSubspeciesReference(Tssp_data{&ssp, true}), TSubspeciesReference(Tssp_data{&ssp, true}));
    EXPECT_FALSE(TSubspeciesReference(Tssp_data{&ssp, true}) ==
                 TSubspeciesReference(Tssp_data{&ssp, false}));
}

// A recording's items in another order follow their species' places there;
// equal places keep the order of loading, and an order that was not read
// holds no items.
TEST(RecordingItemsInOrders, BySpeciesPlaceThenLoadingOrder) {
    std::array<Tspecies, 4> species;
    const std::array<int, 4> places{5, -1, 2, 5};
    for (size_t i = 0; i < species.size(); ++i) {
        species[i].position_in_orders_2_to_4[0] = places[i];
        species[i].orders_read = 0b0011;  // orders 1 and 2
    }
    Tcutpart cut;
    std::array<Tcupaitem, 5> items;
    const std::array<size_t, 5> speciesOf{0, 1, 2, 3, 2};
    for (size_t i = 0; i < items.size(); ++i) {
        items[i].species = &species[speciesOf[i]];
        items[i].cut_part = &cut;
        items[i].item_number = static_cast<int>(i);
        (i ? items[i - 1].next_of_cut_part_in_orders[0] : cut.first_item_in_orders[0]) = &items[i];
    }
    const auto walk = [&](int order) {
        std::vector<int> numbers;
        for (const Tcupaitem* i = cut.first_item(order); i; i = i->next_of_cut_part(order))
            numbers.push_back(i->item_number);
        return numbers;
    };
    EXPECT_EQ(walk(1), (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(walk(2), (std::vector<int>{1, 2, 4, 0, 3}));
    EXPECT_EQ(walk(3), std::vector<int>{});
    EXPECT_EQ(items[3].next_of_cut_part(2), nullptr);
}

class RecordingList : public DataTest {};

// Identifiers differing only in letter case, a long one, one beyond ASCII
// and one given twice: the list is in text order, the first of a doubled
// identifier is the one found, and items find theirs by the exact text.
TEST_F(RecordingList, SortedByIdentifierFirstOfTwinsKeptItemsFindTheirs) {
    SmallEdition edition;
    const QString extra =
        "@#[]\n1207b0003A\n2\n50\n\n\nPE-MANU\n\n\n\n1\n"
        "@#[]\n1207B0003A\n2\n60\n\n\nPE-MANU\n\n\n\n2\n"
        "@#[]\n1207B0003A0000000000B\n2\n70\n\n\nPE-MANU\n\n\n\n3\n" +
        QStringLiteral("@#[]\n1207\u00d10003A\n2\n80\n\n\nPE-MANU\n\n\n\n4\n");
    edition.files.at("cutparts.txt") += extra;
    edition.replace("cupaitem.txt", "\n\n\n15A12\n",
                    QStringLiteral("\n\n\n1207\u00d10003A\n"));
    edition.replace("cupaitem.txt", "\n\n\n\n1207B0003A\n", "\n\n\n\n1207b0003A\n");
    std::unique_ptr<Tdata> data = load(edition);

    QStringList identifiers;
    for (const Tcutpart* c : data->cut_parts()) identifiers << c->identifier.text();
    QStringList sorted = identifiers;
    std::stable_sort(sorted.begin(), sorted.end(), GLB_text_order);
    EXPECT_EQ(identifiers, sorted);
    EXPECT_EQ(identifiers.count("1207B0003A"), 1);
    // The first of the twins, with its text "Shotgun" and 50 seconds.
    const Tcutpart* twin = data->cut_part_by_key("1207B0003A");
    ASSERT_TRUE(twin);
    EXPECT_EQ(twin->length, 50 * 1000);
    EXPECT_EQ(twin->number, 31029);
    ASSERT_TRUE(data->cut_part_by_key("1207B0003A0000000000B"));
    ASSERT_TRUE(data->cut_part_by_key(QStringLiteral("1207\u00d10003A")));

    // Items found the recordings their lines name, case and all.
    QStringList found;
    for (const Tcupaitem* i = data->last_item_loaded(); i; i = i->previous_loaded)
        found.prepend(i->cut_part->identifier.text());
    EXPECT_EQ(found, (QStringList{"1207B0003A", "801A0001", QStringLiteral("1207\u00d10003A"),
                                  "1207b0003A"}));
}
