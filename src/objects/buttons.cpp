// The Button, ImageButton, Image, SimpleText and Bevel kinds: the family's
// entry in the factory and the pictures they draw.
#include "objects/buttons.h"

namespace orv::objects {

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
    const uint64_t hash = win::PictureFingerprint(source.Bytes);
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
