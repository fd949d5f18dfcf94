#include "pe/icon_replace.h"

#include "base/fsys.h"
#include "base/stream.h"
#include "pe/pe_error.h"
#include "pe/pe_image.h"
#include "pe/resource_tree.h"

#include <algorithm>
#include <set>

namespace orv::pe {

namespace {

// Executables larger than this are not read into memory for an icon change.
constexpr int64_t kMaxExecutableSize = 512LL << 20;
constexpr uint32_t kResourceSectionFlags = 0x40000040; // initialised data, readable

bool PowerOfTwo(uint32_t v) {
    return v != 0 && (v & (v - 1)) == 0;
}
uint64_t AlignUp(uint64_t v, uint32_t a) {
    return (v + a - 1) / a * a;
}

std::string FileErrorText() {
    int e = fsys::LastErrorNumber();
    std::string t = fsys::ErrorText(e);
    while (!t.empty() && (t.back() == '.' || static_cast<unsigned char>(t.back()) <= ' '))
        t.pop_back();
    return t.empty() ? "File I/O error " + std::to_string(e) : t;
}

// Replaces exe[at, at + oldSize) with bytes, moving what follows.
void Splice(std::vector<uint8_t>& exe, uint64_t at, uint64_t oldSize,
            const std::vector<uint8_t>& bytes) {
    auto first = exe.begin() + static_cast<ptrdiff_t>(at);
    exe.erase(first, first + static_cast<ptrdiff_t>(oldSize));
    exe.insert(exe.begin() + static_cast<ptrdiff_t>(at), bytes.begin(), bytes.end());
}

} // namespace

void ReplaceMainIconInTree(ResourceTree& tree, const IconFile& icon) {
    const ResName groupType = ResName::Id(kTypeGroupIcon);
    const ResName groupName = ResName::Name(kMainIconName);
    ResItem* item = tree.FindItem(groupType, groupName);
    if (!item || item->leaves.empty())
        throw ResourceUpdateError("Can't find the icon group \"MAINICON\"");
    // The platform lists languages in ascending order; the first is used.
    const ResLeaf* first = &item->leaves.front();
    for (const ResLeaf& l : item->leaves)
        if (l.language < first->language)
            first = &l;
    uint32_t language = first->language;
    IconGroup old;
    if (!ParseIconGroup(first->data.data(), first->data.size(), old))
        throw ResourceUpdateError("The icon group \"MAINICON\" is damaged");

    tree.Remove(groupType, groupName, language);
    std::set<uint16_t> removed;
    for (const GroupImage& g : old.images) {
        if (!removed.insert(g.id).second)
            continue;
        ResItem* ic = tree.FindItem(ResName::Id(kTypeIcon), ResName::Id(g.id));
        if (!ic || ic->leaves.empty())
            continue; // the old group named an icon that is not there
        uint32_t lang = ic->leaves.front().language;
        for (const ResLeaf& l : ic->leaves)
            lang = std::min(lang, l.language);
        tree.Remove(ResName::Id(kTypeIcon), ResName::Id(g.id), lang);
    }
    for (size_t i = 0; i < icon.images.size(); ++i)
        tree.Put(ResName::Id(kTypeIcon), ResName::Id(static_cast<uint32_t>(i + 1)),
                 kLanguageUsEnglish, icon.images[i].data);
    tree.Put(groupType, groupName, kLanguageUsEnglish,
             MakeIconGroup(old.reserved, old.type, icon, 1));
}

void ReplaceMainIconInImage(std::vector<uint8_t>& exe, const IconFile& icon) {
    if (icon.images.empty() || icon.images.size() > 0xFFFF)
        throw ResourceUpdateError("Icon file is invalid");
    Headers h;
    {
        ViewStream s(exe.data(), exe.size());
        switch (ReadHeaders(s, h, false)) {
        case HeaderFault::None:
            break;
        case HeaderFault::NotMz:
            throw ResourceUpdateError("File isn't an EXE file (1)");
        default:
            throw ResourceUpdateError("File isn't a PE file");
        }
    }
    if (h.resourceRva == 0 || h.resourceSize == 0)
        throw ResourceUpdateError("No resources (1)");
    int index = FindSectionHolding(h, h.resourceRva);
    if (index < 0)
        throw ResourceUpdateError("No resources (2)");
    if (!PowerOfTwo(h.fileAlignment) || !PowerOfTwo(h.sectionAlignment))
        throw ResourceUpdateError("The executable's section alignment is invalid");
    // Sections that share image addresses or file bytes would make the
    // rewrite damage one of them; the platform's loader refuses them too.
    for (size_t i = 0; i < h.sections.size(); ++i)
        for (size_t j = i + 1; j < h.sections.size(); ++j) {
            const Section& a = h.sections[i];
            const Section& b = h.sections[j];
            bool imageOverlap =
                a.virtualAddress < b.VirtualEnd() && b.virtualAddress < a.VirtualEnd();
            bool fileOverlap = a.rawSize && b.rawSize &&
                               a.rawOffset < uint64_t{b.rawOffset} + b.rawSize &&
                               b.rawOffset < uint64_t{a.rawOffset} + a.rawSize;
            if (imageOverlap || fileOverlap)
                throw ResourceUpdateError("The executable's sections overlap");
        }
    Section sec = h.sections[static_cast<size_t>(index)];
    if (!InRange(sec.rawOffset, sec.rawSize, exe.size()))
        throw ResourceUpdateError("Invalid resource (2)");

    ResourceSection rs;
    rs.rva = sec.virtualAddress;
    rs.rootOffset = h.resourceRva - sec.virtualAddress;
    rs.bytes.assign(exe.begin() + sec.rawOffset, exe.begin() + sec.rawOffset + sec.rawSize);
    ResourceTree tree;
    try {
        tree = ParseResourceTree(rs);
    } catch (const ResourceUpdateError&) {
        throw;
    } catch (const PeError& e) {
        throw ResourceUpdateError(e.what());
    }
    ReplaceMainIconInTree(tree, icon);

    std::vector<uint8_t> out = exe;
    uint64_t rawEnd = h.RawEnd();
    uint64_t imageEnd = 0;
    for (const Section& s : h.sections)
        imageEnd = std::max(imageEnd, AlignUp(s.VirtualEnd(), h.sectionAlignment));
    imageEnd = std::max<uint64_t>(imageEnd, h.sizeOfImage);
    uint64_t nextVa = UINT64_MAX;
    for (const Section& s : h.sections)
        if (s.virtualAddress > sec.virtualAddress)
            nextVa = std::min<uint64_t>(nextVa, s.virtualAddress);
    bool startsSection = h.resourceRva == sec.virtualAddress;
    bool lastInImage = nextVa == UINT64_MAX;
    bool lastInFile = uint64_t{sec.rawOffset} + sec.rawSize == rawEnd && rawEnd <= exe.size();

    std::vector<uint8_t> bytes;
    uint32_t newRva = sec.virtualAddress;
    int64_t initialisedDelta = 0;
    uint64_t sizeOfImage = h.sizeOfImage;
    try {
        bytes = BuildResourceSection(tree, sec.virtualAddress);
    } catch (const PeError& e) {
        throw ResourceUpdateError(e.what());
    }

    uint64_t shiftFrom = rawEnd; // file data from here on moves by shift
    int64_t shift = 0;
    if (startsSection && bytes.size() <= sec.rawSize &&
        (lastInImage || sec.virtualAddress + AlignUp(bytes.size(), h.sectionAlignment) <= nextVa)) {
        // In place: the old section has room.
        std::vector<uint8_t> padded = bytes;
        padded.resize(sec.rawSize, 0);
        std::copy(padded.begin(), padded.end(), out.begin() + sec.rawOffset);
        PutU32(out.data() + sec.headerOffset + 8, static_cast<uint32_t>(bytes.size()));
        // The section may now reach further into the image than before.
        sizeOfImage = std::max<uint64_t>(
            sizeOfImage, AlignUp(uint64_t{sec.virtualAddress} + bytes.size(), h.sectionAlignment));
    } else if (startsSection && lastInImage && lastInFile) {
        // The last section grows; what follows it in the file moves along.
        uint64_t newRaw = AlignUp(bytes.size(), h.fileAlignment);
        std::vector<uint8_t> padded = bytes;
        padded.resize(newRaw, 0);
        Splice(out, sec.rawOffset, sec.rawSize, padded);
        shift = static_cast<int64_t>(newRaw) - static_cast<int64_t>(sec.rawSize);
        initialisedDelta = shift;
        PutU32(out.data() + sec.headerOffset + 8, static_cast<uint32_t>(bytes.size()));
        PutU32(out.data() + sec.headerOffset + 16, static_cast<uint32_t>(newRaw));
        sizeOfImage = AlignUp(uint64_t{sec.virtualAddress} + bytes.size(), h.sectionAlignment);
    } else {
        // A new section after all others; the old one stays, unused.
        uint64_t tableEnd =
            uint64_t{h.sectionTableOffset} + kSectionHeaderSize * (h.sections.size() + 1);
        uint64_t firstRaw = h.sizeOfHeaders;
        for (const Section& s : h.sections)
            if (s.rawSize != 0)
                firstRaw = std::min<uint64_t>(firstRaw, s.rawOffset);
        if (tableEnd > firstRaw || h.sections.size() >= kMaxSections || rawEnd > exe.size())
            throw ResourceUpdateError("No room for a new resource section in the executable");
        if (imageEnd > 0xFFFFFFFFu)
            throw ResourceUpdateError("The executable's image is too large");
        newRva = static_cast<uint32_t>(imageEnd);
        try {
            bytes = BuildResourceSection(tree, newRva);
        } catch (const PeError& e) {
            throw ResourceUpdateError(e.what());
        }
        uint64_t rawAt = AlignUp(rawEnd, h.fileAlignment);
        uint64_t newRaw = AlignUp(bytes.size(), h.fileAlignment);
        std::vector<uint8_t> block(rawAt - rawEnd, 0);
        block.insert(block.end(), bytes.begin(), bytes.end());
        block.resize(rawAt - rawEnd + newRaw, 0);
        out.insert(out.begin() + static_cast<ptrdiff_t>(rawEnd), block.begin(), block.end());
        shift = static_cast<int64_t>(block.size());
        initialisedDelta = static_cast<int64_t>(newRaw);
        sizeOfImage = AlignUp(uint64_t{newRva} + bytes.size(), h.sectionAlignment);
        if (sizeOfImage > 0xFFFFFFFFu || rawAt + newRaw > 0xFFFFFFFFu)
            throw ResourceUpdateError("The executable's image is too large");
        uint8_t* hdr = out.data() + tableEnd - kSectionHeaderSize;
        std::fill(hdr, hdr + kSectionHeaderSize, 0);
        const char name[8] = {'.', 'r', 's', 'r', 'c', 0, 0, 0};
        std::copy(name, name + 8, hdr);
        PutU32(hdr + 8, static_cast<uint32_t>(bytes.size()));
        PutU32(hdr + 12, newRva);
        PutU32(hdr + 16, static_cast<uint32_t>(newRaw));
        PutU32(hdr + 20, static_cast<uint32_t>(rawAt));
        PutU32(hdr + 36, kResourceSectionFlags);
        PutU16(out.data() + h.peOffset + 6, static_cast<uint16_t>(h.sections.size() + 1));
        // The old section keeps its bytes but no longer holds the resources.
        const char oldName[8] = {'.', 'o', 'r', 's', 'r', 'c', 0, 0};
        std::copy(oldName, oldName + 8, out.data() + sec.headerOffset);
    }

    PutU32(out.data() + h.DirectoryEntryOffset(kResourceDirectory), newRva);
    PutU32(out.data() + h.DirectoryEntryOffset(kResourceDirectory) + 4,
           static_cast<uint32_t>(bytes.size()));
    if (sizeOfImage > 0xFFFFFFFFu)
        throw ResourceUpdateError("The executable's image is too large");
    PutU32(out.data() + h.SizeOfImageOffset(), static_cast<uint32_t>(sizeOfImage));
    uint32_t initialised = GetU32(out.data() + h.SizeOfInitializedDataOffset());
    PutU32(out.data() + h.SizeOfInitializedDataOffset(),
           static_cast<uint32_t>(static_cast<int64_t>(initialised) + initialisedDelta));
    // A certificate table is addressed by file offset; keep it pointing at
    // its bytes when they moved.
    if (shift != 0 && h.directoryCount > kSecurityDirectory) {
        uint8_t* dir = out.data() + h.DirectoryEntryOffset(kSecurityDirectory);
        uint32_t at = GetU32(dir);
        if (at != 0 && at >= shiftFrom)
            PutU32(dir, static_cast<uint32_t>(static_cast<int64_t>(at) + shift));
    }
    if (h.checkSum != 0)
        PutU32(out.data() + h.CheckSumOffset(), ComputeCheckSum(out, h.CheckSumOffset()));
    exe = std::move(out);
}

void ReplaceMainIconInFile(const std::string& exeFile, const std::string& iconFile) {
    IconFile icon = ReadIconFile(iconFile);
    std::vector<uint8_t> exe;
    {
        FileStream f;
        if (!f.Open(exeFile, FileStream::Mode::Read))
            throw ResourceUpdateError(FileErrorText());
        try {
            if (f.Size() > kMaxExecutableSize)
                throw ResourceUpdateError("The executable file is too large");
            exe = f.ReadBytes(f.Size());
        } catch (const StreamError&) {
            throw ResourceUpdateError(FileErrorText());
        }
    }
    ReplaceMainIconInImage(exe, icon);

    // A copy first, so the temporary file has the executable's permissions.
    std::string tmp = exeFile + ".tmp";
    bool ok = fsys::CopyFileTo(exeFile, tmp, true);
    if (ok) {
        FileStream out;
        ok = out.Open(tmp, FileStream::Mode::Create) &&
             out.Write(exe.data(), exe.size()) == exe.size() && out.Sync();
        ok = out.Close() && ok;
    }
    if (!ok || !fsys::MoveReplace(tmp, exeFile)) {
        std::string reason = FileErrorText();
        fsys::RemoveFile(tmp);
        throw ResourceUpdateError(reason);
    }
}

} // namespace orv::pe
