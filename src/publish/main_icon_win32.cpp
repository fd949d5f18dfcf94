// The platform's resource update path of the icon replacement: the old
// group "MAINICON" and its icons are deleted in their languages and the
// icon file's images added as icons 1..N with the new group, all in
// language 1033, in one update that is committed only when every step
// worked.
#include "pe/icons.h"
#include "pe/pe_error.h"
#include "pe/resource_tree.h"
#include "publish/publish.h"

#include <windows.h>

#include <vector>

namespace orv::publish {

namespace {

std::wstring Wide(const std::string& s) {
    if (s.empty())
        return {};
    int n = MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring w(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), w.data(), n);
    return w;
}

// A failed platform call: its message and the platform's error number.
[[noreturn]] void Fail(const char* what) {
    throw pe::ResourceUpdateError(std::string(what) + " (" + std::to_string(GetLastError()) + ")");
}

struct LanguageSearch {
    WORD language = 0;
    bool found = false;
};

BOOL CALLBACK FirstLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR param) {
    auto* search = reinterpret_cast<LanguageSearch*>(param);
    search->language = language;
    search->found = true;
    return FALSE; // the first one is enough
}

// The first language of a resource, 0 when it has none. The enumeration is
// stopped after the first language, which the platform may report as a
// failure; only a failure before any language was found counts.
bool ResourceLanguage(HMODULE module, LPCWSTR type, LPCWSTR name, WORD& language) {
    LanguageSearch search;
    BOOL ok = EnumResourceLanguagesW(module, type, name, FirstLanguage,
                                     reinterpret_cast<LONG_PTR>(&search));
    language = search.language;
    return search.found || ok;
}

// Ends the update when it was not committed, discarding its changes.
class Update {
public:
    explicit Update(const std::wstring& file) : h_(BeginUpdateResourceW(file.c_str(), FALSE)) {}
    ~Update() {
        if (h_)
            EndUpdateResourceW(h_, TRUE);
    }
    Update(const Update&) = delete;
    Update& operator=(const Update&) = delete;
    HANDLE Handle() const { return h_; }
    bool Commit() {
        HANDLE h = h_;
        h_ = nullptr;
        return EndUpdateResourceW(h, FALSE) != FALSE;
    }

private:
    HANDLE h_;
};

class DataFile {
public:
    explicit DataFile(const std::wstring& file)
        : h_(LoadLibraryExW(file.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {}
    ~DataFile() { Free(); }
    DataFile(const DataFile&) = delete;
    DataFile& operator=(const DataFile&) = delete;
    HMODULE Handle() const { return h_; }
    void Free() {
        if (h_)
            FreeLibrary(h_);
        h_ = nullptr;
    }

private:
    HMODULE h_;
};

} // namespace

void ReplaceMainIcon(const std::string& file, const std::string& iconFile) {
    if (GetVersion() & 0x80000000u)
        throw pe::ResourceUpdateError("Only supported on Windows NT and above");
    // The icon file is checked completely before the executable is touched.
    pe::IconFile icon = pe::ReadIconFile(iconFile);

    std::wstring wfile = Wide(file);
    Update update(wfile);
    if (!update.Handle())
        Fail("BeginUpdateResource failed (1)");
    DataFile module(wfile);
    if (!module.Handle())
        Fail("LoadLibraryEx failed (1)");
    HRSRC res = FindResourceW(module.Handle(), L"MAINICON", MAKEINTRESOURCEW(14));
    if (!res)
        Fail("FindResource failed (1)");
    HGLOBAL loaded = LoadResource(module.Handle(), res);
    if (!loaded)
        Fail("LoadResource failed (1)");
    const void* data = LockResource(loaded);
    if (!data)
        Fail("LockResource failed (1)");
    pe::IconGroup old;
    if (!pe::ParseIconGroup(static_cast<const uint8_t*>(data), SizeofResource(module.Handle(), res),
                            old))
        throw pe::ResourceUpdateError("The icon group \"MAINICON\" is damaged");
    WORD groupLanguage = 0;
    if (!ResourceLanguage(module.Handle(), MAKEINTRESOURCEW(14), L"MAINICON", groupLanguage))
        Fail("GetResourceLanguage failed (1)");
    // The languages of the old icons, while the file is loaded.
    std::vector<std::pair<WORD, WORD>> oldIcons;
    for (const pe::GroupImage& g : old.images) {
        WORD language = 0;
        if (!ResourceLanguage(module.Handle(), MAKEINTRESOURCEW(3), MAKEINTRESOURCEW(g.id),
                              language))
            Fail("GetResourceLanguage failed (2)");
        oldIcons.emplace_back(g.id, language);
    }
    module.Free();

    if (!UpdateResourceW(update.Handle(), MAKEINTRESOURCEW(14), L"MAINICON", groupLanguage, nullptr,
                         0))
        Fail("UpdateResource failed (1)");
    for (const auto& [id, language] : oldIcons)
        if (!UpdateResourceW(update.Handle(), MAKEINTRESOURCEW(3), MAKEINTRESOURCEW(id), language,
                             nullptr, 0))
            Fail("UpdateResource failed (2)");
    for (size_t i = 0; i < icon.images.size(); ++i) {
        std::vector<uint8_t>& bytes = icon.images[i].data;
        if (!UpdateResourceW(update.Handle(), MAKEINTRESOURCEW(3), MAKEINTRESOURCEW(i + 1),
                             pe::kLanguageUsEnglish, bytes.data(),
                             static_cast<DWORD>(bytes.size())))
            Fail("UpdateResource failed (3)");
    }
    std::vector<uint8_t> group = pe::MakeIconGroup(old.reserved, old.type, icon, 1);
    if (!UpdateResourceW(update.Handle(), MAKEINTRESOURCEW(14), L"MAINICON", pe::kLanguageUsEnglish,
                         group.data(), static_cast<DWORD>(group.size())))
        Fail("UpdateResource failed (4)");
    if (!update.Commit())
        Fail("EndUpdateResource failed");
}

void* CreateMainIcon(const std::string& file) {
    std::vector<uint8_t> ico = pe::LoadMainIcon(file);
    pe::IconFile one;
    if (ico.empty() || !pe::ParseIconFile(ico.data(), ico.size(), one))
        return nullptr;
    std::vector<uint8_t>& image = one.images.front().data;
    return CreateIconFromResourceEx(image.data(), static_cast<DWORD>(image.size()), TRUE,
                                    0x00030000, 0, 0, LR_DEFAULTCOLOR);
}

} // namespace orv::publish
