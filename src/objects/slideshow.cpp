// SlideShow: the pictures of a folder, one after another, through the
// animated transitions of the picture transition control, with a control
// bar of five buttons, a counter and the picture's name.
#include "objects/media.h"

#include "base/fsys.h"
#include "base/path.h"
#include "base/random.h"
#include "gfx/placement.h"
#include "model/values.h"
#include "win/controls/drawing.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace orv::objects {

namespace {

constexpr int kDefaultWidth = 289, kDefaultHeight = 193;
constexpr int kButtonWidth = 22, kButtonHeight = 19;
constexpr int kCounterLeft = 115, kCounterWidth = 50, kNameLeft = 170;
constexpr int kStyleCount = 150;
// Picture files beyond this are skipped unread (no decoder takes them).
constexpr int64_t kMaxPictureFile = 64LL * 1024 * 1024;

constexpr const char* kHints[5] = {"Slide Show", "First", "Previous", "Next", "Last"};
constexpr int kButtonLefts[5] = {2, 24, 46, 68, 90};

// The extensions of the pictures a show takes, upper case.
bool IsPictureName(const std::string& name) {
    const size_t dot = name.rfind('.');
    if (dot == std::string::npos)
        return false;
    std::string ext = name.substr(dot + 1);
    for (char& c : ext)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    for (const char* e : {"PNG", "JPG", "JPEG", "BMP", "EMF", "WMF", "GIF"})
        if (ext == e)
            return true;
    return false;
}

// Compares names as the platform sorts file names: without regard to the
// case of ASCII letters, ties broken by the bytes.
bool NameLess(const std::string& a, const std::string& b) {
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        auto up = [](char c) {
            return static_cast<unsigned char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
        };
        if (up(a[i]) != up(b[i]))
            return up(a[i]) < up(b[i]);
    }
    if (a.size() != b.size())
        return a.size() < b.size();
    return a < b;
}

std::string WithoutExtension(const std::string& name) {
    const size_t dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

} // namespace

TAuSlideShow::TAuSlideShow(TAuObject& record) : TAuKind(record) {
    SetSize(kDefaultWidth, kDefaultHeight);

    auto bar = std::make_unique<TControlBar>();
    bar->SetBounds(0, kDefaultHeight - kBarHeight, kDefaultWidth, kBarHeight);
    bar->SetAlign(win::Align::Bottom);
    bar_ = &Add(std::move(bar));
    for (int i = 0; i < 5; ++i) {
        auto b = std::make_unique<TBarButton>(static_cast<BarGlyph>(i), i == 0);
        b->SetBounds(kButtonLefts[i], 1, kButtonWidth, kButtonHeight);
        b->SetHint(kHints[i]);
        b->SetEnabled(false);
        buttons_[i] = &bar_->Add(std::move(b));
    }
    // The "Slide Show" button starts pressed: the show plays.
    buttons_[0]->SetPressed(true);
    buttons_[0]->OnClick = [this](win::Control&) { SetPlay(buttons_[0]->Pressed()); };
    buttons_[1]->OnClick = [this](win::Control&) { ShowFirst(); };
    buttons_[2]->OnClick = [this](win::Control&) { ShowPrevious(); };
    buttons_[3]->OnClick = [this](win::Control&) { ShowNext(); };
    buttons_[4]->OnClick = [this](win::Control&) { ShowLast(); };
    auto counter = std::make_unique<TBarPanel>();
    counter->SetBounds(kCounterLeft, 1, kCounterWidth, kButtonHeight);
    counter_ = &bar_->Add(std::move(counter));
    auto name = std::make_unique<TBarPanel>();
    name->SetBounds(kNameLeft, 1, std::max(kDefaultWidth - kNameLeft - 1, 1), kButtonHeight);
    name_ = &bar_->Add(std::move(name));

    auto area = std::make_unique<transitions::TPicTransit>();
    area->SetAutoSize(false);
    area->SetStretch(false);
    area->SetAlign(win::Align::Client);
    area->SetBounds(0, 0, kDefaultWidth, kDefaultHeight - kBarHeight);
    area->OnStop = [this](transitions::TCustomPicTransit&) { TransitStopped(); };
    transit_ = &Add(std::move(area));
    ForwardAreaEvents(*transit_, *this);

    ApplyProps();
}

TAuSlideShow::~TAuSlideShow() {
    StopTimerNow();
    // The transition may still be running on its thread: end it before the
    // children go, without restarting the timer.
    if (transit_) {
        transit_->OnStop = nullptr;
        if (transit_->Busy())
            transit_->Stop();
    }
}

void TAuSlideShow::StoreNewObjectDefaults(TAuObject& record) {
    record.Width = Width();
    record.Height = Height();
}

void TAuSlideShow::FillCreateArgs(win::CreateArgs& args) {
    if (Props().Border)
        args.exStyle |= WS_EX_CLIENTEDGE;
}

void TAuSlideShow::HandleCreated() {
    // The timer runs from creation; it does nothing while the list is empty.
    StartTimer(kFirstInterval);
}

void TAuSlideShow::Resized() {
    // The name panel follows the bar's width (not while the constructor
    // is still making the parts).
    if (!bar_ || !name_)
        return;
    name_->SetSize(std::max(bar_->Width() - kNameLeft - 1, 1), kButtonHeight);
}

void TAuSlideShow::ApplyProps() {
    const model::SlideShowProps& p = Props();
    SetColor(p.Settings.BackColor);
    transit_->SetColor(p.Settings.BackColor);
    bar_->SetVisible(p.ControlBar);
    buttons_[0]->SetPressed(p.Play);
    if (HWND h = Handle()) {
        const LONG ex = GetWindowLongW(h, GWL_EXSTYLE);
        const LONG want = p.Border ? (ex | WS_EX_CLIENTEDGE) : (ex & ~WS_EX_CLIENTEDGE);
        if (want != ex) {
            SetWindowLongW(h, GWL_EXSTYLE, want);
            SetWindowPos(h, nullptr, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE |
                             SWP_FRAMECHANGED);
        }
    }
}

void TAuSlideShow::PropertiesChanged() {
    ApplyProps();
    Invalidate();
}

void TAuSlideShow::StartPass(bool media) {
    if (media)
        return;
    transit_->SetHint(Hint());
    transit_->SetCursor(Cursor());
    LoadWorkFolder(ProjectFolder());
    bar_->Invalidate();
}

void TAuSlideShow::LoadWorkFolder(const std::string& base) {
    const std::string& work = Props().WorkFolder;
    if (work.empty())
        return;
    LoadFolder(MakeProjectPath(base, work));
}

void TAuSlideShow::LoadFolder(const std::string& fullFolder) {
    if (fullFolder.empty() || !fsys::DirectoryExists(fullFolder))
        return;
    std::vector<std::string> names;
    fsys::ListDir(fullFolder, false, names);
    std::vector<std::string> pictures;
    for (auto& n : names)
        if (IsPictureName(n))
            pictures.push_back(std::move(n));
    std::sort(pictures.begin(), pictures.end(), NameLess);
    folder_ = fullFolder;
    files_ = std::move(pictures);
    index_ = 0;
    UpdateButtons(0);
    buttons_[0]->SetPressed(Props().Play);
}

void TAuSlideShow::UpdateButtons(int shown) {
    const int count = static_cast<int>(files_.size());
    // An empty list keeps every button disabled.
    buttons_[0]->SetEnabled(count > 0);
    buttons_[1]->SetEnabled(count > 0 && shown != 0);
    buttons_[2]->SetEnabled(count > 0 && shown != 0);
    buttons_[3]->SetEnabled(count > 0 && shown != count - 1);
    buttons_[4]->SetEnabled(count > 0 && shown != count - 1);
}

void TAuSlideShow::StartTimer(unsigned ms) {
    StopTimerNow();
    interval_ = std::max(ms, 1u);
    timer_ = win::Control::StartTimer(interval_, [this] { TimerTick(); });
}

void TAuSlideShow::StopTimerNow() {
    if (timer_)
        win::Control::StopTimer(timer_);
    timer_ = 0;
}

void TAuSlideShow::TimerTick() {
    if (Props().Play)
        ShowNextPicture();
}

void TAuSlideShow::TransitStopped() {
    if (!transit_->Busy() && !files_.empty())
        StartTimer(interval_);
}

void TAuSlideShow::ShowNextPicture() {
    ShowPicture(false);
}

void TAuSlideShow::ShowPicture(bool backward) {
    StopTimerNow();
    if (files_.empty())
        return;
    if (transit_->Busy()) {
        // Ending the running transition must not restart the timer.
        auto onStop = std::move(transit_->OnStop);
        transit_->OnStop = nullptr;
        transit_->Stop();
        transit_->OnStop = std::move(onStop);
    }
    PrepareSlide(backward);
    try {
        transit_->Execute();
    } catch (const std::exception&) {
        // No window yet: the slide waits for the next tick.
        StartTimer(interval_);
    }
}

void TAuSlideShow::PrepareSlide(bool backward) {
    const int count = static_cast<int>(files_.size());
    if (index_ >= count)
        index_ -= count;
    if (index_ < 0)
        index_ += count;
    const model::TSlideShowSettings& s = Props().Settings;
    // The transition control takes step and delay as 16-bit values.
    transit_->SetStep(static_cast<int>(static_cast<uint16_t>(s.Step)));
    transit_->SetDelay(static_cast<int>(static_cast<uint16_t>(s.StepDelay)));
    const bool fixed = s.Style >= 1 && s.Style <= kStyleCount;
    lastStyle_ = fixed ? s.Style : 1 + static_cast<int>(Random::Next(kStyleCount));
    transit_->SetStyle(lastStyle_);
    interval_ = static_cast<unsigned>(std::max<int32_t>(s.Interval, 1));
    if (index_ >= count || index_ < 0)
        index_ = 0;

    const int cw = std::max(transit_->Width(), 1), ch = std::max(transit_->Height(), 1);
    win::Surface slide;
    gfx::Image image;
    if (slide.Resize(cw, ch)) {
        HBRUSH brush = CreateSolidBrush(win::ResolveColor(s.BackColor));
        RECT all{0, 0, cw, ch};
        FillRect(slide.Dc(), &all, brush);
        DeleteObject(brush);
        // A damaged or oversized file is skipped: the next one that
        // decodes is shown in its place.
        for (int tries = 0; tries < count; ++tries) {
            std::vector<uint8_t> bytes;
            model::TPicture pic;
            win::Picture shown;
            const std::string path = MakeProjectPath(folder_, files_[static_cast<size_t>(index_)]);
            if (fsys::ReadFileBytes(path, kMaxPictureFile, bytes) &&
                model::PictureFromFileBytes(std::move(bytes), pic) && shown.Assign(pic)) {
                const gfx::Rect r =
                    gfx::PlaceSlide(s.ImageStyle, cw, ch, shown.Width(), shown.Height());
                shown.Draw(slide.Dc(), RECT{r.left, r.top, r.right, r.bottom});
                break;
            }
            // Skip in the direction of travel, so Previous and Last do not
            // bounce forward off a damaged file.
            index_ = (index_ + (backward ? count - 1 : 1)) % count;
        }
        image = slide.CopyOut(gfx::Rect{0, 0, cw, ch});
    }
    transit_->SetPicture(image);

    name_->SetText(WithoutExtension(files_[static_cast<size_t>(index_)]));
    counter_->SetText(std::to_string(index_ + 1) + "/" + std::to_string(count));
    UpdateButtons(index_);
    ++index_;
    if (index_ >= count && !Props().Loop) {
        Props().Play = false;
        buttons_[0]->SetPressed(false);
    }
}

void TAuSlideShow::SetPlay(bool on) {
    Props().Play = on;
    buttons_[0]->SetPressed(on);
}

void TAuSlideShow::ShowFirst() {
    index_ = static_cast<int>(files_.size());
    ShowNextPicture();
}

void TAuSlideShow::ShowPrevious() {
    index_ = std::max(index_ - 2, 0);
    ShowPicture(true);
}

void TAuSlideShow::ShowNext() {
    ShowNextPicture();
}

void TAuSlideShow::ShowLast() {
    index_ = static_cast<int>(files_.size()) - 1;
    ShowPicture(true);
}

void TAuSlideShow::Media(model::MediaCommand command) {
    using C = model::MediaCommand;
    switch (command) {
    case C::Play:
        SetPlay(true);
        break;
    case C::Pause:
    case C::Stop:
        SetPlay(false);
        break;
    case C::Prev:
        ShowPrevious();
        break;
    case C::Next:
        ShowNext();
        break;
    case C::BackFirst:
        ShowFirst();
        break;
    case C::StepLast:
        ShowLast();
        break;
    }
}

void TAuSlideShow::LoadFile(const std::string& workFolder) {
    Props().WorkFolder = workFolder;
    LoadWorkFolder(ProjectFolder());
}

void TAuSlideShow::SetBackColor(int32_t color) {
    Props().Settings.BackColor = color;
    SetColor(color);
    transit_->SetColor(color);
    Invalidate();
    transit_->Invalidate();
}

void TAuSlideShow::ApplySetup(const SlideShowSetup& setup) {
    model::SlideShowProps& p = Props();
    p.Play = true;
    p.Loop = setup.loop;
    p.ControlBar = false;
    p.Border = false;
    p.Settings.Style = setup.style;
    p.Settings.ImageStyle = setup.imageStyle;
    p.Settings.Step = setup.step;
    p.Settings.StepDelay = setup.stepDelay;
    p.Settings.Interval = setup.interval;
    p.Settings.BackColor = setup.backColor;
    ApplyProps();
    LoadFolder(setup.folder);
}

} // namespace orv::objects
