// The Button, ImageButton, Image, SimpleText and Bevel kinds: the family's
// entry in the factory and the pictures they draw.
#include "objects/buttons.h"

namespace orv::objects {

namespace {

// A cheap fingerprint of picture bytes: the size and up to 4096 bytes
// spread over them. It tells a new picture in the same buffer from the old
// one; editors that change a picture also call PropertiesChanged.
uint64_t Fingerprint(const std::vector<uint8_t>& bytes) {
    uint64_t h = 1469598103934665603ull ^ bytes.size();
    const size_t n = bytes.size();
    const size_t step = n > 4096 ? n / 4096 : 1;
    for (size_t i = 0; i < n; i += step) {
        h ^= bytes[i];
        h *= 1099511628211ull;
    }
    return h;
}

} // namespace

void AddButtonKinds(KindMakerTable& makers) {
    using K = model::TAuObjectKind;
    makers[static_cast<int>(K::Button)] = &MakeKind<TAuStandardButton>;
    makers[static_cast<int>(K::ImageButton)] = &MakeKind<TAuImageButton>;
    makers[static_cast<int>(K::Image)] = &MakeKind<TAuImage>;
    makers[static_cast<int>(K::SimpleText)] = &MakeKind<TAuSimpleText>;
    makers[static_cast<int>(K::Bevel)] = &MakeKind<TAuBevel>;
}

// -------------------------------------------------------------- KindPicture

bool KindPicture::Update(const model::TPicture& source, bool transparent) {
    const bool keyed = transparent && source.Class == model::PictureClass::Bitmap;
    const int cls = static_cast<int>(source.Class);
    const uint64_t hash = Fingerprint(source.Bytes);
    if (cls == cls_ && source.Bytes.data() == data_ && source.Bytes.size() == size_ &&
        hash == hash_ && keyed == keyed_)
        return !Empty();
    Reset();
    cls_ = cls;
    data_ = source.Bytes.data();
    size_ = source.Bytes.size();
    hash_ = hash;
    keyed_ = keyed;
    if (!picture_.Assign(source) || !keyed)
        return !Empty();
    gfx::Image pixels = picture_.Pixels();
    gfx::KeyOutBottomLeft(pixels);
    picture_.AssignImage(pixels);
    return !Empty();
}

void KindPicture::Reset() {
    picture_.Clear();
    cls_ = -1;
    data_ = nullptr;
    size_ = 0;
    hash_ = 0;
    keyed_ = false;
}

} // namespace orv::objects
