#include "startup/app.h"

#include "base/fsys.h"
#include "base/packfolder.h"
#include "base/path.h"
#include "base/profile.h"
#include "base/text.h"
#include "model/project.h"
#include "objects/generalform.h"
#include "player/autorunform.h"
#include "player/project_instance.h"
#include "startup/startup.h"
#include "win/interact.h"
#include "win/services.h"

#include <windows.h>

#include <commctrl.h>

namespace orv {

namespace {

// What start-up does with the project until a later layer replaces a hook:
// the model loads and empties it; there is no window yet to show it in.
RunHooks DefaultHooks() {
    RunHooks h;
    h.loadProject = [](const std::string& file, bool editorMode, Reporter& r) {
        model::ProjectReadOptions options;
        options.readSummaries = editorMode;
        if (editorMode)
            options.askPassword = [](const std::string& title, const std::string& prompt,
                                     std::string& answer) {
                return win::UI().InputText(title, prompt, answer, true);
            };
        return model::ReadProjectFile(Project(), file, r, options);
    };
    h.projectTitle = [] { return Project().ApplicationTitle; };
    h.pageCount = [] { return static_cast<int>(Project().Pages.size()); };
    h.resetProject = [] { model::ResetProject(Project(), false); };
    h.runPlayer = [] {
        player::TAutoRunForm form;
        if (!form.LoadPageByIndex(0, 0))
            return;
        form.ApplyPlacement();
        form.SetCurrentPage(0);
        player::SetMainForm(&form);
        player::InstallProjectFileCheck();
        form.ShowPage();
        player::TAutoRunForm::RunMessageLoop();
        player::SetMainForm(nullptr);
    };
    h.runStartActions = [] { player::RunStartActions(); };
    return h;
}

} // namespace

RunHooks& Hooks() {
    static RunHooks hooks = DefaultHooks();
    return hooks;
}

namespace {

constexpr int kPersonalFolderIndex = 5;

void ShowInformation(const std::string& text, const std::string& caption) {
    win::OffscreenOwner owner;
    win::UI().Show(text, caption, mb::kIconInformation | mb::kOk);
}

// Fixes the project folder of the editor; false when the user cancelled
// the folder dialog (the program then ends at once).
bool ChooseEditorFolder(TStartupState& st, const std::vector<std::string>& args) {
    st.personalFolder = ExcludeTrailingBackslash(win::SpecialFolderPath(kPersonalFolderIndex));
    std::string settingsPath = fsys::Join(st.programFolder, kSettingsFileName);
    std::string defaultPath;
    if (fsys::FileExists(settingsPath)) {
        IniFile ini;
        ini.Load(settingsPath);
        defaultPath = ini.ReadString("START", "DefaultPath", "");
    }
    st.projectFolder = EditorProjectFolder(defaultPath, args, st.personalFolder);
    if (!st.projectFolder.empty())
        return true;
    ShowInformation("The default project folder does not exist.", "Project Folder");
    std::string folder;
    bool ok;
    {
        win::OffscreenOwner owner;
        ok = win::SelectProjectFolder(folder);
    }
    if (!ok || folder.empty())
        return false;
    st.projectFolder = folder;
    st.folderChosenByDialog = true;
    return true;
}

} // namespace

int RunOrvexa(const std::vector<std::string>& args) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);

    TStartupState& st = Startup();
    st = TStartupState{};
    std::string exe = fsys::ExecutablePath();
    st.programFolder = ExcludeTrailingBackslash(ExtractFileDir(exe));

    std::string recorded = Trim(win::ReadVersionString(exe, "OriginalFilename"));
    RunMode mode = DecideRunMode(recorded, Trim(ExtractFileName(exe)));
    st.editorMode = mode == RunMode::Editor;
    st.singleFileMode = mode == RunMode::SingleFile;

    win::LoadCustomCursors();
    win::Interaction& ui = win::UI();

    switch (mode) {
    case RunMode::Editor:
        if (!ChooseEditorFolder(st, args))
            return 0;
        break;
    case RunMode::SingleFile: {
        win::OffscreenOwner owner;
        st.projectFolder = UnpackSingleFile(exe, fsys::TempFolder(), ui, st.singleFileFolder);
        break;
    }
    case RunMode::Player:
        st.projectFolder = st.programFolder;
        break;
    }

    objects::CreateGeneralForm();
    st.projectFolder = ExcludeTrailingBackslash(st.projectFolder);
    objects::SetProjectFolder(st.projectFolder);
    std::string projectFile =
        st.projectFolder.empty() ? std::string() : fsys::Join(st.projectFolder, kProjectFileName);
    if (!projectFile.empty() && fsys::FileExists(projectFile)) {
        st.projectFileTime = fsys::FileAge(projectFile);
        win::OffscreenOwner owner;
        st.projectLoaded =
            Hooks().loadProject && Hooks().loadProject(projectFile, st.editorMode, ui);
    } else if (!st.folderChosenByDialog) {
        ShowInformation("AutoRun CD Data file does not exist.", "Information");
    }

    if (st.editorMode) {
        if (Hooks().runEditor)
            Hooks().runEditor(st.projectLoaded);
    } else if (st.projectLoaded) {
        if (Hooks().runStartActions) {
            win::OffscreenOwner owner;
            Hooks().runStartActions();
        }
        if (!st.exitRequested) {
            int pages = Hooks().pageCount ? Hooks().pageCount() : 0;
            if (pages == 0)
                ShowInformation("There is no page in the AutoRun CD project.", "No page");
            else if (Hooks().runPlayer)
                Hooks().runPlayer();
        }
    }

    // End of run: empty the project, and remove exactly the folder that a
    // single-file run created, also when unpacking failed.
    if (Hooks().resetProject)
        Hooks().resetProject();
    objects::FreeGeneralForm();
    if (!st.singleFileFolder.empty())
        DeleteFolderTree(st.singleFileFolder);
    return 0;
}

} // namespace orv
