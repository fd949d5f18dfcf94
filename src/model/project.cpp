#include "model/project.h"

#include "base/fsys.h"
#include "base/random.h"
#include "model/codes.h"
#include "model/io.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <limits>

namespace orv::model {

using detail::Nest;
using detail::Reader;
using detail::Reported;
using detail::Writer;
namespace minsize = detail::minsize;

int TAuProject::FindPage(const std::string& name) const {
    for (size_t i = 0; i < Pages.size(); ++i)
        if (Pages[i]->Name == name)
            return static_cast<int>(i);
    return -1;
}

void ResetProject(TAuProject& project, bool withFirstPage) {
    project = TAuProject{};
    if (!withFirstPage)
        return;
    auto entry = std::make_unique<TFormData>();
    entry->Name = "Page1";
    entry->Summary.Name = "Unknown";
    auto page = MakeBlankPage(entry->Name);
    RecordingReporter quiet; // writing a blank page into memory cannot fail
    StorePageInCache(*entry, *page, quiet);
    project.Pages.push_back(std::move(entry));
    project.Modified = true;
}

// ----------------------------------------------------------- summaries

TObjectInfo MakeObjectInfo(const TAuObject& root) {
    TObjectInfo info;
    info.Name = root.Name;
    info.Kind = static_cast<uint8_t>(root.Kind());
    for (const auto& c : root.Children())
        info.Children.push_back(MakeObjectInfo(*c));
    return info;
}

void RefreshPageSummary(TFormData& page, const TAuObject& root) {
    page.Summary = MakeObjectInfo(root);
}

namespace {

// A read-only view of a file that knows its size and reads through its own
// buffer, so the many small reads of a page table and the bounds checks
// before every stored count cost no system call each.
class FileReadView : public Stream {
public:
    explicit FileReadView(FileStream& f)
        : f_(f), size_(f.Size()), pos_(f.Position()), filePos_(pos_) {}
    size_t Read(void* buf, size_t n) override {
        auto* out = static_cast<uint8_t*>(buf);
        size_t done = 0;
        while (done < n) {
            if (pos_ >= bufStart_ && pos_ < bufStart_ + static_cast<int64_t>(bufLen_)) {
                size_t off = static_cast<size_t>(pos_ - bufStart_);
                size_t k = std::min(n - done, bufLen_ - off);
                std::memcpy(out + done, buf_.data() + off, k);
                done += k;
                pos_ += static_cast<int64_t>(k);
                continue;
            }
            size_t want = n - done;
            SeekFile(pos_);
            if (want >= kChunk) { // large reads go straight to the caller
                size_t k = f_.Read(out + done, want);
                filePos_ += static_cast<int64_t>(k);
                pos_ += static_cast<int64_t>(k);
                done += k;
                if (k < want)
                    break;
                continue;
            }
            buf_.resize(kChunk);
            bufLen_ = f_.Read(buf_.data(), kChunk);
            bufStart_ = pos_;
            filePos_ += static_cast<int64_t>(bufLen_);
            if (bufLen_ == 0)
                break;
        }
        return done;
    }
    size_t Write(const void*, size_t) override { return 0; }
    int64_t Position() const override { return pos_; }
    void Seek(int64_t pos) override {
        if (pos < 0)
            throw StreamError("seek before start");
        pos_ = pos;
    }
    int64_t Size() const override { return size_; }
    void SetSize(int64_t) override { throw StreamError("read-only"); }

private:
    void SeekFile(int64_t p) {
        if (filePos_ != p) {
            f_.Seek(p);
            filePos_ = p;
        }
    }
    static constexpr size_t kChunk = 64 * 1024;
    FileStream& f_;
    int64_t size_;
    int64_t pos_;
    int64_t filePos_;
    std::vector<uint8_t> buf_;
    int64_t bufStart_ = 0;
    size_t bufLen_ = 0;
};

template <class IO> void SummaryNode(IO& io, TObjectInfo& n) {
    io.Record(code::kWriteSummary, code::kReadSummary, [&] {
        Nest nest(io.objectDepth);
        io.Version();
        io.Str("Name", n.Name);
        io.U8("Kind", n.Kind);
        io.List("Children", n.Children, minsize::kSummary,
                [&](TObjectInfo& c) { SummaryNode(io, c); });
    });
}

template <class IO> void PageEntry(IO& io, std::string& name, int32_t& position, int32_t& length) {
    io.Record(code::kWritePageEntry, code::kReadPageEntry, [&] {
        io.Version();
        io.Str("Name", name);
        io.I32("Position", position);
        io.I32("Length", length);
    });
}

template <class IO> void Settings(IO& io, TAuProject& p) {
    io.Version();
    io.Str("ApplicationTitle", p.ApplicationTitle);
    io.U8("Reserved1", p.Reserved1);
    io.F64("ReservedDate", p.ReservedDate);
    io.I32("Reserved2", p.Reserved2);
    io.Str("Reserved3", p.Reserved3);
    io.U8("Reserved4", p.Reserved4);
    io.Str("LauncherName", p.LauncherName);
    io.Str("IconName", p.IconName);
    io.Str("CDLabel", p.CDLabel);
    io.Str("ReservedText", p.ReservedText);
    io.Str("DataFileName", p.DataFileName);
    io.Actions("OnStart", p.OnStart);
    io.Actions("OnExit", p.OnExit);
    io.Actions("ReservedList", p.ReservedList);
}

constexpr char kSep = '\x01';

// The password field of the header text: the text before the first
// separator; with no separator at all it is empty.
std::string PasswordField(const std::string& text) {
    size_t p = text.find(kSep);
    return p == std::string::npos ? std::string() : text.substr(0, p);
}

uint32_t ClockSeed() {
    auto t = std::chrono::system_clock::now().time_since_epoch();
    auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(t).count();
    return static_cast<uint32_t>(ns ^ (ns >> 32));
}

} // namespace

// ---------------------------------------------------------------- load

bool ReadProjectStream(TAuProject& project, Stream& s, const std::string& name, Reporter& r,
                       const ProjectReadOptions& options) {
    ResetProject(project, false);
    TAuProject tmp;
    Reader io(s, r);
    std::string password;
    try {
        if (s.ReadI32() != kProjectMagic) {
            r.Show(msg::kBadMagic, msg::kBadMagicCaption, mb::kIconInformation | mb::kOk);
            return false;
        }
        if (s.ReadI32() != 0) {
            r.Show(msg::kTooNew, msg::kTooNewCaption, mb::kIconInformation | mb::kOk);
            return false;
        }
        bool ok = io.Run([&] {
            io.Guard(code::kReadHeader, [&] {
                int32_t k = s.ReadI32();
                if (k < 1 || k > 50)
                    throw StreamError("damaged header block");
                s.Require(4LL * k);
                for (int32_t i = 0; i < k; ++i)
                    tmp.HeaderFill.push_back(s.ReadI32());
                std::string text;
                io.Str("Header", text);
                for (char& c : text)
                    c = static_cast<char>(c ^ (k & 0xFF));
                tmp.HeaderKey = k;
                password = PasswordField(text);
            });
        });
        if (!ok)
            return false;
        if (!password.empty() && options.askPassword) {
            std::string answer;
            if (!options.askPassword(msg::kPasswordTitle, msg::kPasswordPrompt, answer))
                answer.clear();
            if (answer != password) {
                r.Show(msg::kBadPassword, msg::kBadPasswordCaption, mb::kIconInformation | mb::kOk);
                return false;
            }
        }
        s.ReadU8(); // reserved flag, ignored
        int32_t count = 0;
        ok = io.Run([&] {
            io.Guard(code::kReadSettings, [&] {
                Settings(io, tmp);
                count = s.ReadI32();
                if (count < 0)
                    throw StreamError("negative page count");
                s.Require(static_cast<int64_t>(count) * minsize::kPageEntry);
            });
            for (int32_t i = 0; i < count; ++i)
                tmp.Pages.push_back(std::make_unique<TFormData>());
            for (auto& e : tmp.Pages)
                PageEntry(io, e->Name, e->Position, e->Length);
            if (options.readSummaries) {
                for (auto& e : tmp.Pages)
                    SummaryNode(io, e->Summary);
            }
        });
        if (!ok)
            return false;
    } catch (const std::exception&) {
        r.ReportFileError(code::kLoadFile, name);
        return false;
    } catch (const Reported&) {
        return false;
    }
    tmp.ProjectPassword = password;
    tmp.Modified = false;
    project = std::move(tmp);
    return true;
}

bool ReadProjectFile(TAuProject& project, const std::string& file, Reporter& r,
                     const ProjectReadOptions& options) {
    FileStream f;
    if (!f.Open(file, FileStream::Mode::Read)) {
        ResetProject(project, false);
        r.ReportFileError(code::kLoadFile, file);
        return false;
    }
    FileReadView view(f);
    return ReadProjectStream(project, view, file, r, options);
}

// ---------------------------------------------------------------- save

bool WriteProjectStream(const TAuProject& project, Stream& out, Stream* oldStream,
                        const std::string& name, Reporter& r, const ProjectWriteOptions& options,
                        std::vector<PageSpan>& spans) {
    TAuProject& p = const_cast<TAuProject&>(project); // the walkers take non-const records
    bool progressShown = false;
    auto closeProgress = [&] {
        if (progressShown && options.progress.close)
            options.progress.close();
        progressShown = false;
    };
    spans.assign(p.Pages.size(), PageSpan{});
    try {
        // Everything before the page records is built in memory first: the
        // records' positions follow from the lengths known beforehand, so the
        // table is written once, with its final positions, in one piece.
        MemoryStream head;
        Writer io(head, r);
        head.WriteI32(kProjectMagic);
        head.WriteI32(0);
        const int32_t count = detail::CheckedCount(p.Pages.size());
        int64_t tablePos = 0;
        bool ok = io.Run([&] {
            io.Guard(code::kWriteHeader, [&] {
                int32_t k;
                std::vector<int32_t> fill;
                if (options.reuseHeader && p.HeaderKey >= 1 && p.HeaderKey <= 50 &&
                    p.HeaderFill.size() == static_cast<size_t>(p.HeaderKey)) {
                    k = p.HeaderKey;
                    fill = p.HeaderFill;
                } else {
                    Random::Seed(options.seed ? *options.seed : ClockSeed());
                    k = static_cast<int32_t>(Random::Next(50)) + 1;
                    for (int32_t i = 0; i < k; ++i)
                        fill.push_back(static_cast<int32_t>(Random::Next(2147483647u)));
                }
                head.WriteI32(k);
                for (int32_t v : fill)
                    head.WriteI32(v);
                std::string text = p.ProjectPassword + kSep + kSep + kSep;
                for (char& c : text)
                    c = static_cast<char>(c ^ (k & 0xFF));
                io.Str("Header", text);
            });
            head.WriteU8(1); // reserved flag
            io.Guard(code::kWriteSettings, [&] {
                Settings(io, p);
                head.WriteI32(count);
            });
            tablePos = head.Position();
            for (auto& e : p.Pages)
                PageEntry(io, e->Name, e->Position, e->Length);
            for (auto& e : p.Pages)
                SummaryNode(io, e->Summary);
            int64_t pos = out.Position() + head.Size();
            for (int32_t k = 0; k < count; ++k) {
                const TFormData& e = *p.Pages[static_cast<size_t>(k)];
                int64_t len = e.Cache ? e.Cache->Size() : std::max<int32_t>(e.Length, 0);
                if (pos > std::numeric_limits<int32_t>::max() ||
                    len > std::numeric_limits<int32_t>::max())
                    throw StreamError("project file too large");
                spans[static_cast<size_t>(k)] = {static_cast<int32_t>(pos),
                                                 static_cast<int32_t>(len)};
                pos += len;
            }
            // The names are unchanged, so the entries overwrite the first
            // copy exactly.
            head.Seek(tablePos);
            for (int32_t k = 0; k < count; ++k) {
                PageSpan& sp = spans[static_cast<size_t>(k)];
                PageEntry(io, p.Pages[static_cast<size_t>(k)]->Name, sp.Position, sp.Length);
            }
        });
        if (!ok)
            return false;
        out.WriteBytes(head.Data());

        if (options.progress.show) {
            options.progress.show(msg::kSaveProgressTitle, count);
            progressShown = true;
        }
        Writer copier(out, r);
        ok = copier.Run([&] {
            for (int32_t k = 0; k < count; ++k) {
                if (options.progress.step)
                    options.progress.step(k);
                TFormData& e = *p.Pages[static_cast<size_t>(k)];
                if (!e.Cache && !oldStream) {
                    r.Show(msg::kNoSource, msg::kErrorCaption, mb::kIconError | mb::kOk);
                    throw Reported{};
                }
                copier.Guard(code::kCopyPageRecord, [&] {
                    if (e.Cache) {
                        out.WriteBytes(e.Cache->Data());
                        return;
                    }
                    // The entry must lie inside the old file.
                    if (e.Position < 0 || e.Length < 0 ||
                        static_cast<int64_t>(e.Position) + e.Length > oldStream->Size())
                        throw StreamError("page record outside the old file");
                    oldStream->Seek(e.Position);
                    out.CopyFrom(*oldStream, e.Length);
                });
            }
        });
        closeProgress();
        return ok;
    } catch (const std::exception&) {
        closeProgress();
        r.ReportFileError(code::kSaveFile, name);
        return false;
    }
}

void CommitPageSpans(TAuProject& project, const std::vector<PageSpan>& spans) {
    if (spans.size() == project.Pages.size())
        for (size_t i = 0; i < spans.size(); ++i) {
            project.Pages[i]->Position = spans[i].Position;
            project.Pages[i]->Length = spans[i].Length;
        }
    project.Modified = false;
}

std::string SaveTempPath(const std::string& projectFile) {
    return projectFile + ".saving";
}

bool WriteProjectFile(TAuProject& project, const std::string& file, const std::string& oldFile,
                      Reporter& r, const ProjectWriteOptions& options,
                      std::vector<PageSpan>* spans) {
    // Truncating the file the pages are copied from would lose them.
    if (!oldFile.empty() && file == oldFile) {
        if (!SaveProjectFile(project, file, r, options))
            return false;
        if (spans) {
            spans->clear();
            for (const auto& e : project.Pages)
                spans->push_back({e->Position, e->Length});
        }
        return true;
    }
    FileStream old;
    std::unique_ptr<FileReadView> oldView;
    if (!oldFile.empty()) {
        if (!old.Open(oldFile, FileStream::Mode::Read)) {
            r.ReportFileError(code::kSaveFile, oldFile);
            return false;
        }
        oldView = std::make_unique<FileReadView>(old);
    }
    FileStream out;
    if (!out.Open(file, FileStream::Mode::Create)) {
        r.ReportFileError(code::kSaveFile, file);
        return false;
    }
    std::vector<PageSpan> newSpans;
    if (!WriteProjectStream(project, out, oldView.get(), file, r, options, newSpans))
        return false;
    // The write is complete only when it has reached the device.
    if (!out.Sync() || !out.Close()) {
        r.ReportFileError(code::kSaveFile, file);
        return false;
    }
    if (spans)
        *spans = std::move(newSpans);
    else
        CommitPageSpans(project, newSpans);
    return true;
}

bool SaveProjectFile(TAuProject& project, const std::string& projectFile, Reporter& r,
                     const ProjectWriteOptions& options) {
    std::string tmp = SaveTempPath(projectFile);
    std::string old = fsys::FileExists(projectFile) ? projectFile : std::string();
    std::vector<PageSpan> spans;
    if (!WriteProjectFile(project, tmp, old, r, options, &spans)) {
        fsys::RemoveFile(tmp);
        return false;
    }
    if (!fsys::MoveReplace(tmp, projectFile)) {
        r.ReportFileError(code::kSaveFile, projectFile);
        fsys::RemoveFile(tmp);
        return false;
    }
    CommitPageSpans(project, spans);
    return true;
}

void ReleasePageCaches(TAuProject& project) {
    for (auto& e : project.Pages)
        e->Cache.reset();
}

// --------------------------------------------------------- page access

bool LoadPageBytes(const TAuProject& project, int index, const std::string& projectFile,
                   std::vector<uint8_t>& bytes, Reporter& r) {
    if (index < 0 || static_cast<size_t>(index) >= project.Pages.size())
        return false;
    const TFormData& e = *project.Pages[static_cast<size_t>(index)];
    if (e.Cache) {
        bytes = e.Cache->Data();
        return true;
    }
    try {
        FileStream f;
        if (!f.Open(projectFile, FileStream::Mode::Read))
            throw StreamError("cannot open");
        if (e.Position < 0 || e.Length < 0 ||
            static_cast<int64_t>(e.Position) + e.Length > f.Size())
            throw StreamError("page record outside the file");
        f.Seek(e.Position);
        std::vector<uint8_t> b(static_cast<size_t>(e.Length));
        f.ReadExact(b.data(), b.size());
        bytes = std::move(b);
        return true;
    } catch (const std::exception&) {
        r.ReportFileError(code::kPageFile, projectFile);
        return false;
    }
}

bool ReadProjectPage(const TAuProject& project, int index, const std::string& projectFile,
                     TPageRecord& page, Reporter& r) {
    std::vector<uint8_t> bytes;
    if (!LoadPageBytes(project, index, projectFile, bytes, r))
        return false;
    MemoryStream m(std::move(bytes));
    return ReadPageRecord(m, page, r);
}

bool StorePageInCache(TFormData& entry, const TPageRecord& page, Reporter& r) {
    auto m = std::make_unique<MemoryStream>();
    if (!WritePageRecord(*m, page, r))
        return false;
    m->Seek(0);
    entry.Cache = std::move(m);
    RefreshPageSummary(entry, *page.Root);
    return true;
}

} // namespace orv::model
