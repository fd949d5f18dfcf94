#include "base/fsys.h"
#include "base/packfolder.h"
#include "base/path.h"
#include "base/stream.h"
#include "pe/pe_error.h"
#include "pe/version_info.h"
#include "publish/publish.h"

namespace orv::publish {

namespace {

constexpr const char* kCaption = "Executable File";
constexpr const char* kInsideProjectText =
    "Selected folder can not be in the current project folder.";
constexpr const char* kTooLargeText =
    "The project is too large for a single file executable: the file would reach 2 GB.";
constexpr const char* kPackFailedText = "The project folder could not be packed into the "
                                        "executable file.";

// Writes through to another stream but refuses to grow it past a limit, so
// an oversized result is noticed while it is written.
class CappedStream : public Stream {
public:
    CappedStream(Stream& inner, int64_t cap) : inner_(inner), cap_(cap) {}
    size_t Read(void* buf, size_t n) override { return inner_.Read(buf, n); }
    size_t Write(const void* buf, size_t n) override {
        if (inner_.Position() + static_cast<int64_t>(n) > cap_) {
            overflow_ = true;
            return 0;
        }
        return inner_.Write(buf, n);
    }
    int64_t Position() const override { return inner_.Position(); }
    void Seek(int64_t pos) override { inner_.Seek(pos); }
    int64_t Size() const override { return inner_.Size(); }
    void SetSize(int64_t size) override { inner_.SetSize(size); }
    bool Overflow() const { return overflow_; }

private:
    Stream& inner_;
    int64_t cap_;
    bool overflow_ = false;
};

} // namespace

bool BuildSingleFileTo(const std::string& projectFolder, const std::string& target,
                       Reporter& reporter, int64_t maxSize) {
    std::string part = target + ".tmp";
    std::string launcher = fsys::Join(projectFolder, kLauncherFile);
    auto fail = [&](int code) {
        if (code)
            reporter.ReportError(code);
        fsys::RemoveFile(part);
        return false;
    };

    FileStream out;
    {
        FileStream in;
        if (!in.Open(launcher, FileStream::Mode::Read) || !out.Open(part, FileStream::Mode::Create))
            return fail(kCodeSingleFile);
        try {
            int64_t size = in.Size();
            if (size > maxSize) {
                out.Close();
                reporter.ShowErrorText(kTooLargeText);
                return fail(0);
            }
            out.CopyFrom(in, size);
        } catch (const StreamError&) {
            out.Close();
            return fail(kCodeSingleFile);
        }
    }

    int64_t offset = out.Position();
    CappedStream capped(out, maxSize - 4);
    bool packed = PackFolder(capped, projectFolder, false);
    bool written = false;
    if (packed) {
        try {
            out.WriteI32(static_cast<int32_t>(offset));
            written = out.Sync();
        } catch (const StreamError&) {
        }
    }
    written = out.Close() && written;
    if (capped.Overflow()) {
        reporter.ShowErrorText(kTooLargeText);
        return fail(0);
    }
    if (!packed) {
        reporter.ShowErrorText(kPackFailedText);
        return fail(0);
    }
    if (!written)
        return fail(kCodeSingleFile);

    // A recorded name of blanks is what makes the copy unpack itself.
    try {
        pe::SetVersionStrings(part, {{"OriginalFilename", std::u16string(15, u' '), false}});
    } catch (const pe::ResourceUpdateError& e) {
        reporter.ShowErrorText(e.what());
        return fail(0);
    }
    if (!fsys::MoveReplace(part, target))
        return fail(kCodeSingleFile);
    return true;
}

bool BuildSingleFile(const LauncherContext& ctx, PublishUi& ui) {
    Reporter& reporter = ui.Messages();
    std::string target;
    if (!ui.PickSaveFile("EXE Files (*.exe)|*.exe", "exe", target) || target.empty())
        return false;
    if (ExtractFileName(target).find('.') == std::string::npos)
        target += ".exe";
    // Packing a folder into a file inside it would pack the file itself.
    if (IsInsideFolder(ctx.projectFolder, target)) {
        reporter.Show(kInsideProjectText, kCaption, mb::kIconInformation | mb::kOk);
        return false;
    }
    if (!ui.SaveProject())
        return false;
    ui.SetBusy(true);
    bool ok = BuildSingleFileTo(ctx.projectFolder, target, reporter);
    ui.SetBusy(false);
    if (!ok)
        return false;
    if (reporter.Show("Executable file created, launch it?", kCaption,
                      mb::kYesNo | mb::kIconInformation) == answer::kYes)
        ui.OpenFile(target);
    return true;
}

} // namespace orv::publish
