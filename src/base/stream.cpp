#include "base/stream.h"

#include "base/fsys.h"

#include <algorithm>
#include <cstring>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace orv {

void Stream::ReadExact(void* buf, size_t n) {
    if (n == 0)
        return;
    if (Read(buf, n) != n)
        throw StreamError("stream read error");
}

void Stream::WriteExact(const void* buf, size_t n) {
    if (n == 0)
        return;
    if (Write(buf, n) != n)
        throw StreamError("stream write error");
}

void Stream::Require(int64_t n) const {
    if (n < 0 || n > Remaining())
        throw StreamError("stored length exceeds the data");
}

namespace {
template <typename T> T Load(Stream& s) {
    uint8_t b[sizeof(T)];
    s.ReadExact(b, sizeof(T));
    uint64_t v = 0;
    for (size_t i = 0; i < sizeof(T); ++i)
        v |= static_cast<uint64_t>(b[i]) << (8 * i);
    return static_cast<T>(v);
}
template <typename T> void Store(Stream& s, T value) {
    uint8_t b[sizeof(T)];
    uint64_t v = static_cast<uint64_t>(value);
    for (size_t i = 0; i < sizeof(T); ++i)
        b[i] = static_cast<uint8_t>(v >> (8 * i));
    s.WriteExact(b, sizeof(T));
}
} // namespace

uint8_t Stream::ReadU8() {
    return Load<uint8_t>(*this);
}
bool Stream::ReadBool() {
    return ReadU8() != 0;
}
int16_t Stream::ReadI16() {
    return static_cast<int16_t>(Load<uint16_t>(*this));
}
uint16_t Stream::ReadU16() {
    return Load<uint16_t>(*this);
}
int32_t Stream::ReadI32() {
    return static_cast<int32_t>(Load<uint32_t>(*this));
}
uint32_t Stream::ReadU32() {
    return Load<uint32_t>(*this);
}
int64_t Stream::ReadI64() {
    return static_cast<int64_t>(Load<uint64_t>(*this));
}
double Stream::ReadF64() {
    uint64_t bits = Load<uint64_t>(*this);
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
}

std::vector<uint8_t> Stream::ReadBytes(int64_t n) {
    Require(n);
    std::vector<uint8_t> v(static_cast<size_t>(n));
    ReadExact(v.data(), v.size());
    return v;
}

std::string Stream::ReadString() {
    int32_t n = ReadI32();
    Require(n);
    std::string s(static_cast<size_t>(n), '\0');
    ReadExact(s.data(), s.size());
    return s;
}

void Stream::WriteString(const std::string& s) {
    if (s.size() > 0x7FFFFFFF)
        throw StreamError("string too long");
    WriteI32(static_cast<int32_t>(s.size()));
    WriteExact(s.data(), s.size());
}

void Stream::WriteU8(uint8_t v) {
    Store(*this, v);
}
void Stream::WriteI16(int16_t v) {
    Store(*this, static_cast<uint16_t>(v));
}
void Stream::WriteU16(uint16_t v) {
    Store(*this, v);
}
void Stream::WriteI32(int32_t v) {
    Store(*this, static_cast<uint32_t>(v));
}
void Stream::WriteU32(uint32_t v) {
    Store(*this, v);
}
void Stream::WriteI64(int64_t v) {
    Store(*this, static_cast<uint64_t>(v));
}
void Stream::WriteF64(double v) {
    uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    Store(*this, bits);
}

void Stream::CopyFrom(Stream& src, int64_t n) {
    if (n < 0)
        throw StreamError("negative copy length");
    // One buffer per thread, reused by every copy.
    thread_local std::vector<uint8_t> buf(size_t{1} << 20);
    while (n > 0) {
        size_t chunk = static_cast<size_t>(std::min<int64_t>(n, static_cast<int64_t>(buf.size())));
        src.ReadExact(buf.data(), chunk);
        WriteExact(buf.data(), chunk);
        n -= static_cast<int64_t>(chunk);
    }
}

// ---------------------------------------------------------------- memory

size_t MemoryStream::Read(void* buf, size_t n) {
    int64_t avail = Size() - pos_;
    if (avail <= 0)
        return 0;
    size_t k = static_cast<size_t>(std::min<int64_t>(avail, static_cast<int64_t>(n)));
    std::memcpy(buf, data_.data() + pos_, k);
    pos_ += static_cast<int64_t>(k);
    return k;
}

size_t MemoryStream::Write(const void* buf, size_t n) {
    if (n == 0)
        return 0;
    size_t end = static_cast<size_t>(pos_) + n;
    if (end > data_.size())
        data_.resize(end);
    std::memcpy(data_.data() + pos_, buf, n);
    pos_ = static_cast<int64_t>(end);
    return n;
}

void MemoryStream::Seek(int64_t pos) {
    if (pos < 0)
        throw StreamError("seek before start");
    pos_ = pos;
}

void MemoryStream::SetSize(int64_t size) {
    if (size < 0)
        throw StreamError("negative size");
    data_.resize(static_cast<size_t>(size));
    if (pos_ > size)
        pos_ = size;
}

size_t ViewStream::Read(void* buf, size_t n) {
    int64_t avail = Size() - pos_;
    if (avail <= 0)
        return 0;
    size_t k = static_cast<size_t>(std::min<int64_t>(avail, static_cast<int64_t>(n)));
    std::memcpy(buf, data_ + pos_, k);
    pos_ += static_cast<int64_t>(k);
    return k;
}

void ViewStream::Seek(int64_t pos) {
    if (pos < 0)
        throw StreamError("seek before start");
    pos_ = pos;
}

size_t SubStream::Read(void* buf, size_t n) {
    int64_t avail = length_ - pos_;
    if (avail <= 0)
        return 0;
    size_t k = static_cast<size_t>(std::min<int64_t>(avail, static_cast<int64_t>(n)));
    base_.Seek(start_ + pos_);
    size_t got = base_.Read(buf, k);
    pos_ += static_cast<int64_t>(got);
    return got;
}

void SubStream::Seek(int64_t pos) {
    if (pos < 0)
        throw StreamError("seek before start");
    pos_ = pos;
}

// ------------------------------------------------------------------ file

FileStream::~FileStream() {
    Close();
}

bool FileStream::Open(const std::string& path, Mode mode) {
    Close();
    const char* m = mode == Mode::Read ? "rb" : mode == Mode::Create ? "wb" : "r+b";
    f_ = fsys::OpenFile(path, m);
    size_ = mode == Mode::Create ? 0 : -1;
    return f_ != nullptr;
}

bool FileStream::Flush() {
    return f_ && std::fflush(f_) == 0;
}

bool FileStream::Sync() {
    if (!Flush())
        return false;
#ifdef _WIN32
    return _commit(_fileno(f_)) == 0;
#else
    return fsync(fileno(f_)) == 0;
#endif
}

bool FileStream::Close() {
    if (!f_)
        return true;
    bool ok = std::fclose(f_) == 0;
    f_ = nullptr;
    size_ = -1;
    return ok;
}

size_t FileStream::Read(void* buf, size_t n) {
    return f_ ? std::fread(buf, 1, n, f_) : 0;
}

size_t FileStream::Write(const void* buf, size_t n) {
    if (!f_)
        return 0;
    size_t k = std::fwrite(buf, 1, n, f_);
    if (size_ >= 0 && k > 0)
        size_ = std::max(size_, Position());
    return k;
}

int64_t FileStream::Position() const {
    if (!f_)
        return 0;
#ifdef _WIN32
    return _ftelli64(f_);
#else
    return ftello(f_);
#endif
}

void FileStream::Seek(int64_t pos) {
    if (!f_ || pos < 0)
        throw StreamError("seek error");
#ifdef _WIN32
    int rc = _fseeki64(f_, pos, SEEK_SET);
#else
    int rc = fseeko(f_, pos, SEEK_SET);
#endif
    if (rc != 0)
        throw StreamError("seek error");
}

int64_t FileStream::Size() const {
    if (!f_)
        return 0;
    if (size_ >= 0)
        return size_;
    std::fflush(f_);
#ifdef _WIN32
    size_ = _filelengthi64(_fileno(f_));
#else
    int64_t cur = ftello(f_);
    fseeko(f_, 0, SEEK_END);
    size_ = ftello(f_);
    fseeko(f_, cur, SEEK_SET);
#endif
    return size_;
}

void FileStream::SetSize(int64_t size) {
    if (!f_ || size < 0)
        throw StreamError("cannot resize");
    std::fflush(f_);
#ifdef _WIN32
    int rc = _chsize_s(_fileno(f_), size);
#else
    int rc = ftruncate(fileno(f_), size);
#endif
    if (rc != 0)
        throw StreamError("cannot resize");
    size_ = size;
}

} // namespace orv
