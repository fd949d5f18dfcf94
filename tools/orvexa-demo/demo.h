// The bundled demo menu: a project folder built with the model, showing the
// object kinds, page settings, menus and status bars the player supports,
// page navigation, a sub page, a login page, questions that branch, plus
// objects of kinds whose controls come later. The same folder comes out
// byte for byte on every run.
#pragma once

#include "base/report.h"
#include "model/project.h"

#include <string>
#include <vector>

namespace orv::demo {

// Page names in page order; page 0 is the main page.
inline constexpr const char* kWelcomePage = "Welcome";
inline constexpr const char* kProductsPage = "Products";
inline constexpr const char* kGradientsPage = "Gradients";
inline constexpr const char* kAboutPage = "About";
inline constexpr const char* kLoginPage = "Login";
inline constexpr const char* kMembersPage = "Members";

// The accounts the demo's login page accepts ("user,password" lines).
inline constexpr const char* kDemoAccounts = "demo,orvexa\r\nguest,welcome";

// Seeds the project file's header so the file is the same on every run.
inline constexpr uint32_t kHeaderSeed = 20240611;

// A file the demo writes beside the project file: its stored name (with the
// leading backslash, as actions name it) and its bytes.
struct MediaFile {
    std::string storedName;
    std::vector<uint8_t> bytes;
};

// The media files of the demo (pictures, a sound, a text).
std::vector<MediaFile> DemoMedia();

// Fills project with the demo's settings and pages (each page cached).
bool BuildDemoProject(model::TAuProject& project, Reporter& r);

// Writes the demo project folder: folder (created when missing, parents
// included), its media files and autorun.aru. Existing files of the same
// names are replaced; other files in the folder are left alone.
bool WriteDemoFolder(const std::string& folder, Reporter& r);

} // namespace orv::demo
