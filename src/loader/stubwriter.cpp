#include "loader/stubwriter.h"

#include "loader/container.h"
#include "loader/textcodec.h"

#include <lzma.h>

#include <cstdio>
#include <cstring>

namespace vyk {

namespace {

class Encoder {
public:
    ~Encoder() { lzma_end(&strm_); }

    bool Init(const StubOptions& o, lzma_options_lzma& opt, std::string& error) {
        if (lzma_lzma_preset(&opt, o.preset)) {
            error = "unsupported LZMA preset";
            return false;
        }
        opt.lc = o.lc;
        opt.lp = o.lp;
        opt.pb = o.pb;
        if (o.dictSize)
            opt.dict_size = o.dictSize;
        lzma_filter filters[2] = {{LZMA_FILTER_LZMA1, &opt}, {LZMA_VLI_UNKNOWN, nullptr}};
        if (lzma_raw_encoder(&strm_, filters) != LZMA_OK) {
            error = "the LZMA encoder does not take these options";
            return false;
        }
        return true;
    }

    bool Feed(const uint8_t* p, size_t n, std::vector<uint8_t>& out) {
        if (n == 0)
            return true;
        strm_.next_in = p;
        strm_.avail_in = n;
        return Run(LZMA_RUN, out);
    }

    bool Finish(std::vector<uint8_t>& out) { return Run(LZMA_FINISH, out); }

private:
    bool Run(lzma_action action, std::vector<uint8_t>& out) {
        uint8_t buf[kPieceSize];
        for (;;) {
            strm_.next_out = buf;
            strm_.avail_out = sizeof buf;
            lzma_ret ret = lzma_code(&strm_, action);
            out.insert(out.end(), buf, buf + (sizeof buf - strm_.avail_out));
            if (ret == LZMA_STREAM_END)
                return true;
            if (ret != LZMA_OK)
                return false;
            if (action == LZMA_RUN && strm_.avail_in == 0)
                return true;
        }
    }

    lzma_stream strm_ = LZMA_STREAM_INIT;
};

void PutContainerHeader(uint8_t* h, uint32_t flags, uint64_t payload) {
    std::memset(h, 0, kContainerHeaderSize);
    PutLe32(h + kOffMagic, kContainerMagic);
    PutLe32(h + kOffVersion, kContainerVersion);
    PutLe32(h + kOffFlags, flags);
    PutLe64(h + kOffPayloadSize, payload);
}

} // namespace

bool BuildStubContainer(const std::vector<PackEntry>& entries, const StubOptions& options,
                        std::vector<uint8_t>& out, std::string& error) {
    lzma_options_lzma opt{};
    Encoder enc;
    if (!enc.Init(options, opt, error))
        return false;
    out.assign(kContainerHeaderSize + kCheckPairSize + kPropertiesSize, 0);
    for (const PackEntry& e : entries) {
        uint8_t h[kEntryHeaderSize];
        WriteEntryHeader(h, {e.idLow, e.idHigh, e.size, e.fileTime, e.attributes});
        if (!enc.Feed(h, sizeof h, out) || !enc.Feed(e.data, e.size, out)) {
            error = "LZMA encoding failed";
            return false;
        }
    }
    if (!enc.Finish(out)) {
        error = "LZMA encoding failed";
        return false;
    }
    uint8_t* h = out.data();
    const size_t streamAt = kContainerHeaderSize + kCheckPairSize + kPropertiesSize;
    PutContainerHeader(h, options.flags, out.size() - kContainerHeaderSize);
    // Any pair whose exclusive or is the constant; taking one word from the
    // stream keeps the output reproducible.
    const uint32_t first = lzma_crc32(h + streamAt, out.size() - streamAt, 0);
    PutLe32(h + kContainerHeaderSize, first);
    PutLe32(h + kContainerHeaderSize + 4, first ^ kCheckPairXor);
    uint8_t* props = h + kContainerHeaderSize + kCheckPairSize;
    props[0] = uint8_t((opt.pb * 5 + opt.lp) * 9 + opt.lc);
    PutLe32(props + 1, opt.dict_size);
    return true;
}

std::vector<uint8_t> BuildArchiveSection(const Guid& packageCode, const uint8_t* data,
                                         size_t size) {
    std::vector<uint8_t> out(kContainerHeaderSize + size, 0);
    PutContainerHeader(out.data(), 0, size);
    std::memcpy(out.data() + kOffPackageCode, packageCode.data(), packageCode.size());
    if (size)
        std::memcpy(out.data() + kContainerHeaderSize, data, size);
    return out;
}

std::string FormatGuid(const Guid& g) {
    char s[40];
    std::snprintf(s, sizeof s, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  unsigned(Le32(g.data())), unsigned(Le16(g.data() + 4)),
                  unsigned(Le16(g.data() + 6)), g[8], g[9], g[10], g[11], g[12], g[13], g[14],
                  g[15]);
    return s;
}

bool ParseGuid(std::string_view t, Guid& g) {
    if (t.size() != 38 || t.front() != '{' || t.back() != '}')
        return false;
    // Hex digit positions of each byte in the platform's byte order.
    static constexpr int kPos[16] = {7, 5, 3, 1, 12, 10, 17, 15, 20, 22, 25, 27, 29, 31, 33, 35};
    for (size_t i : {9u, 14u, 19u, 24u})
        if (t[i] != '-')
            return false;
    auto hex = [](char c) -> int {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    };
    for (int i = 0; i < 16; ++i) {
        const int hi = hex(t[kPos[i]]), lo = hex(t[kPos[i] + 1]);
        if (hi < 0 || lo < 0)
            return false;
        g[i] = uint8_t(hi << 4 | lo);
    }
    return true;
}

bool EncodeTrailer(std::string_view utf8, TrailerEncoding encoding, std::vector<uint8_t>& out,
                   std::string& error) {
    out.clear();
    auto append = [&out](std::string_view s) { out.insert(out.end(), s.begin(), s.end()); };
    switch (encoding) {
    case TrailerEncoding::None:
        return true;
    case TrailerEncoding::Ansi: {
        std::string ansi;
        if (!Utf8ToCp1252(utf8, ansi)) {
            error = "the trailer text has characters outside Windows-1252";
            return false;
        }
        append("<|");
        append(ansi);
        append("|>");
        return true;
    }
    case TrailerEncoding::Utf8: {
        std::u16string check;
        if (!Utf8ToUtf16(utf8, check)) {
            error = "the trailer text is not UTF-8";
            return false;
        }
        append("\xEF\xBB\xBF<|");
        append(utf8);
        append("|>");
        return true;
    }
    case TrailerEncoding::Utf16: {
        std::u16string wide;
        if (!Utf8ToUtf16(utf8, wide)) {
            error = "the trailer text is not UTF-8";
            return false;
        }
        wide = u"<|" + wide + u"|>";
        for (char16_t c : wide) {
            out.push_back(uint8_t(c));
            out.push_back(uint8_t(c >> 8));
        }
        return true;
    }
    }
    return false;
}

} // namespace vyk
