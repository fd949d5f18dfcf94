#include "fixtures.h"

#include "gfx/codecs.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include <jpeglib.h>

namespace orv::model::test {

namespace {
std::vector<uint8_t> TinyImageBytes(bool png) {
    gfx::Image img;
    img.width = 2;
    img.height = 2;
    img.pixels = {0xFFFF0000u, 0xFF00FF00u, 0x800000FFu, 0xFFFFFFFFu};
    std::vector<uint8_t> out;
    bool ok = png ? gfx::EncodePng(img, out) : gfx::EncodeBmp(img, out);
    if (!ok)
        throw std::runtime_error("encoding a sample picture failed");
    return out;
}

void Put16(std::vector<uint8_t>& v, uint16_t x) {
    v.push_back(static_cast<uint8_t>(x));
    v.push_back(static_cast<uint8_t>(x >> 8));
}
} // namespace

void PutI32(std::vector<uint8_t>& v, int32_t x) {
    for (int i = 0; i < 4; ++i)
        v.push_back(static_cast<uint8_t>(static_cast<uint32_t>(x) >> (8 * i)));
}

void PutStr(std::vector<uint8_t>& v, const std::string& s) {
    PutI32(v, static_cast<int32_t>(s.size()));
    v.insert(v.end(), s.begin(), s.end());
}

std::vector<uint8_t> SampleJpegBytes() {
    jpeg_compress_struct c;
    jpeg_error_mgr err;
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* mem = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &mem, &size);
    c.image_width = 4;
    c.image_height = 4;
    c.input_components = 3;
    c.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_start_compress(&c, TRUE);
    unsigned char row[12] = {255, 0, 0, 0, 255, 0, 0, 0, 255, 9, 9, 9};
    while (c.next_scanline < c.image_height) {
        JSAMPROW r = row;
        jpeg_write_scanlines(&c, &r, 1);
    }
    jpeg_finish_compress(&c);
    std::vector<uint8_t> out(mem, mem + size);
    jpeg_destroy_compress(&c);
    std::free(mem);
    return out;
}

TPicture SamplePicture(PictureClass c) {
    TPicture p;
    p.Class = c;
    switch (c) {
    case PictureClass::None:
        p.Class = PictureClass::None;
        break;
    case PictureClass::Bitmap:
        p.Bytes = TinyImageBytes(false);
        break;
    case PictureClass::Png:
        p.Bytes = TinyImageBytes(true);
        break;
    case PictureClass::Icon: {
        // An icon file holding one PNG image.
        std::vector<uint8_t> png = TinyImageBytes(true);
        std::vector<uint8_t>& v = p.Bytes;
        Put16(v, 0);
        Put16(v, 1);
        Put16(v, 1);
        v.push_back(2);
        v.push_back(2);
        v.push_back(0);
        v.push_back(0);
        Put16(v, 1);
        Put16(v, 32);
        PutI32(v, static_cast<int32_t>(png.size()));
        PutI32(v, 22);
        v.insert(v.end(), png.begin(), png.end());
        break;
    }
    case PictureClass::Metafile: {
        // An enhanced metafile: the header record and the end record.
        std::vector<uint8_t>& v = p.Bytes;
        PutI32(v, 1);  // EMR_HEADER
        PutI32(v, 88); // record size
        for (int i = 0; i < 8; ++i)
            PutI32(v, i < 4 ? 0 : 100); // bounds and frame
        PutI32(v, 0x464D4520);          // " EMF"
        PutI32(v, 0x10000);             // version
        PutI32(v, 108);                 // bytes in the file
        PutI32(v, 2);                   // records
        Put16(v, 1);                    // handles
        Put16(v, 0);
        for (int i = 0; i < 7; ++i)
            PutI32(v, i < 3 ? 0 : 100); // description, palette, device and mm sizes
        PutI32(v, 14);                  // EMR_EOF
        PutI32(v, 20);
        PutI32(v, 0);
        PutI32(v, 16);
        PutI32(v, 20);
        break;
    }
    case PictureClass::Jpeg:
        p.Bytes = SampleJpegBytes();
        break;
    case PictureClass::Gif: {
        static const uint8_t kGif[] = {'G',  'I',  'F',  '8',  '9',  'a',  0x01, 0x00, 0x01,
                                       0x00, 0x80, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0x00, 0x00,
                                       0x00, 0x2C, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x01,
                                       0x00, 0x00, 0x02, 0x02, 0x44, 0x01, 0x00, 0x3B};
        p.Bytes.assign(std::begin(kGif), std::end(kGif));
        break;
    }
    }
    return p;
}

int ReportedCode(const RecordingReporter& r, size_t index) {
    if (index >= r.entries.size())
        return 0;
    const std::string& t = r.entries[index].text;
    size_t slash = t.rfind('/');
    if (slash == std::string::npos || t.size() < 2 || t.compare(t.size() - 2, 2, ").") != 0)
        return 0;
    return std::atoi(t.c_str() + slash + 1);
}

// ------------------------------------------------------------ Mutator

void Mutator::Str(const char*, std::string& v) {
    // CR LF, the separator byte and a byte above 0x7F all have to survive.
    v += "s" + std::to_string(n++) + "\r\n\x01\xE9";
}

void Mutator::Font(const char*, TFont& f) {
    f.Name += "X" + std::to_string(n++);
    f.Color ^= 0x010203;
    f.Size += 1 + n % 7;
    f.Charset = static_cast<uint8_t>(f.Charset ^ 0x80);
    f.Style = static_cast<uint8_t>(f.Style ^ 0x0F);
}

void Mutator::Picture(const char*, TPicture& p) {
    static const PictureClass kCycle[] = {PictureClass::Bitmap,   PictureClass::Icon,
                                          PictureClass::Metafile, PictureClass::Jpeg,
                                          PictureClass::Gif,      PictureClass::Png};
    p = SamplePicture(kCycle[pictures_++ % 6]);
}

void Mutator::Fade(const char*, TFadeSettings& f) {
    f.Alpha += 1 + n++ % 50;
    f.MouseAlphaEnabled = !f.MouseAlphaEnabled;
    f.MouseOverAlpha -= 1 + n++ % 50;
    f.Fade = !f.Fade;
    f.FadeInStep += 3;
    f.Marker = -2 - n++ % 5;
    f.MouseDownAlpha += 7;
    f.FadeOutStep += 5;
}

TAuAction Mutator::MakeAction(uint8_t kind, int depth) {
    TAuAction a;
    a.Kind = kind;
    a.Param1 = "p1-" + std::to_string(n++);
    a.Param2 = "p2\x01" + std::to_string(n++);
    a.Param3 = "p3\r\n";
    a.Flag = true;
    a.Number = kind * 7 + 3;
    if (kind % 3 == 0) {
        TPicture pic;
        Picture("Picture", pic);
        a.SetPicture(pic);
    }
    if (kind % 2 == 0) {
        TFont f;
        Font("Font", f);
        a.SetFont(f);
    }
    if (depth < 2) {
        a.ThenActions.push_back(MakeAction(static_cast<uint8_t>((kind + 1) % 48), depth + 1));
        a.ElseActions.push_back(MakeAction(static_cast<uint8_t>((kind + 2) % 48), depth + 1));
    }
    return a;
}

void Mutator::Actions(const char*, TAuActions& l) {
    l.clear();
    for (int i = 0; i < 2; ++i)
        l.push_back(MakeAction(static_cast<uint8_t>(n++ % kActionKindCount), 1));
}

TMenuItem Mutator::MakeMenuItem(int depth) {
    TMenuItem m;
    m.Caption = "&Item" + std::to_string(n++);
    TAuActions acts{MakeAction(static_cast<uint8_t>(n++ % kActionKindCount), 1)};
    RecordingReporter quiet;
    if (!ActionListToText("MenuItem" + std::to_string(n), acts, m.Hint, quiet))
        throw std::runtime_error("menu text");
    m.ShortCut = static_cast<int16_t>(0x4000 | ('A' + n % 26));
    m.RadioItem = true;
    m.GroupIndex = 3;
    m.Enabled = false;
    m.Default = true;
    m.Checked = true;
    m.AutoCheck = true;
    m.Visible = false;
    Picture("Bitmap", m.Bitmap);
    if (depth < 2) {
        m.Items.push_back(MakeMenuItem(depth + 1));
        m.Items.push_back(MakeMenuItem(depth + 1));
    }
    return m;
}

void Mutator::MenuItems(const char*, std::vector<TMenuItem>& v) {
    v = {MakeMenuItem(0), MakeMenuItem(1)};
}

void Mutator::StatusPanel(TStatusPanel& p) {
    p.Alignment = 2;
    Str("Text", p.Text);
    p.Width = 77 + n++;
}

void Mutator::Object(TAuObject& o) {
    Str("Hint", o.Hint);
    o.Enabled = false;
    o.Visible = false;
    o.Align = 3;
    o.Locked = true;
    o.WindowTitleBar = true;
    o.Cursor = -21;
    o.Left = 11 + n++;
    o.Top = -5;
    o.Width = 321;
    o.Height = 123;
    for (int i = 0; i < 6; ++i)
        Actions(kEventListNames[i], o.EventList(i));
    MenuItems("PopupMenu", o.PopupMenu);
    Block(o.Props);
}

TAuActions EveryActionKind(Mutator& m) {
    TAuActions l;
    for (int k = 0; k < kActionKindCount; ++k)
        l.push_back(m.MakeAction(static_cast<uint8_t>(k), 0));
    return l;
}

std::unique_ptr<TPageRecord> RichPage(Mutator& m) {
    auto page = MakeBlankPage("Rich page");
    TPageRecord& p = *page;
    p.BorderIcons = 0x0F;
    p.BorderStyle = 4;
    p.PositionBy = 1;
    p.PositionMargin = 12;
    p.Position = 8;
    p.WindowState = 2;
    p.FormStyle = 3;
    p.Transparent = true;
    p.TransparentColor = 0x00FF00FF;
    p.Alpha = 80;
    p.Fade = false;
    p.FadeInStep = 5;
    p.FadeOutStep = 0;
    m.Picture("PageIcon", p.PageIcon);
    p.OnShow = EveryActionKind(m);
    m.Actions("OnClose", p.OnClose);
    m.MenuItems("MenuBarItems", p.MenuBarItems);
    p.StatusBarHeight = 23;
    m.Font("StatusBarFont", p.StatusBarFont);
    p.StatusBarPanels.resize(3);
    for (auto& sp : p.StatusBarPanels)
        m.StatusPanel(sp);
    p.Left = 10;
    p.Top = 20;
    p.Width = 800;
    p.Height = 600;

    TAuObject& root = *p.Root;
    root.Name = "PagePanel";
    m.Block(root.Props);
    for (int k = 0; k < kKindCount; ++k) {
        auto kind = static_cast<TAuObjectKind>(k);
        if (kind == TAuObjectKind::TabSheet)
            continue;
        auto o = std::make_unique<TAuObject>(kind);
        o->Name = NewObjectName(&root, kind);
        m.Object(*o);
        TAuObject& added = root.AddChild(std::move(o));
        if (kind == TAuObjectKind::TabNotebook)
            for (int s = 0; s < 2; ++s) {
                auto sheet = std::make_unique<TAuObject>(TAuObjectKind::TabSheet);
                sheet->Name = NewObjectName(&added, TAuObjectKind::TabSheet);
                m.Object(*sheet);
                added.AddChild(std::move(sheet));
            }
        if (kind == TAuObjectKind::Panel) {
            auto inner = std::make_unique<TAuObject>(TAuObjectKind::Image);
            inner->Name = NewObjectName(&added, TAuObjectKind::Image);
            m.Object(*inner);
            added.AddChild(std::move(inner));
        }
    }
    return page;
}

void FillProject(TAuProject& p, Mutator& m, int pages) {
    ResetProject(p, false);
    p.ApplicationTitle = "Rich project";
    p.Reserved1 = 7;
    p.ReservedDate = 44000.5;
    p.Reserved2 = -3;
    p.Reserved3 = "reserved";
    p.Reserved4 = 1;
    p.LauncherName = "start.exe";
    p.IconName = "start.ico";
    p.CDLabel = "MYDISC";
    p.ReservedText = "text";
    p.DataFileName = "data.aru";
    p.OnStart = EveryActionKind(m);
    m.Actions("OnExit", p.OnExit);
    m.Actions("ReservedList", p.ReservedList);
    RecordingReporter r;
    for (int i = 0; i < pages; ++i) {
        auto e = std::make_unique<TFormData>();
        e->Name = "Page " + std::to_string(i + 1);
        auto page = RichPage(m);
        page->Caption = e->Name;
        if (!StorePageInCache(*e, *page, r))
            throw std::runtime_error("storing a page failed");
        p.Pages.push_back(std::move(e));
    }
}

// ------------------------------------------------------------ files

TempDir::TempDir() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "orvexa-model-XXXXXX").string();
    if (!mkdtemp(tmpl.data()))
        throw std::runtime_error("mkdtemp");
    path_ = tmpl;
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

std::string TempDir::File(const std::string& name) const {
    return path_ + "/" + name;
}

std::vector<uint8_t> ReadAll(const std::string& file) {
    std::ifstream f(file, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(f), {});
}

void WriteAll(const std::string& file, const std::vector<uint8_t>& bytes) {
    std::ofstream f(file, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

} // namespace orv::model::test
