// vykpack: makes an installer from VykLoader.exe, an engine library and an
// optional archive.
#include "args.h"

#include "loader/packer.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr const char* kUsage =
    "usage: vykpack --loader FILE --engine FILE --output FILE [options]\n"
    "  --archive FILE            installation archive for the .vykarch section\n"
    "  --arguments TEXT          the \"Arguments\" version string (default empty)\n"
    "  --trailer TEXT            argument trailer appended to the file\n"
    "  --trailer-encoding E      ansi (Windows-1252), utf8 or utf16 (default utf8)\n"
    "  --entry FILE              another entry stored before the engine (repeatable)\n"
    "  --engine-attributes N     file attributes of the extracted engine (default 0x20)\n"
    "  --package-code GUID       {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX} (default: new)\n"
    "  --product-code GUID       (default: new)\n"
    "  --preset N                LZMA preset 0..9 (default 6)\n";

// 100-ns intervals between 1601-01-01 and 1970-01-01.
constexpr int64_t kFileTimeEpochOffset = 116444736000000000;

fs::path Utf8Path(const std::string& s) {
    return fs::path(std::u8string(s.begin(), s.end()));
}

bool ReadFile(const std::string& name, std::vector<uint8_t>& out, std::string& error) {
    std::ifstream f(Utf8Path(name), std::ios::binary);
    if (!f) {
        error = "cannot open " + name;
        return false;
    }
    out.assign(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
    if (f.bad()) {
        error = "cannot read " + name;
        return false;
    }
    return true;
}

uint64_t FileTimeOf(const std::string& name) {
    std::error_code ec;
    const auto t = fs::last_write_time(Utf8Path(name), ec);
    if (ec)
        return 0;
    const auto sys = std::chrono::file_clock::to_sys(t);
    const auto ticks =
        std::chrono::duration_cast<std::chrono::duration<int64_t, std::ratio<1, 10000000>>>(
            sys.time_since_epoch())
            .count();
    const int64_t ft = ticks + kFileTimeEpochOffset;
    return ft > 0 ? uint64_t(ft) : 0;
}

vyk::Guid NewGuid() {
    std::random_device rd;
    vyk::Guid g;
    for (auto& b : g)
        b = uint8_t(rd());
    g[7] = uint8_t((g[7] & 0x0F) | 0x40); // version 4, random
    g[8] = uint8_t((g[8] & 0x3F) | 0x80);
    return g;
}

// A 32-bit number, decimal or 0x-hexadecimal. unsigned long is 32 bits on
// Windows and 64 on Linux: parse wide so both refuse the same texts.
bool ParseNumber(const std::string& s, uint32_t& v) {
    if (s.empty() || s[0] < '0' || s[0] > '9')
        return false; // no sign or spaces, which strtoull would take
    char* end = nullptr;
    errno = 0;
    const unsigned long long n = std::strtoull(s.c_str(), &end, 0);
    if (*end || errno == ERANGE || n > 0xFFFFFFFFull)
        return false;
    v = uint32_t(n);
    return true;
}

int Fail(const std::string& why) {
    std::fprintf(stderr, "vykpack: %s\n", why.c_str());
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args = Utf8Arguments(argc, argv);
    std::string loader, engine, output, archive;
    std::vector<std::string> entries;
    vyk::PackInput in;
    in.packageCode = NewGuid();
    in.productCode = NewGuid();
    bool haveTrailer = false;
    in.trailerEncoding = vyk::TrailerEncoding::Utf8;

    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (i + 1 >= args.size())
            return Fail("missing value after " + a + "\n" + kUsage);
        const std::string& v = args[++i];
        uint32_t n = 0;
        if (a == "--loader") {
            loader = v;
        } else if (a == "--engine") {
            engine = v;
        } else if (a == "--output" || a == "-o") {
            output = v;
        } else if (a == "--archive") {
            archive = v;
        } else if (a == "--arguments") {
            in.arguments = v;
        } else if (a == "--trailer") {
            in.trailer = v;
            haveTrailer = true;
        } else if (a == "--trailer-encoding") {
            if (v == "ansi")
                in.trailerEncoding = vyk::TrailerEncoding::Ansi;
            else if (v == "utf8")
                in.trailerEncoding = vyk::TrailerEncoding::Utf8;
            else if (v == "utf16")
                in.trailerEncoding = vyk::TrailerEncoding::Utf16;
            else
                return Fail("unknown trailer encoding " + v);
        } else if (a == "--entry") {
            entries.push_back(v);
        } else if (a == "--engine-attributes") {
            if (!ParseNumber(v, in.engineAttributes))
                return Fail("bad attributes " + v);
        } else if (a == "--package-code") {
            if (!vyk::ParseGuid(v, in.packageCode))
                return Fail("bad GUID " + v);
        } else if (a == "--product-code") {
            if (!vyk::ParseGuid(v, in.productCode))
                return Fail("bad GUID " + v);
        } else if (a == "--preset") {
            if (!ParseNumber(v, n) || n > 9)
                return Fail("bad preset " + v);
            in.stub.preset = n;
        } else {
            return Fail("unknown option " + a + "\n" + kUsage);
        }
    }
    if (loader.empty() || engine.empty() || output.empty())
        return Fail(std::string("--loader, --engine and --output are required\n") + kUsage);
    if (!haveTrailer)
        in.trailerEncoding = vyk::TrailerEncoding::None;

    std::string error;
    if (!ReadFile(loader, in.loader, error) || !ReadFile(engine, in.engine, error))
        return Fail(error);
    in.engineTime = FileTimeOf(engine);
    if (!archive.empty() && !ReadFile(archive, in.archive, error))
        return Fail(error);
    for (const std::string& e : entries) {
        in.extraEntries.emplace_back();
        if (!ReadFile(e, in.extraEntries.back(), error))
            return Fail(error);
    }

    std::vector<uint8_t> packed;
    if (!vyk::PackInstaller(in, packed, error))
        return Fail(loader + ": " + error);

    // Write beside the target and rename, so a failed run leaves no half file.
    const fs::path target = Utf8Path(output);
    fs::path temp = target;
    temp += ".tmp";
    {
        std::ofstream f(temp, std::ios::binary | std::ios::trunc);
        f.write(reinterpret_cast<const char*>(packed.data()), std::streamsize(packed.size()));
        f.close();
        if (!f) {
            std::error_code ec;
            fs::remove(temp, ec);
            return Fail("cannot write " + output);
        }
    }
    std::error_code ec;
    fs::rename(temp, target, ec);
    if (ec) {
        fs::remove(temp, ec);
        return Fail("cannot write " + output);
    }
    return 0;
}
