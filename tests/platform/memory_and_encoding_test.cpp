#include "platform/bulk_memory.h"
#include "platform/dialog_service.h"
#include "platform/text_encoding.h"
#include "support/scripted_dialogs.h"

#include <gtest/gtest.h>
#include <QStringDecoder>

#include <cstdint>
#include <cstring>
#include <random>
#include <thread>

using namespace platform;

namespace {

// What detection must agree with: the whole text decoded at once.
TextEncoding wholeTextVerdict(const QByteArray& bytes) {
    if (std::all_of(bytes.begin(), bytes.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return TextEncoding::Ascii;
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = utf8.decode(bytes);  // the decoding happens on conversion
    return utf8.hasError() ? TextEncoding::Windows1252 : TextEncoding::Utf8;
}

}  // namespace

TEST(TextEncoding, DetectionAgreesWithDecodingTheWholeText) {
    // Pieces a data file is made of: plain text, accented letters, symbols
    // of three and four bytes, and the faults UTF-8 forbids (a lone
    // continuation byte, a cut sequence, an overlong form, a surrogate,
    // Windows-1252 quotes).
    const std::vector<QByteArray> pieces = {
        "Gray Tinamou", " ", "\n", "0123456789ABC", "Per\xc3\xba", "\xc3\xb1", "\xe2\x82\xac",
        "\xf0\x9f\x90\xa6", "\x80", "\xc3", "\xe2\x82", "\xc0\xaf", "\xed\xa0\x80", "\x93q\x94",
        "\xf4\x90\x80\x80", "\xef\xbf\xbe"};
    std::mt19937 random(20261208);
    for (int text = 0; text < 4000; ++text) {
        QByteArray bytes;
        const int count = std::uniform_int_distribution<int>(0, 12)(random);
        for (int i = 0; i < count; ++i)
            bytes += pieces[std::uniform_int_distribution<size_t>(0, pieces.size() - 1)(random)];
        ASSERT_EQ(detectEncoding(bytes), wholeTextVerdict(bytes)) << bytes.toHex(' ').toStdString();
    }
    // A long plain stretch before and after the only character that decides.
    const QByteArray plain(100000, 'a');
    EXPECT_EQ(detectEncoding(plain), TextEncoding::Ascii);
    EXPECT_EQ(detectEncoding(plain + "\xc3\xba" + plain), TextEncoding::Utf8);
    EXPECT_EQ(detectEncoding(plain + "\xfa" + plain), TextEncoding::Windows1252);
    EXPECT_EQ(detectEncoding(plain + "\xc3"), TextEncoding::Windows1252);
}

TEST(BulkMemory, PiecesAreAlignedDisjointAndCountedUntilTheOwnerGoes) {
    const std::size_t before = BulkMemory::process_mapped_bytes();
    {
        BulkMemory memory;
        std::vector<std::pair<char*, std::size_t>> pieces;
        std::mt19937 random(7);
        for (int i = 0; i < 3000; ++i) {
            const std::size_t size = std::uniform_int_distribution<std::size_t>(1, 5000)(random);
            const std::size_t alignment = std::size_t(1) << (i % 5);  // 1 .. 16
            char* piece = static_cast<char*>(memory.allocate(size, alignment));
            ASSERT_EQ(reinterpret_cast<std::uintptr_t>(piece) % alignment, 0u);
            std::memset(piece, i & 0xFF, size);
            pieces.emplace_back(piece, size);
        }
        // A piece larger than a block gets room of its own.
        const std::size_t large = BulkMemory::kBlockSize * 2 + 100;
        char* big = static_cast<char*>(memory.allocate(large, 8));
        std::memset(big, 0x5A, large);
        // Every piece kept what was written into it: none overlaps another.
        for (size_t i = 0; i < pieces.size(); ++i) {
            const auto [piece, size] = pieces[i];
            for (std::size_t b = 0; b < size; b += 97)
                ASSERT_EQ(static_cast<unsigned char>(piece[b]), i & 0xFF) << "piece " << i;
        }
        EXPECT_EQ(big[large - 1], 0x5A);
        EXPECT_EQ(memory.mapped_bytes() % BulkMemory::kBlockSize, 0u);
        EXPECT_GE(memory.mapped_bytes(), large + 3000u);
        EXPECT_EQ(BulkMemory::process_mapped_bytes(), before + memory.mapped_bytes());
    }
    EXPECT_EQ(BulkMemory::process_mapped_bytes(), before);
}

TEST(DialogService, BoxesAskedOffTheInterfaceThreadWaitForIt) {
    testing_support::DialogScript script;
    int answerThere = 0;
    std::thread worker([&] {
        answerThere = DialogService::message("first", "Cap", box::IconStop);
        DialogService::message("second?", "Cap", box::QuestionYesNoCancelDefault2);
    });
    worker.join();
    // Nothing was shown from the worker; its boxes took their default answers.
    EXPECT_TRUE(script.messages().empty());
    EXPECT_EQ(answerThere, answer::Ok);
    DialogService::showQueuedMessages();
    ASSERT_EQ(script.messages().size(), 2u);
    EXPECT_EQ(script.messages()[0].text, QStringLiteral("first"));
    EXPECT_EQ(script.messages()[0].style, box::IconStop);
    EXPECT_EQ(script.messages()[1].text, QStringLiteral("second?"));
    // Shown once only.
    DialogService::showQueuedMessages();
    EXPECT_EQ(script.messages().size(), 2u);
}
