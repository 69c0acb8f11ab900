#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

// A recording held whole in memory: a growable byte buffer with a position,
// the name of the file it came from, and its own read and write failures
// reported to the user.
class TSoundMemoryStream {
  public:
    TSoundMemoryStream() = default;
    virtual ~TSoundMemoryStream() = default;
    TSoundMemoryStream(const TSoundMemoryStream&) = delete;
    TSoundMemoryStream& operator=(const TSoundMemoryStream&) = delete;

    // Loads the whole file; on failure shows "Error reading file <name>" and
    // sets failed. The name is kept in every case.
    virtual void LoadSoundFile(const QString& fileName, bool& failed);
    // Writes the whole buffer under a temporary name in the target's folder
    // and renames it into place when complete, so a failed save leaves no
    // half file; on failure shows "Error writing file <name>".
    virtual bool SaveSoundFile(const QString& fileName);
    // Keeps only the time slice; a stream kind without frames cannot.
    virtual bool CutSlice(double startSeconds, double lengthSeconds);

    // --- The memory stream --------------------------------------------------
    // Copies up to count bytes from the position; fewer at the end.
    std::int64_t read(void* target, std::int64_t count);
    // Reads a little-endian 32-bit number; the bytes missing at the end
    // read as 0.
    std::uint32_t read_u32_le();
    void write(const void* source, std::int64_t count);
    // Any position is allowed; reads beyond the end give nothing.
    void seek(std::int64_t position) { position_ = position < 0 ? 0 : position; }
    void skip(std::int64_t count) { seek(position_ + count); }
    std::int64_t position() const { return position_; }
    std::int64_t size() const { return buffer_.size(); }
    void set_size(std::int64_t size);
    bool empty() const { return buffer_.isEmpty(); }
    // Makes the bytes from..to (exclusive) the whole stream, position 0.
    void keep_range(std::int64_t from, std::int64_t to);

    const QByteArray& bytes() const { return buffer_; }
    QByteArray& bytes() { return buffer_; }
    const QString& file_name() const { return file_name_; }

  protected:
    std::uint8_t byte_at(std::int64_t offset) const {
        return static_cast<std::uint8_t>(buffer_[static_cast<qsizetype>(offset)]);
    }

  private:
    QByteArray buffer_;
    std::int64_t position_ = 0;
    QString file_name_;
};
