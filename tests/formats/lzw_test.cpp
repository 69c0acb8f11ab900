#include "formats/lzw_compression.h"
#include "formats/lzw_file.h"
#include "support/scripted_dialogs.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using lzw::LZW_TCompressor;
using Status = LZW_TCompressor::Status;

namespace {

std::vector<std::uint8_t> bytes(const std::string& s) {
    return {s.begin(), s.end()};
}

// Packs codes two in three bytes, high bits first, as a writer must.
std::vector<std::uint8_t> pack(const std::vector<unsigned>& codes) {
    std::vector<std::uint8_t> out;
    for (size_t i = 0; i < codes.size(); i += 2) {
        const unsigned a = codes[i];
        out.push_back(static_cast<std::uint8_t>(a >> 4));
        const unsigned b = i + 1 < codes.size() ? codes[i + 1] : 0;
        out.push_back(static_cast<std::uint8_t>(((a & 15) << 4) | (b >> 8)));
        if (i + 1 < codes.size()) out.push_back(static_cast<std::uint8_t>(b & 0xFF));
    }
    return out;
}

std::vector<std::uint8_t> round_trip(const std::vector<std::uint8_t>& data, Status expected = Status::Ok) {
    std::vector<std::uint8_t> out;
    EXPECT_EQ(lzw::LZW_decode_all(lzw::LZW_encode(data), out), expected);
    return out;
}

QByteArray qbytes(const std::vector<std::uint8_t>& v) {
    return QByteArray(reinterpret_cast<const char*>(v.data()), static_cast<qsizetype>(v.size()));
}

}  // namespace

TEST(LzwDictionary, PlacementRule) {
    lzw::TDictionary d;
    EXPECT_EQ(d.free_count(), 3840);
    // A byte's code is where its hash put it, not the byte's value.
    const auto h = [](unsigned prefix, unsigned c) {
        const std::uint32_t x = (prefix + c) | 0x800;
        return ((x * x) >> 6) & 4095;
    };
    EXPECT_EQ(d.root('a'), h(0xFFFF, 'a'));
    EXPECT_NE(d.root('a'), unsigned{'a'});
    for (unsigned b = 0; b < 256; ++b) EXPECT_EQ(d.root(static_cast<std::uint8_t>(b)), *d.find(0xFFFF, b));

    // Two strings that hash to one slot: the second goes to the first free
    // slot from the chain's last entry + 101, and is linked from it.
    unsigned prefix = d.root('x');
    std::uint8_t c1 = 0, c2 = 0;
    bool found = false;
    for (unsigned a = 0; a < 256 && !found; ++a)
        for (unsigned b = a + 1; b < 256 && !found; ++b)
            if (h(prefix, a) == h(prefix, b) && !d.used(h(prefix, a))) {
                c1 = static_cast<std::uint8_t>(a), c2 = static_cast<std::uint8_t>(b), found = true;
            }
    ASSERT_TRUE(found);
    const unsigned first = d.add(static_cast<std::uint16_t>(prefix), c1);
    EXPECT_EQ(first, h(prefix, c1));
    unsigned expected = (first + 101) & 4095;
    while (d.used(expected)) expected = (expected + 1) & 4095;
    EXPECT_EQ(d.add(static_cast<std::uint16_t>(prefix), c2), expected);
    EXPECT_EQ(d.find(static_cast<std::uint16_t>(prefix), c2), expected);
    EXPECT_EQ(d.free_count(), 3838);
}

TEST(LzwDecoder, HandMadeStreams) {
    lzw::TDictionary d;
    const unsigned a = d.root('a'), b = d.root('b');
    // "a", then the code being defined by its own step: "aa" (prefix a +
    // its first byte); then that string again.
    const unsigned aa = d.slot_for(static_cast<std::uint16_t>(a), 'a');
    std::vector<std::uint8_t> out;
    EXPECT_EQ(lzw::LZW_decode_all(pack({a, aa, aa, b}), out), Status::Ok);
    EXPECT_EQ(out, bytes("aaaaab"));

    // An odd number of codes ends in two bytes with four padding bits.
    out.clear();
    EXPECT_EQ(lzw::LZW_decode_all(pack({a, b, a}), out), Status::Ok);
    EXPECT_EQ(out, bytes("aba"));

    // A stream whose length modulo 3 is 1 is refused.
    auto broken = pack({a, b});
    broken.push_back(0x12);
    out.clear();
    EXPECT_EQ(lzw::LZW_decode_all(broken, out), Status::BadPiece);

    // An unused code that is not the entry being defined names nothing.
    unsigned stray = 0;
    while (d.used(stray) || stray == aa) ++stray;
    out.clear();
    EXPECT_EQ(lzw::LZW_decode_all(pack({a, stray}), out), Status::BadCode);
    out.clear();
    EXPECT_EQ(lzw::LZW_decode_all(pack({stray, a}), out), Status::BadCode);
}

TEST(LzwDecoder, StringsLongerThanTheStackAreRefused) {
    // Each code names the string its own step defines: a, aa, aaa, ...
    lzw::TDictionary d;
    std::vector<unsigned> codes{d.root('a')};
    for (int i = 0; i < 1003; ++i) {
        const unsigned next = d.slot_for(static_cast<std::uint16_t>(codes.back()), 'a');
        d.add(static_cast<std::uint16_t>(codes.back()), 'a');
        codes.push_back(next);
    }
    std::vector<std::uint8_t> out;
    EXPECT_EQ(lzw::LZW_decode_all(pack(codes), out), Status::StackFull);
}

TEST(LzwDecoder, RoundTrips) {
    EXPECT_TRUE(round_trip({}).empty());
    EXPECT_EQ(round_trip(bytes("a")), bytes("a"));
    EXPECT_EQ(round_trip(bytes("TOBEORNOTTOBEORTOBEORNOT")), bytes("TOBEORNOTTOBEORTOBEORNOT"));
    // A long run makes strings as long as the stack allows, and the output
    // crosses the buffer's flush point many times.
    const std::vector<std::uint8_t> run(700000, 0xFF);
    EXPECT_EQ(round_trip(run), run);
    // Random bytes fill the dictionary; decoding goes on with it full.
    std::vector<std::uint8_t> noise(300000);
    QRandomGenerator random(7);
    for (auto& x : noise) x = static_cast<std::uint8_t>(random.bounded(256));
    EXPECT_EQ(round_trip(noise), noise);
    // Rows of a picture: repeats at many distances.
    std::vector<std::uint8_t> rows;
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 333; ++x) rows.push_back(static_cast<std::uint8_t>((x / 7 + y / 5) % 6));
    EXPECT_EQ(round_trip(rows), rows);
}

TEST(LzwDecoder, SinkSeesBytesInOrderInPiecesOfBoundedSize) {
    std::vector<std::uint8_t> data(100000);
    for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i * 7 % 251);
    const auto stream = lzw::LZW_encode(data);
    std::vector<std::uint8_t> out;
    size_t largest = 0;
    LZW_TCompressor decoder([&](const std::uint8_t* p, size_t n) {
        largest = std::max(largest, n);
        out.insert(out.end(), p, p + n);
        return true;
    });
    for (size_t at = 0; at < stream.size(); at += LZW_TCompressor::kPieceSize)
        ASSERT_EQ(decoder.decode(stream.data() + at, std::min(LZW_TCompressor::kPieceSize, stream.size() - at)),
                  Status::Ok);
    EXPECT_EQ(decoder.finish(), Status::Ok);
    EXPECT_EQ(out, data);
    EXPECT_LE(largest, LZW_TCompressor::kBufferSize);
    EXPECT_GT(largest, LZW_TCompressor::kBufferSize - LZW_TCompressor::kStopRoom - 1);
}

TEST(LzwHeader, MagicVersionAndSize) {
    using Problem = lzw::THeaderFields::Problem;
    const auto parse = [](std::string header) {
        header.resize(lzw::kHeaderSize, ' ');
        return lzw::LZW_parse_header(std::span(reinterpret_cast<const std::uint8_t*>(header.data()), header.size()));
    };
    const auto withFields = [](const std::string& version, const std::string& size) {
        std::string h = lzw::LZW_make_header(0);
        h.replace(lzw::kVersionOffset, 11, version + std::string(11 - version.size(), ' '));
        h.replace(lzw::kSizeOffset, 11, std::string(11 - size.size(), ' ') + size);
        return h;
    };
    EXPECT_EQ(parse(lzw::LZW_make_header(1234)).size, 1234u);
    EXPECT_EQ(parse(" " + lzw::LZW_make_header(5)).problem, Problem::NoMagic);
    const auto spaced = parse(withFields("  1 0 ", "7"));
    EXPECT_EQ(spaced.problem, Problem::None);
    EXPECT_EQ(spaced.version, 10);
    EXPECT_EQ(parse(withFields("100", "7")).problem, Problem::None);
    EXPECT_EQ(parse(withFields("101", "7")).problem, Problem::VersionTooNew);
    EXPECT_EQ(parse(withFields("1x", "7")).problem, Problem::StrangeVersion);
    EXPECT_EQ(parse(withFields("1", "-5")).problem, Problem::BadSize);
    // The header is a text that ends at its first zero byte.
    std::string cut = lzw::LZW_make_header(9);
    cut[30] = '\0';
    EXPECT_EQ(parse(cut).problem, Problem::StrangeVersion);
}

class LzwFileTest : public ::testing::Test {
  protected:
    QString write(const QByteArray& contents) {
        const QString path = dir.filePath(QStringLiteral("f%1.lzw").arg(++count));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(contents);
        return path;
    }
    QByteArray header(std::uint64_t size) {
        return QByteArray::fromStdString(lzw::LZW_make_header(size));
    }
    QTemporaryDir dir;
    int count = 0;
    testing_support::DialogScript script;
};

TEST_F(LzwFileTest, ReadsIntoABlockAfterCF) {
    const std::vector<std::uint8_t> data = bytes("BMsome bitmap bytes, some bitmap bytes");
    const QString path = write(qbytes(lzw::LZW_make_file(data)));
    EXPECT_TRUE(LZW_is_compressed_file(path));
    TGlobalMemory block;
    EXPECT_EQ(LZW_read_compressed_file_into_memory(path, true, block), 0);
    ASSERT_TRUE(block);
    EXPECT_EQ(*block, QByteArray("CF") + qbytes(data));
    EXPECT_TRUE(script.messages().empty());
}

TEST_F(LzwFileTest, HeaderOnlyFiles) {
    TGlobalMemory block;
    EXPECT_EQ(LZW_read_compressed_file_into_memory(write(header(0)), true, block), 0);
    EXPECT_EQ(*block, QByteArray("CF"));
    EXPECT_TRUE(script.messages().empty());
    // Fewer bytes than the header promised: said whatever the report flag.
    EXPECT_EQ(LZW_read_compressed_file_into_memory(write(header(10)), false, block), 0);
    EXPECT_EQ(block->size(), 12);
    EXPECT_EQ(script.lastMessage(),
              QStringLiteral("read_compressed_file_into_memory(): less bytes than expected!"));
}

TEST_F(LzwFileTest, BadFilesGiveTheirCodes) {
    TGlobalMemory block;
    EXPECT_EQ(LZW_read_compressed_file_into_memory(dir.filePath("missing"), true, block), 991);
    ASSERT_GE(script.messages().size(), 2u);
    EXPECT_TRUE(script.messages()[0].text.startsWith("open_in_and_out_files(): error opening file"));
    EXPECT_EQ(script.messages()[1].text, "read_compressed_file_into_memory(): file open error");
    EXPECT_EQ(script.messages()[1].style, 0);

    EXPECT_FALSE(LZW_is_compressed_file(write("short")));
    EXPECT_EQ(LZW_read_compressed_file_into_memory(write("short"), false, block), 992);
    QByteArray tooNew = header(3);
    tooNew.replace(41, 11, "        101");
    EXPECT_EQ(LZW_read_compressed_file_into_memory(write(tooNew), true, block), 992);
    EXPECT_EQ(script.messages()[script.messages().size() - 2].text,
              "version of compressed file can not be used!");
    EXPECT_EQ(script.lastMessage(), "read_compressed_file_into_memory(): error");

    // More data than the size field allows never goes past the block.
    const std::vector<std::uint8_t> data(5000, 'z');
    QByteArray longer = header(100) + qbytes(lzw::LZW_encode(data));
    EXPECT_EQ(LZW_read_compressed_file_into_memory(write(longer), false, block), 993);
    ASSERT_TRUE(block);
    EXPECT_EQ(block->size(), 102);

    // A stream of 3n + 1 bytes.
    const QByteArray odd = header(2) + QByteArray(4, '\x01');
    EXPECT_EQ(LZW_read_compressed_file_into_memory(write(odd), false, block), 995);
    EXPECT_EQ(script.lastMessage(), "Compression: error 1");
}
