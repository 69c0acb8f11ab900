#include "platform/bulk_memory.h"
#include "platform/dialog_service.h"
#include "platform/heap_pages.h"
#include "platform/text_encoding.h"
#include "support/scripted_dialogs.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QStringDecoder>

#include <cstdint>
#include <cstring>
#include <optional>
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

namespace {

// Whether the kernel will back memory marked by the program with large pages.
bool largePagesOnRequest() {
    QFile setting(QStringLiteral("/sys/kernel/mm/transparent_hugepage/enabled"));
    if (!setting.open(QIODevice::ReadOnly)) return false;
    const QByteArray value = setting.readAll();
    return value.contains("[always]") || value.contains("[madvise]");
}

// The size of the mapping holding `address` and whether it is marked for
// large pages, from the process's detailed memory map.
struct Mapping {
    std::uintptr_t size = 0;
    bool largePages = false;
};
std::optional<Mapping> mappingOf(const void* address) {
    QFile maps(QStringLiteral("/proc/self/smaps"));
    if (!maps.open(QIODevice::ReadOnly)) return std::nullopt;
    const auto at = reinterpret_cast<std::uintptr_t>(address);
    std::optional<Mapping> found;
    bool inside = false;
    for (const QByteArray& line : maps.readAll().split('\n')) {
        // A mapping's line starts "from-to perms ..."; its details follow.
        const qsizetype dash = line.indexOf('-');
        const qsizetype blank = line.indexOf(' ');
        bool fromOk = false;
        bool toOk = false;
        const std::uintptr_t from = dash > 0 ? line.left(dash).toULongLong(&fromOk, 16) : 0;
        const std::uintptr_t to =
            blank > dash ? line.mid(dash + 1, blank - dash - 1).toULongLong(&toOk, 16) : 0;
        if (fromOk && toOk) {
            inside = at >= from && at < to;
            if (inside) found = Mapping{to - from, false};
        } else if (inside && line.startsWith("VmFlags:")) {
            // "hg": marked for large pages (whether a page is large yet
            // depends on the mapping's size).
            found->largePages = line.split(' ').contains("hg");
        }
    }
    return found;
}

}  // namespace

TEST(HeapPages, TheHeapsAreMarkedForLargePagesAndStayUsable) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer's allocator keeps heaps of its own";
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    GTEST_SKIP() << "the address sanitizer's allocator keeps heaps of its own";
#endif
#endif
    if (!largePagesOnRequest()) GTEST_SKIP() << "the system offers no large pages on request";
    use_large_pages_for_heap();
    // Blocks of the main heap, small and up to 1 MB, lie in one large
    // marked mapping.
    // (Twenty of each size: the first few may be blocks another thread gave
    // back, kept for reuse by this one.)
    std::vector<void*> blocks;
    for (std::size_t size : {16u, 4000u, 200000u, 900000u}) {
        for (int i = 0; i < 20; ++i) blocks.push_back(std::malloc(size));
        void* block = blocks.back();
        std::memset(block, 1, size);
        const std::optional<Mapping> mapping = mappingOf(block);
        ASSERT_TRUE(mapping.has_value());
        EXPECT_GE(mapping->size, std::uintptr_t(32) << 20) << size;
        EXPECT_TRUE(mapping->largePages) << size;
    }
    for (void* block : blocks) std::free(block);

    // A worker's own heap, once it asked, and its blocks stay usable.
    std::optional<Mapping> worker;
    std::thread([&] {
        use_large_pages_for_this_threads_heap();
        void* first = std::malloc(1000);
        worker = mappingOf(first);
        std::vector<void*> own{first};
        for (int i = 0; i < 2000; ++i) {
            own.push_back(std::malloc(1000));
            std::memset(own.back(), i & 0xFF, 1000);
        }
        for (int i = 0; i < 2000; ++i)
            ASSERT_EQ(static_cast<unsigned char*>(own[i + 1])[999], i & 0xFF);
        for (void* block : own) std::free(block);
    }).join();
    ASSERT_TRUE(worker.has_value());
    EXPECT_TRUE(worker->largePages);
}
