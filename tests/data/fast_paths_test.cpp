// The quick ways the loader reads plain ASCII give what the general text
// rules give: the order of sorted lists and numbers read from a file's bytes.

#include "data/media_records.h"
#include "small_edition.h"

#include <QStringList>

using data_testing::DataTest;
using data_testing::SmallEdition;

namespace {

// The order as the text rules define it: ignoring case first, then exactly.
bool referenceOrder(const QString& a, const QString& b) {
    const int c = a.compare(b, Qt::CaseInsensitive);
    return c != 0 ? c < 0 : a < b;
}

}  // namespace

TEST(TextOrder, AgreesWithTheCaseInsensitiveRuleOnEveryPair) {
    // Letters of both cases, the punctuation between the upper and the lower
    // case letters, prefixes, and letters beyond ASCII before and after an
    // ASCII difference.
    const QStringList texts{
        "",        "a",      "A",       "ab",       "aB",       "AB",      "abc",   "b",
        "_",       "A_",     "a_",      "Aa",       "a[",       "A[",      "a`",    "Z",
        "z",       "[",      "1207B0003A", "1207b0003A", "1207B0003", "801A0001", "15A12",
        QStringLiteral("é"),   QStringLiteral("É"),  QStringLiteral("Ée"),  QStringLiteral("éE"),   QStringLiteral("aé"),   QStringLiteral("Aé"),  QStringLiteral("aÉ"), QStringLiteral("Ärger"),
        QStringLiteral("arger"), QStringLiteral("Zürich"), QStringLiteral("zurich"), QStringLiteral("\u212Aelvin"), QStringLiteral("kelvin"), "Kelvin",
    };
    for (const QString& a : texts)
        for (const QString& b : texts)
            EXPECT_EQ(GLB_text_order(a, b), referenceOrder(a, b))
                << a.toStdString() << " / " << b.toStdString();
}

class NumbersFromBytes : public DataTest {};

// Blanks around numbers are allowed, anything else makes a number invalid;
// a Windows-1252 file's no-break space counts as a blank, as it does as text.
TEST_F(NumbersFromBytes, BlanksSignsAndForeignBytesAsInText) {
    SmallEdition edition;
    edition.replace("cutparts.txt", "1207B0003A\n2\n50\n1630\n20000911\n",
                    "1207B0003A\n 2\t\n+50 \n1630x\n20000911\n");
    edition.replace("cutparts.txt", "Rain.\n31029\n", "Rain.\n-31029\n");
    std::unique_ptr<Tdata> data = load(edition);
    const Tcutpart* c = data->cut_part_by_key("1207B0003A");
    ASSERT_TRUE(c);
    EXPECT_EQ(c->compression_number, 2);
    EXPECT_EQ(c->length, 50 * 1000);
    EXPECT_EQ(c->number_4, -1);  // "1630x" is no number
    EXPECT_EQ(c->date, 20000911);
    EXPECT_EQ(c->number, -31029);

    // The same file in Windows-1252, with no-break spaces (byte A0) around
    // the date and an invalid byte sequence for UTF-8 elsewhere.
    QByteArray bytes = edition.files.at("cutparts.txt").toLatin1();
    bytes.replace("20000911", "\xA0" "20000912\xA0");
    bytes.replace("Rain.", "Lluvia \xF1.");
    dir.write("cutparts.txt", bytes);
    data = loadWritten();
    c = data->cut_part_by_key("1207B0003A");
    ASSERT_TRUE(c);
    EXPECT_EQ(c->date, 20000912);
    EXPECT_EQ(c->text_2, QStringLiteral("Lluvia ñ."));
}
