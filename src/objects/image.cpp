// Image: a picture placed by Stretch, Center and Proportional, sized to
// the picture with AutoSize.
#include "objects/buttons.h"

#include "base/fsys.h"

#include <cstdio>

namespace orv::objects {

namespace {

constexpr int kDefaultSize = 193;
// Picture files beyond this are not read (no decoder takes them anyway).
constexpr int64_t kMaxPictureFile = 256LL * 1024 * 1024;

} // namespace

TAuImage::TAuImage(TAuObject& record) : TAuKind(record) {
    SetSize(kDefaultSize, kDefaultSize);
    PictureChanged();
}

void TAuImage::StoreNewObjectDefaults(TAuObject& record) {
    record.Width = Width();
    record.Height = Height();
}

void TAuImage::PropertiesChanged() {
    picture_.Reset();
    PictureChanged();
}

void TAuImage::SetProportional(bool on) {
    proportional_ = on;
    Invalidate();
}

void TAuImage::PictureChanged() {
    if (!Record())
        return;
    const model::ImageProps& p = Props();
    if (picture_.Update(p.Image, p.Transparent) && p.AutoSize) {
        // The size follows the picture where the alignment leaves it free.
        const win::Align a = GetAlign();
        int w = Width(), h = Height();
        if (a == win::Align::None || a == win::Align::Left || a == win::Align::Right)
            w = picture_.Width();
        if (a == win::Align::None || a == win::Align::Top || a == win::Align::Bottom)
            h = picture_.Height();
        SetSize(w, h);
    }
    Invalidate();
}

RECT TAuImage::PictureRect() {
    if (!Record())
        return RECT{0, 0, 0, 0};
    const model::ImageProps& p = Props();
    if (!picture_.Update(p.Image, p.Transparent))
        return RECT{0, 0, 0, 0};
    const gfx::Rect r = gfx::PlacePicture(p.Stretch, p.Center, proportional_, Width(), Height(),
                                          picture_.Width(), picture_.Height());
    return RECT{r.left, r.top, r.right, r.bottom};
}

void TAuImage::Paint(const win::Canvas& canvas) {
    const RECT dst = PictureRect();
    if (dst.right > dst.left && dst.bottom > dst.top)
        picture_.Draw(canvas.dc, dst);
    if (canvas.designView) {
        const RECT client = ClientRect();
        win::DrawDesignOutline(canvas.dc, client);
    }
}

void TAuImage::SetPicture(const model::TPicture* picture) {
    if (picture)
        Props().Image = *picture;
    else
        Props().Image.Clear();
    PictureChanged();
}

void TAuImage::LoadFile(const std::string& path) {
    Props().Image.Clear();
    std::vector<uint8_t> bytes;
    model::TPicture loaded;
    if (fsys::ReadFileBytes(path, kMaxPictureFile, bytes) &&
        model::PictureFromFileBytes(std::move(bytes), loaded))
        Props().Image = std::move(loaded);
    PictureChanged();
}

} // namespace orv::objects
