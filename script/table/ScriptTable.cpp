// The install script: common files first, one block per IDE, the demos, and
// the product key last. Built once, on first use, and never changed after.
#include <deque>
#include <string>
#include <vector>
#include "common/Locations.h"
#include "script/manifest/Manifest.h"
#include "script/table/TableParts.h"

namespace tessel::script {

using namespace tessel::common;

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

// Root key handle value of HKEY_LOCAL_MACHINE as the row stores it.
constexpr uint32_t rootLocalMachine = 0x80000002;

void Prologue(ScriptBuilder& s) {
    // What the uninstaller needs to know about the product heads the undo log;
    // the direction marker must be the last of these facts.
    s.Info(infoProductName);
    s.Info(infoProductVersion);
    s.Info(infoInstallDir);
    s.Info(infoProductRegKey);
    s.Info(infoProductIntName);
    s.Info(infoDirection);

    s.CreateDir(L"", locInstall, sfUndo);  // the install folder itself
    s.CreateDir(L"Source", locInstall, sfUndo);
    for (const LibraryFile& f : LibrarySources)
        s.ExtractFile(L"Source\\" + std::wstring(f.Name), f.Id, locInstall);
    s.IfItem(itemsDelphi6AndLater);
        s.ExtractFile(L"Source\\qvActionStorage.pas", 526, locInstall);
        s.ExtractFile(L"Source\\qvVarUtils.pas", 527, locInstall);
    s.EndIfItem(itemsDelphi6AndLater);

    s.ExtractFile(L"Readme.txt", 30, locInstall);
    s.ExtractFile(L"License.txt", 31, locInstall);
    s.ExtractFile(L"Install.txt", 32, locInstall);
    s.ExtractFile(L"History.txt", 33, locInstall);

    s.IfItem(itemHelpFiles);
        s.CreateDir(L"Help", locInstall, sfUndo);
        s.ExtractFile(L"Help\\qvlib.hlp", 60, locInstall);
        s.ExtractFile(L"Help\\qvlib.cnt", 61, locInstall);
        s.ExtractFile(L"Help\\qvlib.chm", 62, locInstall);
        s.ExtractFile(L"Help\\qvlib.kwf", 63, locInstall);
        s.ExtractFile(L"Help\\qvlib.toc", 64, locInstall);
        s.IfItem(itemsWithAliasFile);
            s.ExtractFile(L"Help\\qvlib.als", 65, locInstall);
        s.EndIfItem(itemsWithAliasFile);
        s.SetHelpDir(L"Help", locInstall);
        s.RegisterWinHelp(L"qvlib.hlp", sfUndo);
        s.RegisterWinHelp(L"qvlib.cnt", sfUndo);
        s.IfItem(itemBds2006);  // Help 2 files, registered by their own batch file
            s.ExtractFile(L"Help\\qvlib.HxS", 66, locInstall);
            s.ExtractFile(L"Help\\qvlib.HxC", 67, locInstall);
            s.ExtractFile(L"Help\\qvlib.HxT", 68, locInstall);
            s.ExtractFile(L"Help\\qvlib_K.HxK", 69, locInstall);
            s.ExtractFile(L"Help\\qvlib_F.HxK", 70, locInstall);
            s.ExtractFile(L"Help\\help_reg.bat", 71, locInstall);
            s.ExtractFile(L"Help\\help_unreg.bat", 72, locInstall);
            s.RunInstallFile(L"help\\help_reg.bat", sfUndo);
        s.EndIfItem(itemBds2006);
    s.EndIfItem(itemHelpFiles);

    // The component templates are the user's to change: never overwritten,
    // and kept by a partial uninstall.
    s.ExtractFileOnce(L"qvTessel.ini", 29, locWindows, sfUndo | sfKeepOnPartial);
    s.ExtractFileIfNewer(L"unqmv.exe", 28, locInstall);
    s.RegisterUninstall(L"unqmv.exe", locInstall, sfUndo);
    s.ExtractFile(L"Source\\qvAboutBox.res", 27, locInstall);
}

void Closing(ScriptBuilder& s) {
    // Recorded so that the uninstaller removes the stored choices, except in a
    // partial uninstall.
    s.CreateRegKey(ProductRegKey, rootLocalMachine, sfUndo | sfKeepOnPartial);
}

struct ScriptTable {
    std::deque<std::wstring> Texts;
    std::vector<ScriptRow> Rows;

    ScriptTable() {
        ScriptBuilder s(Texts, Rows);
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

}  // namespace tessel::script
