#include "formats/datafile_reader.h"

#include "app/editions.h"
#include "app/file_helpers.h"
#include "app/messages.h"
#include "formats/textfile.h"
#include "platform/heap_pages.h"
#include "platform/text_encoding.h"

#include <QFile>
#include <algorithm>
#include <atomic>
#include <bit>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <string_view>

namespace {

const QString kHeaderStart = QStringLiteral("@#[");

// The first line feed from `at` on, or `end`. The files' lines are a dozen
// bytes long on average: eight bytes a step, without a library call per
// line, finds the end of most in one or two steps.
const char* nextLineFeed(const char* at, const char* end) {
    if constexpr (std::endian::native == std::endian::little) {
        constexpr std::uint64_t kOnes = 0x0101010101010101ull;
        constexpr std::uint64_t kHighBits = 0x8080808080808080ull;
        constexpr std::uint64_t kFeeds = 0x0a0a0a0a0a0a0a0aull;
        while (end - at >= 8) {
            std::uint64_t word;
            std::memcpy(&word, at, sizeof word);
            const std::uint64_t x = word ^ kFeeds;
            // The lowest byte marked is the first zero of x exactly; marks
            // above it may be false.
            const std::uint64_t zeros = (x - kOnes) & ~x & kHighBits;
            if (zeros) return at + std::countr_zero(zeros) / 8;
            at += 8;
        }
    }
    while (at != end && *at != '\n') ++at;
    return at;
}

// Whether the line starts a section: "@#[".
bool isHeader(const char* at, const char* end) {
    return end - at >= 3 && at[0] == '@' && at[1] == '#' && at[2] == '[';
}

}  // namespace

struct TDataFileReader::TEncodingVerdict {
    explicit TEncodingVerdict(QByteArray all) : bytes(std::move(all)) {}
    QByteArray bytes;  // the whole file's, shared, not copied
    std::once_flag once;
    std::atomic<bool> known{false};
    platform::TextEncoding value = platform::TextEncoding::Ascii;
};

platform::TextEncoding TDataFileReader::encoding() const {
    if (!encoding_) return platform::TextEncoding::Ascii;
    TEncodingVerdict& verdict = *encoding_;
    std::call_once(verdict.once, [&] {
        verdict.value = platform::detectEncoding(verdict.bytes);
        verdict.known.store(true, std::memory_order_release);
    });
    return verdict.value;
}

void TDataFileReader::set_bytes(QByteArray bytes) {
    bytes_ = std::move(bytes);
    encoding_ = std::make_shared<TEncodingVerdict>(bytes_);
    current_start_ = 0;
    next_start_ = 0;
    past_end_ = false;
    next_index_ = 0;
}

TDataFileReader::TLine TDataFileReader::line_from(qsizetype start) const {
    const qsizetype size = bytes_.size();
    const char* data = bytes_.constData();
    const char* const end = data + size;
    const char* const feed = start < size ? nextLineFeed(data + start, end) : end;
    TLine line;
    line.start = start;
    line.end = feed - data;
    line.next = feed != end ? line.end + 1 : size;
    if (line.end > start && data[line.end - 1] == '\r') --line.end;
    return line;
}

QString TDataFileReader::decoded(const TLine& line) const {
    return text(QByteArrayView(bytes_.constData() + line.start, line.end - line.start));
}

QString TDataFileReader::text(QByteArrayView raw) const {
    if (raw.isEmpty()) return {};
    const bool known = encoding_ && encoding_->known.load(std::memory_order_acquire);
    QString text = !known && platform::isAscii(raw) ? QString::fromLatin1(raw)
                                                    : platform::decodeText(raw, encoding());
    if (raw.contains(QByteArrayView("LINEFEED_ONLY_REPLACER")))
        text.replace(QStringLiteral("LINEFEED_ONLY_REPLACER"), QStringLiteral("\n"));
    return text;
}

bool TDataFileReader::starts_with(const TLine& line, const QByteArray& asciiPrefix) const {
    // Most lines differ from a header in their first byte.
    if (line.end - line.start < asciiPrefix.size()) return false;
    const char* const at = bytes_.constData() + line.start;
    if (!asciiPrefix.isEmpty() && at[0] != asciiPrefix[0]) return false;
    return QByteArrayView(at, asciiPrefix.size()) == QByteArrayView(asciiPrefix);
}

bool TDataFileReader::open_data_file(const QString& fileName, bool fatal) {
    QString fullPath;
    const bool found = GLB_find_program_file(fileName, fullPath);
    auto file = std::make_unique<QFile>(fullPath);
    if (!found || !file->open(QIODevice::ReadOnly)) {
        if (fatal) throw TLoadError("File \"" + fullPath + "\" could not be loaded!");
        return false;
    }
    path_ = fullPath;
    const qint64 size = file->size();
    uchar* mapped = size > 0 ? file->map(0, size) : nullptr;
    if (mapped) {
        platform::map_file_pages_now(mapped, static_cast<unsigned long long>(size));
        set_bytes(QByteArray::fromRawData(reinterpret_cast<const char*>(mapped), size));
    } else {
        set_bytes(file->readAll());
        file->close();
    }
    // The previous file's bytes are gone from bytes_ now; its mapping may go.
    file_ = std::move(file);
    current_line_ = next_line();
    return true;
}

void TDataFileReader::open_part(const TDataFileReader& whole, qsizetype from, qsizetype to) {
    path_ = whole.path_;
    from = std::clamp<qsizetype>(from, 0, whole.bytes_.size());
    to = std::clamp<qsizetype>(to, from, whole.bytes_.size());
    bytes_ = QByteArray::fromRawData(whole.bytes_.constData() + from, to - from);
    file_.reset();  // after its bytes are no longer this reader's
    // The whole file's encoding: a part alone might look like another.
    encoding_ = whole.encoding_;
    current_start_ = 0;
    next_start_ = 0;
    past_end_ = false;
    next_index_ = 0;
    current_line_ = next_line();
}

void TDataFileReader::end_part_at(qsizetype to) {
    to = std::clamp<qsizetype>(to, current_start(), bytes_.size());
    bytes_ = QByteArray::fromRawData(bytes_.constData(), to);
    if (current_start_ >= to) past_end_ = true;
}

qsizetype TDataFileReader::header_at_or_after(qsizetype at) const {
    const std::string_view all(bytes_.constData(), static_cast<size_t>(bytes_.size()));
    if (at <= 0) {
        if (all.starts_with("@#[")) return 0;
        at = 0;
    }
    if (at > bytes_.size()) return bytes_.size();
    const size_t found = all.find("\n@#[", static_cast<size_t>(at - (at > 0 ? 1 : 0)));
    return found == std::string_view::npos ? bytes_.size() : static_cast<qsizetype>(found) + 1;
}

void TDataFileReader::open_text(const QString& pathForMessages, const QString& text) {
    path_ = pathForMessages;
    set_bytes(text.toUtf8());
    file_.reset();
    current_line_ = next_line();
}

QString TDataFileReader::next_line() {
    // An empty file still has one (empty) line.
    const bool lineLeft =
        !past_end_ && (next_start_ < bytes_.size() || (next_index_ == 0 && bytes_.isEmpty()));
    if (!lineLeft) {
        past_end_ = true;  // the current line is past the end too
        current_start_ = bytes_.size();
        current_line_.clear();
        current_line_decoded_ = true;
        return {};
    }
    const TLine line = line_from(next_start_);
    current_start_ = line.start;
    next_start_ = line.next;
    ++next_index_;
    current_line_ = decoded(line);
    current_line_decoded_ = true;
    return current_line_;
}

qsizetype TDataFileReader::current_index() const {
    const qsizetype breaks =
        std::count(bytes_.constBegin(), bytes_.constBegin() + current_start_, '\n');
    // Past the end, the current line is the one after the last.
    const bool unterminated = !bytes_.isEmpty() && bytes_.back() != '\n';
    return past_end_ ? breaks + (unterminated || bytes_.isEmpty() ? 1 : 0) : breaks;
}

const QByteArray& TDataFileReader::ascii_header(const QString& name) {
    if (!header_known_ || name != header_name_) {
        const QString header = kHeaderStart + name + u']';
        const QByteArray latin1Header = header.toLatin1();
        const bool ascii =
            QString::fromLatin1(latin1Header) == header && platform::isAscii(latin1Header);
        header_name_ = name;
        header_bytes_ = ascii ? latin1Header : QByteArray();
        header_known_ = true;
    }
    return header_bytes_;
}

qsizetype TDataFileReader::find_section(const QString& name, bool fatal) {
    // Names are plain ASCII in practice, so the bytes can be compared as
    // they are; any other name is compared as text.
    const QByteArray& asciiHeader = ascii_header(name);
    const bool ascii = !asciiHeader.isEmpty();
    const QString header = ascii ? QString() : kHeaderStart + name + u']';
    // The search starts at the current line.
    qsizetype at = past_end_ ? bytes_.size() : current_start_;
    while (at < bytes_.size()) {
        const TLine line = line_from(at);
        if (ascii ? starts_with(line, asciiHeader) : decoded(line).startsWith(header))
            return line.next;
        at = line.next;
    }
    if (fatal) {
        const Ttextfile_handler& t = GLB_texts();
        throw TLoadError(t.line(QStringLiteral("BS_DATA"), 3) + path_ + u'\n' +
                         t.line(QStringLiteral("BS_DATA"), 4) + " \"" + kHeaderStart + name +
                         u']' + "\" " + t.line(QStringLiteral("BS_DATA"), 5));
    }
    return -1;
}

void TDataFileReader::continue_at(qsizetype start) {
    // Reading goes on at the header that ended the section; a section that
    // ends the file leaves the reader past its end, so it is not found twice.
    if (start < bytes_.size()) {
        const TLine line = line_from(start);
        current_start_ = line.start;
        next_start_ = line.next;
        current_line_decoded_ = false;
    } else {
        current_start_ = next_start_ = bytes_.size();
        past_end_ = true;
        current_line_.clear();
        current_line_decoded_ = true;
    }
}

const QString& TDataFileReader::current_line() const {
    if (!current_line_decoded_) {
        current_line_ = decoded(line_from(current_start_));
        current_line_decoded_ = true;
    }
    return current_line_;
}

bool TDataFileReader::read_section(const QString& name, bool fatal, int lastIndex,
                                   QStringList& target, int& count) {
    std::vector<QByteArrayView> lines;
    const bool found = read_section_bytes(name, fatal, lastIndex, lines, count);
    const qsizetype wanted = std::max(lastIndex + 1, 0);
    if (!found) {
        count = 0;
        return false;
    }
    if (target.size() < wanted) target.resize(wanted);
    for (int i = 0; i < count; ++i) target[i] = text(lines[static_cast<size_t>(i)]);
    for (qsizetype i = count; i < target.size(); ++i) target[i].clear();
    return true;
}

bool TDataFileReader::read_whole_section(const QString& name, bool fatal, QStringList& target) {
    target.clear();
    std::vector<QByteArrayView> lines;
    if (!read_whole_section_bytes(name, fatal, lines)) return false;
    target.reserve(static_cast<qsizetype>(lines.size()));
    for (const QByteArrayView line : lines) target.push_back(text(line));
    return true;
}

bool TDataFileReader::read_section_bytes(const QString& name, bool fatal, int lastIndex,
                                         std::vector<QByteArrayView>& target, int& count) {
    count = 0;
    target.clear();
    qsizetype at = find_section(name, fatal);
    if (at < 0) return false;
    const qsizetype wanted = std::max(lastIndex + 1, 0);
    while (at < bytes_.size()) {
        const TLine line = line_from(at);
        if (isHeader(bytes_.constData() + line.start, bytes_.constData() + line.end)) break;
        if (count < wanted) {
            target.emplace_back(bytes_.constData() + line.start, line.end - line.start);
            ++count;
        }
        at = line.next;
    }
    continue_at(at);
    return true;
}

bool TDataFileReader::read_whole_section_bytes(const QString& name, bool fatal,
                                               std::vector<QByteArrayView>& target) {
    target.clear();
    qsizetype at = find_section(name, fatal);
    if (at < 0) return false;
    while (at < bytes_.size()) {
        const TLine line = line_from(at);
        if (isHeader(bytes_.constData() + line.start, bytes_.constData() + line.end)) break;
        target.emplace_back(bytes_.constData() + line.start, line.end - line.start);
        at = line.next;
    }
    continue_at(at);
    return true;
}

void TDataFileReader::corrupt_line_report(const QString& what, int errorNumber,
                                          const QString& hint) const {
    QString middle = QStringLiteral(" corrupt! Error ");
    switch (GLB_edition().language) {
        case TLanguage::Spanish:
            middle = QStringLiteral(" corrupto! Error ");
            break;
        case TLanguage::Dutch:
            middle = QStringLiteral(" corrupt! Fout ");
            break;
        default:
            break;
    }
    throw TLoadError(what + middle + QString::number(errorNumber) + u'\n' + "hint: \"" + hint +
                     u'"');
}
