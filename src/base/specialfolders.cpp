#include "base/specialfolders.h"

#include <cstring>

namespace orv {

const TSpecialFolderInfo kSpecialFolders[kSpecialFolderCount] = {
    {0x00, "Desktop"},
    {0x01, "Internet"},
    {0x02, "Programs"},
    {0x03, "Controls"},
    {0x04, "Printers"},
    {0x05, "Personal"},
    {0x06, "Favorites"},
    {0x07, "Startup"},
    {0x08, "Recent"},
    {0x09, "SendTo"},
    {0x0A, "BitBucket"},
    {0x0B, "StartMenu"},
    {0x0C, "MyDocuments"},
    {0x0D, "MyMusic"},
    {0x0E, "MyVideo"},
    {0x10, "DesktopDirectory"},
    {0x11, "Drives"},
    {0x12, "Network"},
    {0x13, "Nethood"},
    {0x14, "Fonts"},
    {0x15, "Templates"},
    {0x16, "CommonStartMenu"},
    {0x17, "CommonPrograms"},
    {0x18, "CommonStartup"},
    {0x19, "CommonDesktopDirectory"},
    {0x1A, "AppData"},
    {0x1B, "Printhood"},
    {0x1C, "LocalAppData"},
    {0x1D, "ALTStartup"},
    {0x1E, "CommonALTStartup"},
    {0x1F, "CommonFavorites"},
    {0x20, "InternetCache"},
    {0x21, "Cookies"},
    {0x22, "History"},
    {0x23, "CommonAppData"},
    {0x24, "Windows"},
    {0x25, "System"},
    {0x26, "ProgramFiles"},
    {0x27, "MyPictures"},
    {0x28, "Profile"},
    {0x29, "SystemX86"},
    {0x2A, "ProgramFilesX86"},
    {0x2B, "ProgramFilesCommon"},
    {0x2C, "ProgramFilesCommonX86"},
    {0x2D, "CommonTemplates"},
    {0x2E, "CommonDocuments"},
    {0x2F, "CommonAdminTools"},
    {0x30, "AdminTools"},
    {0x31, "Connections"},
    {0x35, "CommonMusic"},
    {0x36, "CommonPictures"},
    {0x37, "CommonVideo"},
    {0x38, "Resources"},
    {0x39, "ResourcesLocalized"},
    {0x3A, "CommonOEMLinks"},
    {0x3B, "CDBurnArea"},
    {0x3D, "ComputersNearMe"},
};

int FindSpecialFolder(const std::string& name) {
    for (int i = 0; i < kSpecialFolderCount; ++i)
        if (name == kSpecialFolders[i].name)
            return i;
    return -1;
}

int ParseFolderToken(const std::string& text) {
    if (text.size() <= 2 || text.front() != '[' || text.back() != ']')
        return -1;
    return FindSpecialFolder(text.substr(1, text.size() - 2));
}

} // namespace orv
