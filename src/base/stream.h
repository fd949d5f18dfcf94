// Byte streams with little-endian helpers. Every read of outside bytes goes
// through these: a short read throws StreamError, and stored counts and
// lengths are checked with Remaining() before anything is allocated.
#pragma once

#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

namespace orv {

// A failed bounded read or write inside a reader or writer. The record that
// catches it turns it into the one report with its operation code.
class StreamError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class Stream {
public:
    virtual ~Stream() = default;

    // Reads up to n bytes; returns how many were read.
    virtual size_t Read(void* buf, size_t n) = 0;
    // Writes n bytes; returns how many were written.
    virtual size_t Write(const void* buf, size_t n) = 0;
    virtual int64_t Position() const = 0;
    virtual void Seek(int64_t pos) = 0;
    virtual int64_t Size() const = 0;
    virtual void SetSize(int64_t size) = 0;

    int64_t Remaining() const {
        int64_t r = Size() - Position();
        return r > 0 ? r : 0;
    }

    // Exact transfers: throw StreamError when not every byte moves.
    void ReadExact(void* buf, size_t n);
    void WriteExact(const void* buf, size_t n);

    uint8_t ReadU8();
    bool ReadBool();
    int16_t ReadI16();
    uint16_t ReadU16();
    int32_t ReadI32();
    uint32_t ReadU32();
    int64_t ReadI64();
    double ReadF64();
    // Reads exactly n bytes after checking that they remain.
    std::vector<uint8_t> ReadBytes(int64_t n);

    void WriteU8(uint8_t v);
    void WriteBool(bool v) { WriteU8(v ? 1 : 0); }
    void WriteI16(int16_t v);
    void WriteU16(uint16_t v);
    void WriteI32(int32_t v);
    void WriteU32(uint32_t v);
    void WriteI64(int64_t v);
    void WriteF64(double v);
    void WriteBytes(const std::vector<uint8_t>& v) { WriteExact(v.data(), v.size()); }

    // The stored string: int32 byte count, then the bytes (ANSI, no
    // terminator). A negative count or one beyond the remaining bytes throws.
    std::string ReadString();
    void WriteString(const std::string& s);

    // Throws StreamError unless n bytes remain. Use before allocating for a
    // stored count or length.
    void Require(int64_t n) const;

    // Copies n bytes from src at its position to this stream at its position,
    // in pieces, so a large copy needs no large buffer.
    void CopyFrom(Stream& src, int64_t n);
};

// A growable stream in memory.
class MemoryStream : public Stream {
public:
    MemoryStream() = default;
    explicit MemoryStream(std::vector<uint8_t> data) : data_(std::move(data)) {}
    MemoryStream(const void* data, size_t n)
        : data_(static_cast<const uint8_t*>(data), static_cast<const uint8_t*>(data) + n) {}

    size_t Read(void* buf, size_t n) override;
    size_t Write(const void* buf, size_t n) override;
    int64_t Position() const override { return pos_; }
    void Seek(int64_t pos) override;
    int64_t Size() const override { return static_cast<int64_t>(data_.size()); }
    void SetSize(int64_t size) override;

    const std::vector<uint8_t>& Data() const { return data_; }
    std::vector<uint8_t>& Data() { return data_; }
    void Clear() {
        data_.clear();
        pos_ = 0;
    }

private:
    std::vector<uint8_t> data_;
    int64_t pos_ = 0;
};

// A read-only view of bytes owned elsewhere (fuzzers, clipboard blocks).
class ViewStream : public Stream {
public:
    ViewStream(const void* data, size_t n) : data_(static_cast<const uint8_t*>(data)), size_(n) {}
    size_t Read(void* buf, size_t n) override;
    size_t Write(const void*, size_t) override { return 0; }
    int64_t Position() const override { return pos_; }
    void Seek(int64_t pos) override;
    int64_t Size() const override { return static_cast<int64_t>(size_); }
    void SetSize(int64_t) override { throw StreamError("stream is read-only"); }

private:
    const uint8_t* data_;
    size_t size_;
    int64_t pos_ = 0;
};

// A window [start, start + length) of another stream, read-only; reads stop
// at its end, so a reader cannot run into bytes that follow (a trailer).
class SubStream : public Stream {
public:
    SubStream(Stream& base, int64_t start, int64_t length)
        : base_(base), start_(start), length_(length) {}
    size_t Read(void* buf, size_t n) override;
    size_t Write(const void*, size_t) override { return 0; }
    int64_t Position() const override { return pos_; }
    void Seek(int64_t pos) override;
    int64_t Size() const override { return length_; }
    void SetSize(int64_t) override { throw StreamError("stream is read-only"); }

private:
    Stream& base_;
    int64_t start_, length_, pos_ = 0;
};

// A file opened for reading, writing (created or truncated) or updating.
// Paths are ANSI strings; on Windows they go to the wide file functions.
class FileStream : public Stream {
public:
    enum class Mode { Read, Create, Update };
    FileStream() = default;
    ~FileStream() override;
    FileStream(const FileStream&) = delete;
    FileStream& operator=(const FileStream&) = delete;

    // Returns false (and leaves the stream closed) when the file cannot be
    // opened.
    bool Open(const std::string& path, Mode mode);
    bool IsOpen() const { return f_ != nullptr; }
    // Flushes buffered bytes to the operating system; false on failure.
    bool Flush();
    // Flushes to the device (for saves that must survive a crash).
    bool Sync();
    bool Close();

    size_t Read(void* buf, size_t n) override;
    size_t Write(const void* buf, size_t n) override;
    int64_t Position() const override;
    void Seek(int64_t pos) override;
    int64_t Size() const override;
    void SetSize(int64_t size) override;

private:
    std::FILE* f_ = nullptr;
    // The file's size, tracked across writes so Size() and Remaining() need
    // no seek (a seek would throw away the read buffer); -1 until known.
    mutable int64_t size_ = -1;
};

} // namespace orv
