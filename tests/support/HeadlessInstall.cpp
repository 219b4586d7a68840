// A complete install without a window, for tests, with the IDEs of the test's choosing.
#include "changes/help/HelpChanges.h"
#include "support/HeadlessInstall.h"

#include <gtest/gtest.h>
#include "changes/uninstallentry/UninstallEntry.h"
#include <windows.h>

#include "common/ProcessGlobals.h"
#include "common/Handles.h"
#include "common/IdeTable.h"
#include "common/Locations.h"
#include "common/RowKinds.h"
#include "changes/UninstallEngine.h"
#include "common/Files.h"
#include "common/Registry.h"
#include "script/runner/InstallContext.h"
#include "changes/ActionLogic.h"
#include "script/manifest/Manifest.h"
#include "script/runner/ScriptRunner.h"
#include "setup/InstallChoices.h"
#include "standin/Machine.h"

using namespace tessel::common;
using namespace tessel::changes;
using namespace tessel::changes::uninstall_entry;
using namespace tessel::script;
using namespace tessel::setup;

uint64_t ItemMaskForIdes(const std::vector<int>& ides) {
    uint64_t mask = 0;
    for (int index : ides)
        if (IsIdeIndex(index)) mask |= IdeTable[index].Item.Bits();
    return mask;
}

HeadlessRun RunHeadlessInstall(const HeadlessOptions& options) {
    HeadlessRun run;
    const std::wstring setupExe =
        options.setupExe.empty() ? std::wstring(TESSEL_BUILD_DIR L"/setup/setup.exe") : options.setupExe;
    UniqueModule payload(LoadLibraryExW(setupExe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    if (!payload) return run;
    HMODULE previousModule = PayloadModule;
    PayloadModule = payload.get();

    tessel::script::InstallContext install;
    LoadPreviousSelection(install);  // discovery and preselection, as the IDE page starts
    for (int index : options.ides)
        if (IsIdeIndex(index)) install.Plan.SelectedIdeMask |= IdeTable[index].InternalId;
    install.Plan.SelectedItemMask = ItemMask(ItemMaskForIdes(options.ides) | options.extraItems);
    install.Plan.CustomizeMask = options.customizeMask;
    install.Plan.CopyOnly = options.copyOnly;
    install.Plan.CompileTimeoutMs = options.compileTimeoutMs;
    install.Plan.CompileJobs = options.compileJobs;
    install.Plan.InstallDir = options.installDir;

    // The compile rows leave the current directory in a package folder; give it back
    // so that an uninstall in this process can remove that folder.
    wchar_t savedDir[MAX_PATH + 1] = {};
    const DWORD savedLen = GetCurrentDirectoryW(MAX_PATH, savedDir);
    {
        ScriptRunner script(install.Plan);
        script.Start();
        // The script's rows lie one after another: its first rows are a script of their own.
        if (options.stopBeforeRow >= 0) script.UseRows(&ScriptRowAt(0), options.stopBeforeRow);
        RunRemainingRows(script, [&](ActionResult result) {
            if (result.Failed())
                run.failures.push_back({script.Current(), result.Code(), script.CurrentRow().Word0, script.LogText()});
            ++run.rows;
        });
        install.Outcome = script.Outcome();
    }
    if (savedLen > 0 && savedLen <= MAX_PATH) SetCurrentDirectoryW(savedDir);
    run.started = true;
    run.previousRemovalFailed = install.Outcome.PreviousRemovalFailed;
    PayloadModule = previousModule;
    return run;
}

bool RemoveThroughEntryWithEngine(bool refusedIsFailure) {
    const std::wstring key = uninstall_entry::EntryKeyPath();
    std::wstring command;
    if (ReadRegString(HKEY_LOCAL_MACHINE, key, L"UninstallString", command) != 0) return false;
    const std::wstring log = uninstall_entry::UndoLogPathFromUninstallString(command);
    UninstallEngine engine;
    if (log.empty() || engine.Load(log) != UndoLogLoad::Loaded) {
        if (refusedIsFailure) ADD_FAILURE() << "the uninstall entry names no undo log that the engine takes";
        return true;
    }
    engine.Undo();
    return true;
}

void ResetInstallPlaces(const std::wstring& installDir) {
    RemoveThroughEntryWithEngine();
    ClearMachine();
    (void)CreateRegKey(HKEY_LOCAL_MACHINE, tessel::changes::help::WinHelpKey);
    (void)DeleteDirectoryTree(installDir, false);
    (void)DeleteRegKey(HKEY_LOCAL_MACHINE, tessel::changes::uninstall_entry::EntryKeyPath());
    (void)DeleteRegKey(HKEY_LOCAL_MACHINE, ProductRegKey);
}
