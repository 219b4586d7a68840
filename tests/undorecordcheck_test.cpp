// Which undo records the uninstall acts on: every record the install script can
// leave passes, and crafted ones aimed outside the product's places do not.
#include <gtest/gtest.h>
#include "changes/files/FileChanges.h"
#include <string>
#include <vector>
#include "changes/RecordCheck.h"
#include "changes/Changes.h"
#include "changes/packages/PackageChanges.h"
#include "common/TextConversion.h"
#include "script/manifest/Manifest.h"

using namespace tessel::common;
using namespace tessel::changes;
using namespace tessel::changes::files;
using namespace tessel::script;

namespace {

const UndoScope OwnLog{true, L"qvlLib"};
const UndoScope ForeignInstallDir{false, L"qvlLib"};

UndoRecord Rec(uint32_t word0, uint32_t param, uint32_t location) {
    UndoRecord r;
    r.Word0 = word0;
    r.Param = param;
    r.Location = location;
    return r;
}

std::wstring Str(const wchar_t* s) { return s ? s : L""; }

struct Written {
    UndoRecord Record;
    std::wstring Text;
};

// Every record an install of the script can write: the recorded rows (a copy
// row records its target), the folder and log records the runner adds for a
// folder that existed before, and a record for each file written into one.
std::vector<Written> RecordsTheScriptCanWrite() {
    std::vector<Written> out;
    const uint32_t install = StoredLocation(LocationCode::Install);
    auto file = [&](LocationCode location, const std::wstring& text) {
        out.push_back({Rec(RowKind::ExtractFile | RowFlag::Undo, 0, StoredLocation(location)), text});
    };
    file(LocationCode::Install, L"install.log");
    file(LocationCode::Install, L"uninst.log");
    for (int i = 0; i < ScriptCount(); ++i) {
        // The runner puts the automatic suffix in, and the newer IDE's version into its selection.
        const tessel::changes::packages::RowWithSuffix named(ScriptRowAt(i), L"380");
        const ScriptRow& row = named.Row();
        const RowKind kind = row.Kind();
        if (kind == RowKind::Info) continue;  // read before the walk, never undone
        if (row.HasFlag(RowFlag::Undo)) {
            const bool copy = kind == RowKind::CopyOneFile;
            const bool newer = kind == RowKind::SetIde && IsNewerIdeSlot(IdeIndex(int(row.Param)));
            out.push_back({Rec(row.Word0, row.Param,
                               newer ? 38u : StoredLocation(copy ? row.Target->Location : row.Location)),
                           Str(copy ? row.Target->FileName : row.Text)});
        }
        if (kind == RowKind::SetIde)  // the same selection in an install with a registry profile
            out.push_back({Rec(RowKind::SetIdeProfile | RowFlag::Undo, row.Param,
                               IsNewerIdeSlot(IdeIndex(int(row.Param))) ? 38u : 0u),
                           Str(row.Text) + L"\\CI-2.x_64"});
        if (kind == RowKind::CreateDir)
            out.push_back({Rec(RowKind::CreateDir | RowFlag::Undo, DirExistedBefore, StoredLocation(row.Location)),
                           Str(row.Text)});
        if (kind == RowKind::ExtractFile || kind == RowKind::ExtractFileOnce || kind == RowKind::ExtractFileIfNewer)
            file(row.Location, Str(row.Text));
        if (kind == RowKind::CopyOneFile) file(row.Target->Location, Str(row.Target->FileName));
        if (kind == RowKind::CopyFiles) {
            const std::wstring dest = Str(row.Text3);
            EXPECT_EQ(StoredLocation(row.Location2), install);
            file(row.Location2, dest.substr(0, dest.rfind(L'\\') + 1) + L"qvUtils.hpp");
        }
    }
    return out;
}

}  // namespace

TEST(UndoRecordCheck, EveryRecordTheScriptCanWritePasses) {
    const std::vector<Written> records = RecordsTheScriptCanWrite();
    EXPECT_GT(records.size(), 300u);
    for (const Written& w : records)
        EXPECT_TRUE(IsUndoableRecord(w.Record, w.Text, OwnLog))
            << std::hex << w.Record.Word0 << " " << w.Record.Param << " " << w.Record.Location << " " << ToUtf8(w.Text);
}

TEST(UndoRecordCheck, CraftedRecordsAreRefused) {
    const uint32_t dir = RowKind::CreateDir | RowFlag::Undo, file = RowKind::ExtractFile | RowFlag::Undo;
    const uint32_t del = RowKind::DeleteOneFile | RowFlag::Undo, once = RowKind::ExtractFileOnce | RowFlag::Undo;
    const uint32_t copy = RowKind::CopyOneFile | RowFlag::Undo, key = RowKind::CreateRegKey | RowFlag::Undo;
    const uint32_t pkg = RowKind::RegisterPackage | RowFlag::Undo, idePath = RowKind::AddIdePath | RowFlag::Undo;
    const uint32_t help = RowKind::AppendText | RowFlag::Undo, ide = RowKind::SetIde | RowFlag::Undo;
    const uint32_t profileIde = RowKind::SetIdeProfile | RowFlag::Undo;
    const uint32_t HKLM = 0x80000002u, HKCU = 0x80000001u;
    const struct {
        uint32_t word0, param, location;
        std::wstring text;
        bool ownLog;  // the log lies in the install folder it names
    } crafted[] = {
        // Out of the install folder, or another folder named instead of it.
        {dir, 0, 3, L"..", true},
        {dir, 0, 3, L"Source\\..\\..\\Windows", true},
        {dir, 0, 3, L"Source/../..", true},
        {dir, 0, 3, L"C:\\Windows", true},
        {dir, 0, 3, L"C:Windows", true},
        {dir, 0, 3, L"\\\\localhost\\c$\\windows", true},
        {dir, 0, 3, L"\\\\?\\C:\\Windows", true},
        {dir, 0, 3, L"\\\\.\\C:", true},
        {dir, 0, 3, L"\\Windows", true},
        {dir, 0, 3, L"Source:stream", true},
        {dir, 0, 3, L"Source.", true},
        {dir, 0, 3, L"Source\\.. ", true},
        {dir, 0, 3, L"Source\\\\x", true},
        {dir, 0, 3, L"NUL", true},
        {dir, 0, 3, L"Source\\com1.txt", true},
        {dir, 0, 3, L"Sou*", true},
        {dir, 0, 3, L"", false},
        {dir, 0, 3, L"Source", false},
        {dir, 0, 1, L"", true},
        {dir, 0, 6, L"", true},
        {dir, 0, 0, L"C:\\Tessel", true},
        {dir, 0, 2, L"Help", true},
        // Files: only the product's own names in the shared folders.
        {file, 0, 6, L"kernel32.dll", true},
        {file, 0, 6, L"sub\\qvl70.bpl", true},
        {del, 0, 6, L"qvl70.bpl\\..\\kernel32.dll", true},
        {copy, 0, 7, L"dclqvl280.bpl", true},
        {copy, 0, 8, L"qvlx.bpl", true},
        {file, 0, 6, L"qvl70.dll", true},
        {once, 29, 1, L"win.ini", true},
        {once, 29, 1, L"qvTessel.ini:x", true},
        {del, 0, 2, L"bin\\dcc32.exe", true},
        {del, 0, 2, L"Help\\..\\bin\\x.gid", true},
        {del, 0, 2, L"Help\\sub\\x.gid", true},
        {file, 0, 4, L"d7.ohi", true},
        {file, 0, 5, L"x.tmp", true},
        {file, 0, 0, L"C:\\Windows\\win.ini", true},
        {file, 0, 3, L"Readme.txt", false},
        {file, 0, 3, L"..\\Readme.txt", true},
        {file, 0, 3, L"", true},
        // Registry: keys of the product and its uninstall entry only.
        {key, HKLM, 0, L"Software", true},
        {key, HKLM, 0, L"Software\\Veltrane", true},
        {key, HKLM, 0, L"Software\\Veltrane\\Tessel library2", true},
        {key, HKLM, 0, L"Software\\Veltrane\\Tessel library\\", true},
        {key, HKLM, 0, L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Other", true},
        {key, HKCU, 0, L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\qvlLib", true},
        {key, 0x80000003u, 0, L"Software\\Veltrane\\Tessel library", true},
        {pkg, 0, 3, L"Delphi7\\other.bpl", true},
        {pkg, 0, 3, L"..\\x\\dclqvl70.bpl", true},
        {pkg, 0, 0, L"C:\\x\\dclqvl70.bpl", true},
        {pkg, 0, 3, L"Delphi7\\dclqvl70.bpl", false},
        {pkg, 2, 3, L"RADStudio37\\Win64\\dclqvl370.bpl", true},
        {idePath, 3, 3, L"\\Environment Variables\\PATH", true},
        {idePath, 9, 3, L"\\Library\\Search Path", true},
        {idePath, 3, 3, L"\\Library\\Search Path", false},
        {help, 1, 4, L"[FILES]", true},
        {help, 4, 4, L"\r\n:Link qvlib.hlp", true},
        {help, 1, 3, L"\r\n:Link qvlib.hlp", true},
        {RowKind::RegisterWinHelp | RowFlag::Undo, 0, 0, L"other.hlp", true},
        {RowKind::RunInstallFile | RowFlag::Undo, 0, 0, L"help\\help_reg.bat", false},
        {RowKind::AddSearchPath | RowFlag::Undo, 0, 3, L"..", true},
        {ide, 0, 0, L"Delphi7", true},
        {ide, 32, 0, L"Delphi7", true},
        // The newer IDE's selection names a version above the table's, and a short one.
        {ide, 31, 0, L"RADStudioNewer", true},
        {ide, 31, 37, L"RADStudioNewer", true},
        {ide, 31, 1000, L"RADStudioNewer", true},
        {idePath, 6, 3, L"\\Library\\Win64x\\Search Path", true},
        {pkg, 0, 3, L"RADStudioNewer\\Win32\\dclqvl$(Auto).bpl", true},
        {ide, 9, 0, L"..\\x", true},
        // A profile selection: the folder and a profile name, nothing else.
        {profileIde, 30, 0, L"RADStudio37", true},
        {profileIde, 30, 0, L"RADStudio37\\..\\BDS", true},
        {profileIde, 30, 0, L"RADStudio37\\CI\\x", true},
        {profileIde, 30, 0, L"..\\CI", true},
        {profileIde, 31, 0, L"RADStudio37\\CI", true},
    };
    for (const auto& c : crafted)
        EXPECT_FALSE(IsUndoableRecord(Rec(c.word0, c.param, c.location), c.text, c.ownLog ? OwnLog : ForeignInstallDir))
            << std::hex << c.word0 << " " << c.param << " " << c.location << " " << ToUtf8(c.text) << " " << c.ownLog;
    // The uninstall entry is removed by the name the log gives: only the product's.
    const UndoRecord entry = Rec(RowKind::RegisterUninstall | RowFlag::Undo, 0, 3);
    EXPECT_FALSE(IsUndoableRecord(entry, L"unqmv.exe", UndoScope{true, L"OtherApp"}));
    EXPECT_FALSE(IsUndoableRecord(entry, L"unqmv.exe", UndoScope{true, L""}));
    EXPECT_TRUE(IsUndoableRecord(entry, L"unqmv.exe", UndoScope{false, L"QVLLIB"}));
    // Spelt in another case, or below the product's keys, a record is still the product's.
    for (const auto& [word0, param, location, text] :
         std::vector<std::tuple<uint32_t, uint32_t, uint32_t, std::wstring>>{
             {once, 29, 1, L"QVTESSEL.INI"},
             {key, HKCU, 0, L"Software\\Veltrane\\Tessel library"},
             {key, HKLM, 0, L"software\\veltrane\\tessel library\\Layout\\Window"},
             {key, HKLM, 0, L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\qvlLib"},
             {0x7777 | RowFlag::Undo, 0, 0, L"C:\\kinds without an undo step do nothing"}})
        EXPECT_TRUE(IsUndoableRecord(Rec(word0, param, location), text, OwnLog)) << ToUtf8(text);
}

TEST(UndoRecordCheck, InstallFolderIsTheLogsFolder) {
    const struct {
        const wchar_t *a, *b;
        bool same;
    } cases[] = {
        {L"c:\\tessel", L"c:\\tessel", true},
        {L"c:\\tessel\\", L"c:\\tessel", true},
        {L"c:/tessel", L"c:\\tessel\\\\", true},
        {L"c:\\", L"c:", true},
        {L"c:\\tessel", L"c:\\tessel2", false},
        {L"c:\\tessel\\source", L"c:\\tessel", false},
        {L"\\\\localhost\\c$\\tessel", L"c:\\tessel", false},
        {L"", L"", false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsSameFolder(c.a, c.b), c.same) << ToUtf8(c.a) << " " << ToUtf8(c.b);
}
