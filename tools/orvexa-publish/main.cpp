// orvexa-publish: publishes a project folder without the editor.
//
//   orvexa-publish FOLDER [--launcher ORVEXA_EXE] [--label TEXT]
//                         [--file-info DESCRIPTION COMPANY COPYRIGHT]
//                         [--icon FILE.ico] [--single-file OUT.exe]
//
// --launcher refreshes the launcher files exactly as the editor's save does
// (autorun.exe from the given program when its version differs, autorun.ico
// from the program's Default.ico when missing, autorun.inf with the
// project's CD label or --label). --file-info and --icon write the
// launcher's file information; --single-file then builds the
// self-extracting menu. Steps run in this order; the first failure stops
// with exit code 1, a wrong command line exits with 2.
#include "base/fsys.h"
#include "base/path.h"
#include "base/report.h"
#include "base/text.h"
#include "model/project.h"
#include "pe/version_info.h"
#include "publish/publish.h"

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr const char* kUsage =
    "usage: orvexa-publish FOLDER [--launcher ORVEXA_EXE] [--label TEXT]\n"
    "                      [--file-info DESCRIPTION COMPANY COPYRIGHT] [--icon FILE.ico]\n"
    "                      [--single-file OUT.exe]\n";

struct Options {
    std::string folder;
    std::string launcher;
    std::optional<std::string> label;
    bool fileInfo = false;
    std::string description, company, copyright;
    std::string icon;
    std::string singleFile;
};

int Usage(const std::string& problem) {
    std::fprintf(stderr, "orvexa-publish: %s\n%s", problem.c_str(), kUsage);
    return 2;
}

int Fail(const std::string& text) {
    std::fprintf(stderr, "orvexa-publish: %s\n", text.c_str());
    return 1;
}

// An absolute, normalised path without a trailing separator, so that
// folders given in different spellings compare.
std::string Absolute(const std::string& path) {
    std::error_code ec;
    std::filesystem::path p = std::filesystem::absolute(path, ec);
    if (ec)
        return path;
    std::string s = p.lexically_normal().string();
    return orv::ExcludeTrailingBackslash(s);
}

bool Parse(int argc, char** argv, Options& o, std::string& problem) {
    std::vector<std::string> args(argv + 1, argv + argc);
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= args.size()) {
                problem = a + " needs a value";
                return false;
            }
            out = args[++i];
            return true;
        };
        if (a == "--launcher") {
            if (!value(o.launcher))
                return false;
        } else if (a == "--label") {
            std::string l;
            if (!value(l))
                return false;
            o.label = l;
        } else if (a == "--icon") {
            if (!value(o.icon))
                return false;
        } else if (a == "--single-file") {
            if (!value(o.singleFile))
                return false;
        } else if (a == "--file-info") {
            if (i + 3 >= args.size()) {
                problem = "--file-info needs DESCRIPTION COMPANY COPYRIGHT";
                return false;
            }
            o.fileInfo = true;
            o.description = args[++i];
            o.company = args[++i];
            o.copyright = args[++i];
        } else if (a == "--help" || a == "-h") {
            problem = "help";
            return false;
        } else if (a.rfind("--", 0) == 0) {
            problem = "unknown option " + a;
            return false;
        } else if (o.folder.empty()) {
            o.folder = a;
        } else {
            problem = "more than one project folder";
            return false;
        }
    }
    if (o.folder.empty()) {
        problem = "no project folder given";
        return false;
    }
    if (o.launcher.empty() && !o.fileInfo && o.icon.empty() && o.singleFile.empty()) {
        problem = "nothing to do";
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    Options o;
    std::string problem;
    if (!Parse(argc, argv, o, problem)) {
        if (problem == "help") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        return Usage(problem);
    }
    orv::StderrReporter reporter;
    o.folder = Absolute(o.folder);
    if (!orv::fsys::DirectoryExists(o.folder))
        return Fail("Directory \"" + o.folder + "\" not found");

    orv::publish::LauncherContext ctx;
    ctx.projectFolder = o.folder;
    std::string launcher = orv::fsys::Join(o.folder, orv::publish::kLauncherFile);

    if (!o.launcher.empty()) {
        ctx.programPath = Absolute(o.launcher);
        if (!orv::fsys::FileExists(ctx.programPath))
            return Fail("The program \"" + ctx.programPath + "\" does not exist");
        ctx.ownFileVersion = orv::pe::ReadVersionString(ctx.programPath, "FileVersion");
        if (ctx.ownFileVersion.empty())
            return Fail("\"" + ctx.programPath + "\" has no \"FileVersion\" version string");
        if (o.label) {
            ctx.cdLabel = *o.label;
        } else {
            // The CD label is the project's, as the editor would write it.
            std::string projectFile = orv::fsys::Join(o.folder, "autorun.aru");
            if (!orv::fsys::FileExists(projectFile))
                return Fail("The project file \"" + projectFile +
                            "\" does not exist (give the CD label with --label)");
            orv::model::TAuProject project;
            if (!orv::model::ReadProjectFile(project, projectFile, reporter))
                return Fail("The project file \"" + projectFile + "\" could not be read");
            ctx.cdLabel = project.CDLabel;
        }
        if (!orv::publish::RefreshLauncherFiles(ctx, reporter))
            return 1;
    }

    if (o.fileInfo || !o.icon.empty()) {
        if (!orv::fsys::FileExists(launcher) && ctx.programPath.empty())
            return Fail("The project folder has no \"autorun.exe\" (give --launcher)");
        if (ctx.programPath.empty()) {
            // Without a program the launcher is brought up to nothing: it is
            // its own version.
            ctx.programPath = launcher;
            ctx.ownFileVersion = orv::pe::ReadVersionString(launcher, "FileVersion");
        }
        if (!o.icon.empty() && !orv::fsys::FileExists(o.icon))
            return Fail("The icon file \"" + o.icon + "\" does not exist");
        if (!o.fileInfo) {
            // Only the icon changes: the texts stay as they are.
            o.description = orv::Trim(orv::pe::ReadVersionString(launcher, "FileDescription"));
            o.company = orv::Trim(orv::pe::ReadVersionString(launcher, "CompanyName"));
            o.copyright = orv::Trim(orv::pe::ReadVersionString(launcher, "LegalCopyright"));
        }
        if (!orv::publish::UpdateLauncherInformation(ctx, o.icon, o.description, o.company,
                                                     o.copyright, reporter))
            return 1;
    }

    if (!o.singleFile.empty()) {
        std::string target = Absolute(o.singleFile);
        if (orv::publish::IsInsideFolder(o.folder, target))
            return Fail("Selected folder can not be in the current project folder.");
        if (!orv::fsys::FileExists(launcher))
            return Fail("The project folder has no \"autorun.exe\" (give --launcher)");
        if (!orv::publish::BuildSingleFileTo(o.folder, target, reporter))
            return 1;
        std::printf("%s\n", target.c_str());
    }
    return 0;
}
