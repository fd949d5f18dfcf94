#include "loader/container.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace vyk {

EntryHeader ParseEntryHeader(const uint8_t* p) {
    EntryHeader h;
    h.idLow = Le32(p + 8);
    h.idHigh = Le32(p + 12);
    h.size = Le64(p + 16);
    h.fileTime = Le64(p + 32);
    h.attributes = Le32(p + 40);
    return h;
}

void WriteEntryHeader(uint8_t* p, const EntryHeader& h) {
    std::memset(p, 0, kEntryHeaderSize);
    PutLe32(p, kEntryMagic);
    PutLe32(p + 8, h.idLow);
    PutLe32(p + 12, h.idHigh);
    PutLe64(p + 16, h.size);
    PutLe64(p + 32, h.fileTime);
    PutLe32(p + 40, h.attributes);
}

uint32_t MemorySource::Read(uint8_t* buf, size_t n, size_t& got) {
    got = std::min(n, size_ - pos_);
    if (got)
        std::memcpy(buf, data_ + pos_, got);
    pos_ += got;
    return err::kOk;
}

namespace {

// One zero-filled block from the caller's allocator, or from the C heap.
class Block {
public:
    Block(const lzma_allocator* alloc, size_t size) : alloc_(alloc) {
        if (alloc_ && alloc_->alloc) {
            p_ = static_cast<uint8_t*>(alloc_->alloc(alloc_->opaque, 1, size));
            if (p_)
                std::memset(p_, 0, size);
        } else {
            p_ = static_cast<uint8_t*>(std::calloc(1, size));
        }
    }
    ~Block() {
        if (!p_)
            return;
        if (alloc_ && alloc_->alloc)
            alloc_->free(alloc_->opaque, p_);
        else
            std::free(p_);
    }
    Block(const Block&) = delete;
    Block& operator=(const Block&) = delete;
    uint8_t* get() const { return p_; }

private:
    const lzma_allocator* alloc_;
    uint8_t* p_ = nullptr;
};

// The container's bytes through one read buffer: raw reads for the header
// fields, then the decoder pulls its input from the same buffer.
class Input {
public:
    Input(ByteSource& src, uint8_t* buf) : src_(src), buf_(buf) {}

    uint32_t Fill() {
        pos_ = len_ = 0;
        size_t got = 0;
        uint32_t rc = src_.Read(buf_, kPieceSize, got);
        if (rc)
            return rc;
        len_ = std::min(got, kPieceSize);
        eof_ = len_ == 0;
        return err::kOk;
    }

    // Copies up to n raw bytes; got < n only at the end of the source.
    uint32_t ReadRaw(uint8_t* dst, size_t n, size_t& got) {
        got = 0;
        while (got < n) {
            if (pos_ == len_) {
                if (eof_)
                    break;
                if (uint32_t rc = Fill())
                    return rc;
                continue;
            }
            size_t k = std::min(n - got, len_ - pos_);
            std::memcpy(dst + got, buf_ + pos_, k);
            pos_ += k;
            got += k;
        }
        return err::kOk;
    }

    size_t Available() const { return len_ - pos_; }
    const uint8_t* Next() const { return buf_ + pos_; }
    void Consume(size_t n) { pos_ += n; }
    bool AtEnd() const { return eof_; }

private:
    ByteSource& src_;
    uint8_t* buf_;
    size_t pos_ = 0, len_ = 0;
    bool eof_ = false;
};

class Decoder {
public:
    Decoder(Input& in, const lzma_allocator* alloc) : in_(in) { strm_.allocator = alloc; }
    ~Decoder() { lzma_end(&strm_); }
    Decoder(const Decoder&) = delete;
    Decoder& operator=(const Decoder&) = delete;

    uint32_t Init(const uint8_t* props, uint32_t maxDictionary) {
        uint32_t b = props[0];
        if (b > kMaxPropertiesByte)
            return err::kBadProperties;
        lzma_options_lzma opt{};
        opt.lc = b % 9;
        b /= 9;
        opt.lp = b % 5;
        opt.pb = b / 5;
        opt.dict_size = Le32(props + 1);
        if (opt.dict_size == 0)
            opt.dict_size = 1;
        opt.dict_size = std::min(opt.dict_size, maxDictionary);
        lzma_filter filters[2] = {{LZMA_FILTER_LZMA1, &opt}, {LZMA_VLI_UNKNOWN, nullptr}};
        switch (lzma_raw_decoder(&strm_, filters)) {
        case LZMA_OK:
            return err::kOk;
        case LZMA_MEM_ERROR:
            return err::kNotEnoughMemory;
        default:
            // Valid bytes that the decoder does not take (lc + lp above 4).
            return err::kBadProperties;
        }
    }

    // Decodes up to n bytes; got < n when the stream ends early. Returns a
    // read error of the source or err::kReadFault for a damaged stream.
    uint32_t Decode(uint8_t* out, size_t n, size_t& got) {
        got = 0;
        int idle = 0;
        while (got < n && !ended_) {
            if (in_.Available() == 0 && !in_.AtEnd()) {
                if (uint32_t rc = in_.Fill())
                    return rc;
            }
            const size_t availIn = in_.Available();
            strm_.next_in = in_.Next();
            strm_.avail_in = availIn;
            strm_.next_out = out + got;
            strm_.avail_out = n - got;
            lzma_ret ret = lzma_code(&strm_, LZMA_RUN);
            const size_t used = availIn - strm_.avail_in;
            const size_t made = (n - got) - strm_.avail_out;
            in_.Consume(used);
            got += made;
            if (ret == LZMA_STREAM_END) {
                ended_ = true;
                break;
            }
            if (ret == LZMA_BUF_ERROR)
                break; // no progress possible: the input is used up
            if (ret == LZMA_MEM_ERROR)
                return err::kNotEnoughMemory;
            if (ret != LZMA_OK)
                return err::kReadFault;
            if (used == 0 && made == 0) {
                if (in_.Available() == 0 && in_.AtEnd())
                    break; // the input ran out mid-stream
                // With input and room for output the decoder always moves;
                // never spin if it does not.
                if (++idle > 2)
                    return err::kReadFault;
            } else {
                idle = 0;
            }
        }
        return err::kOk;
    }

private:
    Input& in_;
    lzma_stream strm_ = LZMA_STREAM_INIT;
    bool ended_ = false;
};

// Decodes and drops size bytes of entry data.
uint32_t Skip(Decoder& dec, uint8_t* piece, uint64_t size) {
    while (size > 0) {
        const size_t n = size_t(std::min<uint64_t>(size, kPieceSize));
        size_t got = 0;
        if (uint32_t rc = dec.Decode(piece, n, got))
            return rc;
        if (got < n)
            return err::kEndOfFile;
        size -= n;
    }
    return err::kOk;
}

uint32_t WriteAll(EngineSink& sink, const uint8_t* p, size_t n) {
    while (n > 0) {
        size_t written = 0;
        if (uint32_t rc = sink.Write(p, n, written))
            return rc;
        if (written == 0)
            return err::kDiskFull;
        written = std::min(written, n);
        p += written;
        n -= written;
    }
    return err::kOk;
}

} // namespace

uint32_t UnpackEngine(ByteSource& src, EngineSink& sink, const lzma_allocator* alloc,
                      const UnpackLimits& limits) {
    Block inBuf(alloc, kPieceSize);
    Block piece(alloc, kPieceSize);
    if (!inBuf.get() || !piece.get())
        return err::kNotEnoughMemory;
    Input in(src, inBuf.get());

    // A short header reads as zeros and so fails the magic.
    uint8_t header[kContainerHeaderSize] = {};
    size_t got = 0;
    if (uint32_t rc = in.ReadRaw(header, sizeof header, got))
        return rc;
    if (Le32(header + kOffMagic) != kContainerMagic ||
        Le32(header + kOffVersion) != kContainerVersion)
        return err::kInvalidData;

    uint8_t pair[kCheckPairSize] = {};
    if (uint32_t rc = in.ReadRaw(pair, sizeof pair, got))
        return rc;
    if ((Le32(pair) ^ Le32(pair + 4)) != kCheckPairXor)
        return (Le32(header + kOffFlags) & kFlagCheckExpectedToFail) ? err::kCheckPair
                                                                     : err::kInvalidData;

    uint8_t props[kPropertiesSize] = {};
    if (uint32_t rc = in.ReadRaw(props, sizeof props, got))
        return rc;
    if (got < sizeof props)
        return err::kBadProperties;

    Decoder dec(in, alloc);
    if (uint32_t rc = dec.Init(props, limits.maxDictionary))
        return rc;

    EntryHeader entry;
    for (uint32_t skipped = 0;; ++skipped) {
        uint8_t eh[kEntryHeaderSize];
        if (uint32_t rc = dec.Decode(eh, sizeof eh, got))
            return rc;
        if (got < sizeof eh)
            return err::kReadFault;
        if (Le32(eh) != kEntryMagic)
            return err::kInvalidData;
        if (Le32(eh + 4) != 0)
            return err::kDataCheck;
        entry = ParseEntryHeader(eh);
        if (entry.IsEngine())
            break;
        if (skipped >= limits.maxEntries)
            return err::kInvalidData;
        if (uint32_t rc = Skip(dec, piece.get(), entry.size))
            return rc;
    }
    if (entry.size > limits.maxEngineSize)
        return err::kInvalidData;

    if (uint32_t rc = sink.Create(entry))
        return rc;
    for (uint64_t left = entry.size; left > 0;) {
        const size_t n = size_t(std::min<uint64_t>(left, kPieceSize));
        if (uint32_t rc = dec.Decode(piece.get(), n, got))
            return rc;
        if (got < n)
            return err::kEndOfFile;
        if (uint32_t rc = WriteAll(sink, piece.get(), n))
            return rc;
        left -= n;
    }
    return sink.Finish(entry);
}

} // namespace vyk
