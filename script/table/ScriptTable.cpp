// The install script: common files first, one block per IDE, the demos, and
// the product key last. Built once, on first use, and never changed after.
#include <deque>
#include <string>
#include <vector>
#include "changes/registry/RegistryKeyChanges.h"
#include "changes/help/HelpChanges.h"
#include "changes/settings/SettingsFile.h"
#include "changes/uninstallentry/UninstallEntry.h"
#include "common/Locations.h"
#include "script/manifest/Manifest.h"
#include "script/table/TableParts.h"

namespace tessel::script {
// The tables here are laid out by hand, in columns.
// clang-format off

using namespace tessel::common;
using namespace tessel::changes;

namespace {

const LibraryFile LibrarySourceFiles[] = {
    { 1,   L"qvTessel.inc",        false },
    { 2,   L"qvConsts.pas",        true },
    { 3,   L"qvUtils.pas",         true },
    { 4,   L"qvStorage.pas",       true },
    { 5,   L"qvIniStorage.pas",    true },
    { 6,   L"qvRegStorage.pas",    true },
    { 7,   L"qvXmlStorage.pas",    true },
    { 8,   L"qvFormPlacement.pas", true },
    { 9,   L"qvPropStorage.pas",   true },
    { 10,  L"qvStrHolder.pas",     true },
    { 11,  L"qvSettingsDlg.pas",   true },
    { 12,  L"qvSettingsDlg.dfm",   true },
    { 13,  L"qvEditors.pas",       true },
    { 14,  L"qvReg.pas",           true },
    { 15,  L"qvReg.dcr",           true },
    { 16,  L"qvStorageEditor.pas", true },
    { 17,  L"qvStorageEditor.dfm", true },
    { 18,  L"qvAbout.pas",         true },
    { 19,  L"qvAbout.dfm",         true },
    { 20,  L"qvCrypt.pas",         true },
    { 21,  L"qvStreams.pas",       true },
    { 22,  L"qvVersion.pas",       true },
    { 23,  L"qvResStr.pas",        true },
    { 24,  L"qvTessel.res",        true },
    { 26,  L"qvCmdLine.pas",       true },
    { 34,  L"qvEnvStorage.pas",    true },
    { 35,  L"qvAppEvents.pas",     false },
    { 873, L"qvCollStorage.pas",   false },
    { 874, L"qvDbStorage.pas",     false },
    { 950, L"qvJsonStorage.pas",   false },
};

void Prologue(ScriptBuilder& s) {
    // What the uninstaller needs to know about the product heads the undo log;
    // the direction marker must be the last of these facts.
    s.Info(InfoCode::ProductName);
    s.Info(InfoCode::ProductVersion);
    s.Info(InfoCode::InstallDir);
    s.Info(InfoCode::ProductRegKey);
    s.Info(InfoCode::ProductIntName);
    s.Info(InfoCode::Direction);

    s.CreateDir(L"", LocationCode::Install, RowFlag::Undo);  // the install folder itself
    // Before any other change, the uninstaller and the uninstall entry that
    // names the undo log: a run stopped at any later row is found and taken
    // back by the uninstaller and by the next setup.
    s.ExtractFileIfNewer(uninstall_entry::UninstallerFileName, 28, LocationCode::Install);
    s.RegisterUninstall(uninstall_entry::UninstallerFileName, LocationCode::Install, RowFlag::Undo);
    s.CreateDir(L"Source", LocationCode::Install, RowFlag::Undo);
    for (const LibraryFile& f : LibrarySources)
        s.ExtractFile(L"Source\\" + std::wstring(f.Name), f.Id, LocationCode::Install);
    s.IfItem(ItemBit::Delphi6AndLater);
        s.ExtractFile(L"Source\\qvActionStorage.pas", 526, LocationCode::Install);
        s.ExtractFile(L"Source\\qvVarUtils.pas", 527, LocationCode::Install);
    s.EndIfItem(ItemBit::Delphi6AndLater);

    s.ExtractFile(L"Readme.txt", 30, LocationCode::Install);
    s.ExtractFile(L"License.txt", 31, LocationCode::Install);
    s.ExtractFile(L"Install.txt", 32, LocationCode::Install);
    s.ExtractFile(L"History.txt", 33, LocationCode::Install);

    s.IfItem(ItemBit::HelpFiles);
        s.CreateDir(L"Help", LocationCode::Install, RowFlag::Undo);
        s.ExtractFile(L"Help\\qvlib.hlp", 60, LocationCode::Install);
        s.ExtractFile(L"Help\\qvlib.cnt", 61, LocationCode::Install);
        s.ExtractFile(L"Help\\qvlib.chm", 62, LocationCode::Install);
        s.ExtractFile(L"Help\\qvlib.kwf", 63, LocationCode::Install);
        s.ExtractFile(L"Help\\qvlib.toc", 64, LocationCode::Install);
        s.IfItem(ItemBit::WithAliasFile);
            s.ExtractFile(L"Help\\qvlib.als", 65, LocationCode::Install);
        s.EndIfItem(ItemBit::WithAliasFile);
        s.SetHelpDir(L"Help", LocationCode::Install);
        s.RegisterWinHelp(help::HelpFile, RowFlag::Undo);
        s.RegisterWinHelp(help::ContentsFile, RowFlag::Undo);
        s.IfItem(ItemBit::Bds2006);  // Help 2 files, registered by their own batch file
            s.ExtractFile(L"Help\\qvlib.HxS", 66, LocationCode::Install);
            s.ExtractFile(L"Help\\qvlib.HxC", 67, LocationCode::Install);
            s.ExtractFile(L"Help\\qvlib.HxT", 68, LocationCode::Install);
            s.ExtractFile(L"Help\\qvlib_K.HxK", 69, LocationCode::Install);
            s.ExtractFile(L"Help\\qvlib_F.HxK", 70, LocationCode::Install);
            s.ExtractFile(L"Help\\help_reg.bat", 71, LocationCode::Install);
            s.ExtractFile(L"Help\\help_unreg.bat", 72, LocationCode::Install);
            s.RunInstallFile(std::wstring(help::HelpFolder) + L"\\" + help::RegisterBatch, RowFlag::Undo);
        s.EndIfItem(ItemBit::Bds2006);
    s.EndIfItem(ItemBit::HelpFiles);

    // The component templates are the user's to change: never overwritten,
    // and kept by a partial uninstall.
    s.ExtractFileOnce(settings::FileName, settings::PayloadId, LocationCode::Windows, RowFlag::Undo | RowFlag::KeepOnPartial);
    s.ExtractFile(L"Source\\qvAboutBox.res", 27, LocationCode::Install);
}

void Closing(ScriptBuilder& s) {
    // Recorded so that the uninstaller removes the stored choices, except in a
    // partial uninstall.
    s.CreateRegKey(registry::ProductKeyPath, registry::RootLocalMachine, RowFlag::Undo | RowFlag::KeepOnPartial);
}

struct ScriptTable {
    std::deque<std::wstring> Texts;
    std::deque<CopyTarget> Targets;
    std::vector<ScriptRow> Rows;

    ScriptTable() {
        ScriptBuilder s(Texts, Targets, Rows);
        Prologue(s);
        AddIdeBlocksUpToCBuilder6(s);
        AddDemoProjects(s);
        AddIdeBlocksFromXE101(s);
        Closing(s);
        Rows.shrink_to_fit();
    }
};

const ScriptTable& Script() {
    static const ScriptTable table;
    return table;
}

}  // namespace

const ConstList<LibraryFile> LibrarySources = List(LibrarySourceFiles);

int ScriptCount() { return static_cast<int>(Script().Rows.size()); }

const ScriptRow& ScriptRowAt(int index) {
    static const ScriptRow none{};  // an action-less row for a bad index
    const std::vector<ScriptRow>& rows = Script().Rows;
    if (index < 0 || index >= static_cast<int>(rows.size())) return none;
    return rows[static_cast<size_t>(index)];
}

// clang-format on
}  // namespace tessel::script
