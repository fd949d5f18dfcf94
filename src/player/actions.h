// The action engine: everything a menu does when the user clicks.
//
// A player window implements ActionHost; the page-object controls that the
// actions drive implement ActionTarget (a kind that does not yet simply
// answers null from ActionHost::TargetOf and the actions on it do nothing).
// The platform's services (shell, sounds, registry, message boxes) come
// through ActionPlatform, so the engine itself is portable and is tested
// natively against fakes.
//
// Lists are never run in place: the engine runs a copy, so an action that
// pumps messages (a message box, a program's wait, a modal page) cannot
// free the list it belongs to. The destructive steps of a window (page
// switch, close, loading an object file into an object) are held back until
// the outermost list running on that window has finished.
#pragma once

#include "base/report.h"
#include "model/action_target.h"
#include "model/actions.h"
#include "model/object.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orv::player {

using model::TAuAction;
using model::TAuActions;
using model::TAuObject;

// ---- what a page object offers the engine (model/action_target.h)
using model::ActionTarget;
using model::ApplyPendingChanges;
using model::MediaCommand;

// ---- what a window offers the engine

// Bookkeeping of the lists running on one window (owned by the window,
// handled by the engine).
struct ActionRunState {
    int depth = 0;                  // lists of this window now running
    std::optional<int> pendingPage; // page switch held back
    bool pendingClose = false;      // close this window
    bool pendingCloseMain = false;  // close the main player window
    struct Load {
        std::string objectPath, file;
    };
    std::vector<Load> pendingLoads; // LoadObjectFromFile held back
    // Login failure counts per record of the page shown. The window clears
    // them whenever it loads a page.
    std::vector<std::pair<const TAuObject*, int>> loginFailures;
};

class ActionHost {
public:
    virtual ~ActionHost() = default;

    // Objects of the page shown, by path (FindObject below the page root),
    // and the page root itself.
    virtual TAuObject* FindObject(const std::string& path) = 0;
    virtual TAuObject* PageRoot() = 0;
    // The live control of a record as an action target; null when the
    // record has no control or its kind serves no action yet.
    virtual ActionTarget* TargetOf(TAuObject& record) = 0;
    virtual void SetObjectEnabled(TAuObject& record, bool enabled) = 0;
    virtual void SetObjectVisible(TAuObject& record, bool visible) = 0;

    // Pages. CurrentPage: the index in the project's page table.
    // SwitchToPage: store the index in the page-switch timer and start it.
    virtual int CurrentPage() const = 0;
    virtual void SwitchToPage(int index) = 0;
    // mode 0 sub page, 1 modal sub page, 2 full-screen background, 3 login
    // page; returns login passed for mode 3, else false.
    virtual bool ShowSubPage(int index, int mode, bool closeOnInput, int32_t closeAfter) = 0;

    // Closing. RequestClose: this window, through its close timer;
    // RequestCloseMain: the main player window, through its close timer.
    virtual void RequestClose() = 0;
    virtual void RequestCloseMain() = 0;
    // 0 normal, 1 minimised, 2 maximised.
    virtual void SetWindowState(int state) = 0;
    virtual void SetLoginPassed(bool passed) = 0;
    // 0 ordinary window, 1 modal sub page, 3 login page.
    virtual int ModalKind() const = 0;
    virtual bool IsMainWindow() const = 0;
    // The editor's preview window.
    virtual bool IsPreview() const = 0;

    // The status bar panels.
    virtual int StatusPanelCount() const = 0;
    virtual void SetStatusPanelText(int index, const std::string& text) = 0;

    // LoadObjectFromFile: load the object file into the record at path
    // (model::LoadObjectFile, which reports its own failures) and rebuild
    // the record's controls. Called only when no list runs on the window.
    virtual void LoadObjectFromFile(const std::string& objectPath, const std::string& file) = 0;

    // True while a list runs on this window: the window must not free
    // itself or its page until it is false again.
    bool ListsRunning() const { return runState.depth > 0; }
    ActionRunState runState;
};

// ---- the platform

// One shell start: the verb ("open", "print", "explore"), the file or URL,
// the parameter text, the show-window code, the start folder (may be
// empty) and whether to wait for the started process.
struct ShellRequest {
    std::string verb, file, parameters, folder;
    bool wait = false;
    int32_t show = 1;
};

class ActionPlatform {
public:
    virtual ~ActionPlatform() = default;
    // Message boxes and the object-file reports.
    virtual Reporter& UI() = 0;
    // Starts the request; with wait shows the "Please Wait..." window and
    // keeps the message loop running until the process ends (never waits
    // when no process came back). Returns 33 on success, else the platform
    // error number of the failed call (mapped by ShellRun).
    virtual uint32_t ShellStart(const ShellRequest& request) = 0;
    virtual bool FileExists(const std::string& path) = 0;
    virtual bool DirectoryExists(const std::string& path) = 0;
    // The folder a special-folder token names, or empty.
    virtual std::string FolderOfToken(const std::string& token) = 0;
    // The default value of a key below the registry's classes root, or
    // empty when the key or value is missing.
    virtual std::string ClassesRootDefault(const std::string& subKey) = 0;
    virtual void PlatformVersion(int& major, int& minor) = 0;
    // The background sound channels 0..2; file is a full path.
    virtual void PlaySound(int channel, const std::string& file, bool loop) = 0;
    virtual void StopSound(int channel) = 0;
    virtual void MinimizeApplication() = 0;
    virtual void RestoreApplication() = 0;
    // A sub page opened with no window running the list (the start list):
    // as ActionHost::ShowSubPage.
    virtual bool ShowSubPage(int index, int mode, bool closeOnInput, int32_t closeAfter) = 0;
    // ShowImage, LaunchMedia, LaunchSlideShow and CopyFile (kind 39, 40,
    // 41 or 43) with their Param1; the result is the action's result.
    virtual bool RunFileAction(const std::string& param1, uint8_t kind) = 0;
};

// The platform the engine uses: the one installed with SetActionPlatform,
// else the program's own (Windows) or one that does nothing (elsewhere).
ActionPlatform& Platform();
ActionPlatform& DefaultActionPlatform();
// Null restores the default. The caller keeps the platform alive.
void SetActionPlatform(ActionPlatform* platform);

// ---- the engine

// Runs a copy of every action of the list in order on the window; an
// action that requests exit does not stop the list. A malformed parameter
// ends the list (and the lists around it) with a message.
void RunActionList(ActionHost& host, const TAuActions& list);
// The window runner: "window" kinds here, every other kind through
// RunWindowlessAction; closes as Exit asks afterwards.
bool RunAction(ActionHost& host, const TAuAction& action);
// The "any" kinds, with a window or none; "window" kinds give false.
bool RunWindowlessAction(const TAuAction& action, ActionHost* host);
// A menu item's hint text parsed into a list and run.
void RunMenuItem(ActionHost& host, const model::TMenuItem& item);
// Runs a copy of a list with the window-less runner (to its end).
void RunWindowlessList(const TAuActions& list);
// The project's OnStart list with no window, ending at the first action
// after which exit is requested; OnExit likewise when the main window
// closes (runs to its end).
void RunStartActions();
void RunExitActions();

// If conditions. Returns false when the condition cannot be evaluated;
// otherwise result holds the outcome.
bool EvaluateCondition(const TAuAction& action, ActionHost* host, bool& result);

// The login check over record's children: 0 passed, 1 retry, 2 failed.
int ValidateLogin(ActionHost& host, TAuObject& record);

// Starts a file through the shell; false after showing the error text.
bool ShellRun(const std::string& verb, const std::string& file, const std::string& parameters,
              bool wait, int32_t show, const std::string& folder);

// The text of a shell result code (0..32), "Operation Error" for others.
const char* ShellErrorText(uint32_t code);
// The result code for a platform error number of a failed start.
uint32_t ShellCodeOfError(uint32_t platformError);

} // namespace orv::player
