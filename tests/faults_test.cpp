// Faults injected into real installs: a setup killed part way, folders that
// cannot take an install, damaged or foreign undo logs given to the uninstaller
// and met by the setup's removal of an earlier installation. Every case looks
// at the machine afterwards (registry contents and file listings), not only at
// exit codes.
#include <gtest/gtest.h>
#include "changes/help/HelpChanges.h"
#include "changes/uninstallentry/UninstallEntry.h"
#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <cwchar>
#include <string>
#include <vector>

#include "changes/UninstallEngine.h"
#include "common/ProcessGlobals.h"
#include "common/Handles.h"
#include "common/PathText.h"
#include "common/DirectoryListing.h"
#include "common/Files.h"
#include "common/Registry.h"
#include "common/SystemText.h"
#include "common/TextConversion.h"
#include "common/WholeFile.h"
#include "common/UndoLog.h"
#include "common/UndoRules.h"
#include "changes/ActionLogic.h"
#include "script/manifest/Manifest.h"
#include "script/rows/ScriptRow.h"
#include "standin/Machine.h"
#include "support/HeadlessInstall.h"
#include "support/MachineSnapshot.h"
#include "support/ProductKeys.h"
#include "support/SetupRun.h"
#include "support/TestText.h"
#include "support/UndoLogWriter.h"
#include "support/WindowDriver.h"

using namespace tessel::common;
using namespace tessel::changes;
using namespace tessel::changes::uninstall_entry;
using namespace tessel::script;

namespace {

const std::wstring kDir = L"C:\\Tessel";
const std::vector<int> kIdes = {9, 29};  // Delphi 7 and RAD Studio 12
const std::wstring kScratch = L"C:\\faults-scratch";
const std::wstring kUninstaller = TESSEL_BUILD_DIR L"\\uninstaller\\unqmv.exe";

// ---- The machine's state ---------------------------------------------------

// "reg|<line as the registry editor exports it>" and "file|<path>" -> size and content checksum.
using State = std::map<std::wstring, std::wstring>;

std::wstring Checksum(const std::string& bytes) {
    uint32_t h = 0x811C9DC5u;
    for (unsigned char c : bytes) h = (h ^ c) * 0x01000193u;
    return std::to_wstring(bytes.size()) + L"/" + std::to_wstring(h);
}

// The key and everything below it, one entry per line as the system's registry
// editor exports them: "[key]" and "[key]\"name\"=value". Read through the
// registry functions in this process: starting the editor six times per
// snapshot was most of this program's time.
std::wstring ExportedValue(DWORD type, const std::vector<BYTE>& data, DWORD size) {
    if (type == REG_SZ) {
        std::wstring text(reinterpret_cast<const wchar_t*>(data.data()), size / sizeof(wchar_t));
        while (!text.empty() && text.back() == L'\0') text.pop_back();
        std::wstring quoted = L"\"";
        for (wchar_t c : text) quoted += (c == L'\\' || c == L'"') ? std::wstring{L'\\', c} : std::wstring(1, c);
        return quoted + L"\"";
    }
    if (type == REG_DWORD && size == sizeof(DWORD)) {
        wchar_t hex[16];
        swprintf(hex, 16, L"dword:%08x", *reinterpret_cast<const DWORD*>(data.data()));
        return hex;
    }
    std::wstring hex = L"hex(" + std::to_wstring(type) + L"):";
    for (DWORD i = 0; i < size; ++i) {
        wchar_t byte[4];
        swprintf(byte, 4, L"%02x", data[i]);
        hex += (i ? L"," : L"") + std::wstring(byte);
    }
    return hex;
}

void AddRegistryKey(HKEY root, const std::wstring& rootName, const std::wstring& key, State& state) {
    RegKey k;
    if (k.Open(root, key, KEY_READ) != 0) return;  // the key does not exist
    const std::wstring section = L"[" + rootName + L"\\" + key + L"]";
    state[L"reg|" + section] = L"";
    ForEachRegValue(k, [&](const std::wstring& name, DWORD type, const std::vector<BYTE>& data, DWORD size) {
        const std::wstring shown = name.empty() ? L"@" : L"\"" + name + L"\"";
        state[L"reg|" + section + shown + L"=" + ExportedValue(type, data, size)] = L"";
    });
    for (const std::wstring& sub : k.SubKeys()) AddRegistryKey(root, rootName, key + L"\\" + sub, state);
}

// A key named with its root, as "HKEY_CURRENT_USER\\Software\\X".
void AddRegistryExport(const std::wstring& key, State& state) {
    const size_t slash = key.find(L'\\');
    const std::wstring rootName = key.substr(0, slash);
    AddRegistryKey(rootName == L"HKEY_CURRENT_USER" ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE, rootName,
                   key.substr(slash + 1), state);
}

void AddFiles(const std::wstring& root, bool recurse, State& state) {
    std::set<std::wstring> files, folders;
    if (recurse) {
        if (!DirectoryExists(root)) return;
        state[L"file|" + LowerWide(root)] = L"<dir>";
        ListTree(root, files, folders);
    } else {
        DirectoryListing listing;
        if (listing.Open(JoinPath(root, L"*")) != 0) return;
        for (DirectoryEntry entry; listing.Next(entry) == 0;)
            if (!entry.IsFolder()) files.insert(entry.Name);
    }
    for (const std::wstring& f : folders) state[L"file|" + LowerWide(JoinPath(root, f))] = L"<dir>";
    for (const std::wstring& f : files) {
        // The stand-in tools keep their own bookkeeping beside themselves.
        if (f.size() >= 9 && (LowerWide(f).find(L"calls.log") != std::wstring::npos ||
                              LowerWide(f).find(L"standin.ini") != std::wstring::npos))
            continue;
        std::string bytes;
        const std::wstring path = JoinPath(root, f);
        if (recurse) (void)ReadFileBytes(path, bytes, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
        state[L"file|" + LowerWide(path)] = recurse ? Checksum(bytes) : L"";
    }
}

// Everything an install or an uninstall may touch, plus the extra folders.
State MachineState(const std::vector<std::wstring>& extraDirs = {}) {
    State s;
    for (const wchar_t* key : {L"HKEY_CURRENT_USER\\Software\\Borland", L"HKEY_CURRENT_USER\\Software\\CodeGear",
                               L"HKEY_CURRENT_USER\\Software\\Embarcadero", L"HKEY_LOCAL_MACHINE\\Software\\Veltrane",
                               L"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\qvlLib",
                               L"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\Help"})
        AddRegistryExport(key, s);
    for (const wchar_t* dir : {L"C:\\Tessel", L"C:\\Program Files", L"C:\\Program Files (x86)",
                               L"C:\\users\\Public\\Documents", L"C:\\faults-cwd"})
        AddFiles(dir, true, s);
    for (const std::wstring& dir : extraDirs) AddFiles(dir, true, s);
    wchar_t windows[MAX_PATH] = {}, system[MAX_PATH] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    GetSystemDirectoryW(system, MAX_PATH);
    AddFiles(windows, false, s);
    AddFiles(system, false, s);
    return s;
}

// "+x" only in after, "-x" only in before, "~x" changed.
std::vector<std::wstring> Differences(const State& before, const State& after) {
    std::vector<std::wstring> d;
    for (const auto& [k, v] : after) {
        const auto it = before.find(k);
        if (it == before.end())
            d.push_back(L"+" + k);
        else if (it->second != v)
            d.push_back(L"~" + k);
    }
    for (const auto& [k, v] : before)
        if (!after.count(k)) d.push_back(L"-" + k);
    return d;
}

// The differences that an uninstall made and that do not restore what was
// there before the install: anything deleted or changed that the install did
// not put there.
std::vector<std::wstring> NotReverted(const State& before, const State& installed, const State& after) {
    std::vector<std::wstring> bad;
    for (const std::wstring& d : Differences(installed, after)) {
        const std::wstring key = d.substr(1);
        const auto b = before.find(key);
        const auto a = after.find(key);
        const bool same = (b == before.end() && a == after.end()) ||
                          (b != before.end() && a != after.end() && b->second == a->second);
        if (!same) bad.push_back(d);
    }
    return bad;
}

// What every complete install leaves by design: the run-time packages copied
// into shared folders stay (other programs may load them), the help index
// caches the install deleted stay deleted (the IDE rebuilds them), and the
// keyword alias files keep their merged lines.
bool DesignedLeftover(const std::wstring& d) {
    const std::wstring k = d.substr(1);
    if (d[0] == L'+' && EndsWith(k, L".bpl") &&
        (k.find(L"\\system32\\") != std::wstring::npos || k.find(L"\\bpl\\") != std::wstring::npos))
        return true;
    return (d[0] == L'-' && EndsWith(k, L".gid")) || (d[0] == L'~' && EndsWith(k, L".als"));
}

std::vector<std::wstring> Unexpected(const State& before, const State& after) {
    std::vector<std::wstring> out;
    for (const std::wstring& d : Differences(before, after))
        if (!DesignedLeftover(d)) out.push_back(d);
    return out;
}

// What was there before and is gone: files and registry values; a value
// whose new data still holds the old data (a path list that kept every entry
// of the user's) counts as kept.
std::vector<std::wstring> Lost(const State& before, const State& after) {
    std::vector<std::wstring> lost;
    for (const std::wstring& d : Differences(before, after)) {
        if (d[0] != L'-' || DesignedLeftover(d)) continue;
        const size_t eq = d.find(L"\"=\"");
        if (d.compare(1, 4, L"reg|") == 0 && eq != std::wstring::npos) {
            const std::wstring head = d.substr(1, eq + 3 - 1);
            const std::wstring oldData = d.substr(eq + 3, d.size() - eq - 4);
            const auto it = after.lower_bound(head);
            if (it != after.end() && it->first.compare(0, head.size(), head) == 0 &&
                it->first.find(oldData, head.size()) != std::wstring::npos)
                continue;
        }
        lost.push_back(d);
    }
    return lost;
}

std::string Lines(const std::vector<std::wstring>& lines) {
    std::string s;
    for (const std::wstring& l : lines) s += ToUtf8(l) + "\n";
    return s;
}

// ---- Driving the programs --------------------------------------------------

std::wstring Quoted(const std::wstring& s) { return L"\"" + s + L"\""; }

// What the uninstaller did with a command line.
struct UninstallerRun {
    std::wstring messageCaption;  // a message box instead of the dialog
    std::wstring messageText;
    bool dialog = false;            // the dialog came and Start was pressed
    bool failPresentation = false;  // the dialog said "Uninstall fail." and was closed
    std::wstring note;              // the text of the box the dialog showed at its end, if any
    DWORD exitCode = STILL_ACTIVE;
};

UninstallerRun RunUninstaller(const std::wstring& args, const std::wstring& exe = kUninstaller) {
    UninstallerRun r;
    wd::Program p;
    if (!wd::Start(p, exe, args)) return r;
    HWND dlg = nullptr;
    wd::WaitFor([&] {
        dlg = wd::FindDialog(p.pid, L"Uninstall for", 1000, 0);
        if (dlg) return true;
        for (HWND w : wd::TopWindows(p.pid)) {
            if (wd::Text(w) == L"Unistall error" || wd::Text(w) == L"Fatal Error") return true;
        }
        return !p.Running();
    });
    if (dlg) {
        r.dialog = wd::Press(dlg, 1000);
        // Either the dialog ends by itself (after a note, when it has one), or
        // it shows the failure and waits for Close.
        wd::MessageBoxInfo note;
        wd::WaitFor(
            [&] {
                if (!p.Running() || wd::ItemText(dlg, 256) == L"Uninstall fail.") return true;
                note = wd::WaitMessageBox(p.pid, L"Uninstall", 0);
                return note.wnd != nullptr;
            },
            60000);
        if (note.wnd) {
            r.note = note.text;
            wd::Answer(note, IDOK);
        } else if (p.Running()) {
            r.failPresentation = true;
            wd::Press(dlg, IDCANCEL);
        }
    } else if (p.Running()) {
        wd::MessageBoxInfo box = wd::WaitMessageBox(p.pid, L"Unistall error", 2000);
        if (!box.wnd) box = wd::WaitMessageBox(p.pid, L"Fatal Error", 2000);
        r.messageCaption = box.caption;
        r.messageText = box.text;
        wd::Answer(box, IDOK);
    }
    r.exitCode = p.WaitExit(20000);
    if (r.exitCode == STILL_ACTIVE) p.Kill();
    return r;
}

// Lays out the stand-in IDEs and removes whatever an earlier case left.
void FreshMachine() {
    RemoveThroughEntryWithEngine(false);  // earlier cases damage logs on purpose
    SetCurrentDirectoryW(L"C:\\");
    ClearMachine();
    // Run-time packages the installs copied into the system folder stay there by design.
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    DeleteFileW(JoinPath(system, L"qvl70.bpl").c_str());
    wchar_t windows[MAX_PATH] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    DeleteFileW(JoinPath(windows, L"qvTessel.ini").c_str());
    for (const wchar_t* help : {L"qvlib.hlp", L"qvlib.cnt"}) (void)DeleteRegValue(HKEY_LOCAL_MACHINE, tessel::changes::help::WinHelpKey, help);
    (void)DeleteRegKey(HKEY_LOCAL_MACHINE, kUninstallEntryKey);
    (void)DeleteRegKey(HKEY_LOCAL_MACHINE, ProductRegKey);
    (void)CreateRegKey(HKEY_LOCAL_MACHINE, tessel::changes::help::WinHelpKey);
    for (const std::wstring& dir : {kDir, std::wstring(L"C:\\faults-cwd"), kScratch, std::wstring(L"C:\\Old"),
                                    std::wstring(L"C:\\Users\\Zo\u00EB")}) {
        SetFileAttributesW(JoinPath(dir, L"Readme.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
        (void)DeleteDirectoryTree(dir, false);
        DeleteFileW(dir.c_str());
    }
    (void)CreateDirectoryPath(kScratch);
    ASSERT_TRUE(LayOutMachine(kIdes));
}

HeadlessRun Install(const std::wstring& dir, bool copyOnly = false) {
    HeadlessOptions o;
    o.installDir = dir;
    o.ides = kIdes;
    o.copyOnly = copyOnly;
    return RunHeadlessInstall(o);
}

std::string Failures(const HeadlessRun& run) {
    std::string s;
    for (const HeadlessRowResult& f : run.failures)
        s += "row " + std::to_string(f.index) + " code " + std::to_string(f.code) + " " + ToUtf8(f.logText) + "\n";
    return s;
}

// Takes back the installation the uninstall entry names, with the uninstaller
// that the setup wrote, started the way Windows starts it.
UninstallerRun UninstallThroughEntry() {
    std::wstring command;
    if (ReadRegString(HKEY_LOCAL_MACHINE, kUninstallEntryKey, L"UninstallString", command) != 0) return {};
    const std::wstring log = UndoLogPathFromUninstallString(command);
    const std::wstring exe = JoinPath(FolderOfPath(log), L"unqmv.exe");
    return RunUninstaller(Quoted(log), exe);
}

// The uninstaller stays in the install folder after an uninstall; once it has
// ended, it and the then empty folder go.
void RemoveLeftUninstaller(const std::wstring& dir) {
    DeleteFileW(JoinPath(dir, L"unqmv.exe").c_str());
    RemoveDirectoryW(dir.c_str());
}

std::string ReadBytes(const std::wstring& path) {
    std::string bytes;
    (void)ReadFileBytes(path, bytes, FILE_SHARE_READ | FILE_SHARE_WRITE);
    return bytes;
}

int CountRecords(const std::string& log) {
    int n = 0;
    size_t pos = UndoSignatureSize, next = 0;
    UndoRecord rec;
    while (ReadUndoRecordForward(log, pos, log.size(), rec, next)) {
        ++n;
        pos = next;
    }
    return n;
}

class Faults : public testing::Test {
protected:
    void SetUp() override { FreshMachine(); }
    void TearDown() override {
        SetCurrentDirectoryW(L"C:\\");
        SetToolBehaviour(9, ToolMode::Normal);
        SetToolBehaviour(29, ToolMode::Normal);
    }
};

}  // namespace

// ---- The setup killed part way -----------------------------------------------

namespace {

// Where setup.exe /S is killed. The rows between two compiles take less time
// than a kill takes to land, so a kill lands in the compile after its point:
// the points are the packages built so far.
enum class KillPoint { Early, AfterUninstallEntry, InsideIdeBlock, AfterFirstIdeBlock, SecondIdeCompile };

// Whether a stand-in compiler is running in this prefix.
bool CompilerRunning() {
    UniqueKernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot || snapshot.get() == INVALID_HANDLE_VALUE) return false;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry)) {
        const std::wstring name = LowerWide(entry.szExeFile);
        if (name == L"dcc32.exe" || name == L"dcc64.exe" || name == L"make.exe") return true;
    }
    return false;
}

// Starts the unattended install (every IDE found, the extra items) and kills it
// at the point; returns the number of records its partial undo log holds.
int InstallAndKill(KillPoint point) {
    // Slow compilers hold the run inside an IDE block long enough to kill it there.
    const DWORD compileMs = 1500;
    SetToolBehaviour(9, ToolMode::Slow, compileMs);
    SetToolBehaviour(29, ToolMode::Slow, compileMs);
    ClearToolCalls(9);
    ClearToolCalls(29);
    wd::Program p;
    if (!wd::Start(p, SetupExePath(), L"/S " + Quoted(kDir))) return -1;
    const bool reached = wd::WaitFor(
        [&] {
            std::wstring s;
            switch (point) {
            case KillPoint::Early: return DirectoryExists(kDir + L"\\Source");
            case KillPoint::AfterUninstallEntry:
                return ReadRegString(HKEY_LOCAL_MACHINE, kUninstallEntryKey, L"UninstallString", s) == 0;
            case KillPoint::InsideIdeBlock: return PathExists(kDir + L"\\Delphi7\\qvl70.bpl");
            case KillPoint::AfterFirstIdeBlock: return PathExists(kDir + L"\\Delphi7\\dclqvl70.bpl");
            case KillPoint::SecondIdeCompile: return PathExists(kDir + L"\\RADStudio23\\Win32\\dclqvl290.bpl");
            }
            return true;
        },
        30000);
    p.Kill();
    // No sleep for a compiler that was running: it ends with the setup.
    SetToolBehaviour(9, ToolMode::Normal);
    SetToolBehaviour(29, ToolMode::Normal);
    if (!reached) return -1;
    return CountRecords(ReadBytes(kDir + L"\\uninst.log"));
}

class KilledInstall : public testing::TestWithParam<KillPoint> {
protected:
    void SetUp() override { FreshMachine(); }
    void TearDown() override { SetCurrentDirectoryW(L"C:\\"); }
};

}  // namespace

TEST_P(KilledInstall, UninstallerTakesBackWhatThePartialLogRecorded) {
    const State before = MachineState();
    const int records = InstallAndKill(GetParam());
    ASSERT_GE(records, 0) << "the kill point was not reached";
    const State killed = MachineState();
    ASSERT_FALSE(Differences(before, killed).empty());

    const UninstallerRun u = RunUninstaller(Quoted(kDir + L"\\uninst.log"));
    EXPECT_TRUE(u.dialog) << ToUtf8(u.messageCaption + L": " + u.messageText);
    EXPECT_FALSE(u.failPresentation);
    EXPECT_EQ(0u, u.exitCode);
    const State after = MachineState();
    EXPECT_EQ("", Lines(Unexpected(before, after))) << records << " records in the partial log";
}

INSTANTIATE_TEST_SUITE_P(Faults, KilledInstall,
                         testing::Values(KillPoint::Early, KillPoint::AfterUninstallEntry, KillPoint::InsideIdeBlock),
                         [](const testing::TestParamInfo<KillPoint>& point) {
                             switch (point.param) {
                             case KillPoint::Early: return std::string("Early");
                             case KillPoint::AfterUninstallEntry: return std::string("AfterUninstallEntry");
                             case KillPoint::InsideIdeBlock: return std::string("InsideIdeBlock");
                             case KillPoint::AfterFirstIdeBlock:
                             case KillPoint::SecondIdeCompile: break;
                             }
                             return std::string("Other");
                         });

namespace {

// Where a setup is stopped: setup.exe /S killed at a point, or (for points a
// kill cannot hit on time) the same run in this process stopped before a row
// as a kill leaves it, with recordBytes of that row's record already written
// (its whole record: the change recorded but not made; fewer: a torn record).
struct KillCase {
    const char* name;
    KillPoint point;
    int stopBeforeRow = -1;
    size_t recordBytes = 0;
};

// The first row of kind whose text is text: where the script has it now.
int RowOf(RowKind kind, const wchar_t* text) {
    for (int i = 0; i < ScriptCount(); ++i)
        if (ScriptRowAt(i).Kind() == kind && Str(ScriptRowAt(i).Text) == text) return i;
    return -1;
}

// Row 7 is the uninstaller's, row 8 its entry's, row 9 the "Source" folder's
// (the prologue test in manifest_test holds them there). Real kills land in
// a compile: the rows between two compiles take less time than a kill.
const KillCase kKillCases[] = {
    {"BeforeTheEntryRow", KillPoint::Early, 7},
    {"RightAfterTheEntryRow", KillPoint::Early, 9},
    {"BetweenRecordAndChange", KillPoint::Early, 9, SIZE_MAX},
    {"TornRecord", KillPoint::Early, 9, 10},
    {"InsideTheDelphi7BlockBeforeItsCompile", KillPoint::Early, RowOf(RowKind::CompilePackage, L"qvl70.dpk")},
    {"PackageRegistrationRecordedNotMade", KillPoint::Early, RowOf(RowKind::RegisterPackage, L"Delphi7\\dclqvl70.bpl"),
     SIZE_MAX},
    {"TornRecordInTheDelphi7Block", KillPoint::Early, RowOf(RowKind::RegisterPackage, L"Delphi7\\dclqvl70.bpl"), 20},
    {"KilledDuringACompile", KillPoint::AfterUninstallEntry},
    {"KilledDuringThe64BitCompile", KillPoint::SecondIdeCompile},
};

class KillTable : public testing::TestWithParam<KillCase> {
protected:
    void SetUp() override { FreshMachine(); }
    void TearDown() override { SetCurrentDirectoryW(L"C:\\"); }
};

// Stops the first run as the case says; the number of records its log holds.
int StopFirstRun(const KillCase& c) {
    if (c.stopBeforeRow < 0) return InstallAndKill(c.point);
    HeadlessOptions o;
    o.installDir = kDir;
    o.ides = kIdes;
    o.stopBeforeRow = c.stopBeforeRow;
    if (!RunHeadlessInstall(o).started) return -1;
    const std::wstring log = kDir + L"\\uninst.log";
    if (c.recordBytes > 0) {
        const ScriptRow& row = ScriptRowAt(c.stopBeforeRow);
        const std::string record =
            EncodeUndoRecord(row.Word0, row.Param, StoredLocation(row.Location), ToUtf8(Str(row.Text)));
        if (WriteFileBytes(log, ReadBytes(log) + record.substr(0, std::min(c.recordBytes, record.size()))) != 0)
            return -1;
    }
    return CountRecords(ReadBytes(log));
}

}  // namespace

// A setup stopped anywhere, then run again with other choices (Delphi 7 alone,
// one demo set, no help), then the silent uninstall through the entry: the
// machine is as before the first run but for the designed leftovers.
TEST_P(KillTable, NextInstallWithOtherChoicesAndTheUninstallLeaveNothingOfTheStoppedRun) {
    const KillCase& c = GetParam();
    const State before = MachineState();
    const int records = StopFirstRun(c);
    ASSERT_GE(records, 0) << "the kill point was not reached";
    // A compiler of the killed setup would go on writing into the folder
    // while the next setup removes it (a 1.5 s compile outlives this wait).
    EXPECT_TRUE(wd::WaitFor([] { return !CompilerRunning(); }, 300)) << "a compiler outlived its setup";
    std::wstring command;
    const bool entry = ReadRegString(HKEY_LOCAL_MACHINE, kUninstallEntryKey, L"UninstallString", command) == 0;

    HeadlessOptions o;
    o.installDir = kDir;
    o.ides = {9};
    o.extraItems = 0x100;
    const HeadlessRun run = RunHeadlessInstall(o);
    ASSERT_TRUE(run.started);
    EXPECT_EQ("", Failures(run));
    EXPECT_FALSE(run.previousRemovalFailed);
    EXPECT_FALSE(PathExists(kDir + L"\\RADStudio23")) << "the stopped run's IDE block went with it";

    wd::Program u;
    ASSERT_TRUE(wd::Start(u, kDir + L"\\unqmv.exe", Quoted(kDir + L"\\uninst.log") + L" /S"));
    EXPECT_EQ(0u, u.WaitExit(60000));
    RemoveLeftUninstaller(kDir);
    const std::vector<std::wstring> left = Unexpected(before, MachineState());
    EXPECT_EQ("", Lines(left));
    // The table of kill points as the run met them.
    std::printf("kill point %-26s records %3d  entry %-3s  left %zu\n", c.name, records, entry ? "yes" : "no",
                left.size());
}

INSTANTIATE_TEST_SUITE_P(Faults, KillTable, testing::ValuesIn(kKillCases),
                         [](const testing::TestParamInfo<KillCase>& c) { return std::string(c.param.name); });

// ---- Folders that cannot take an install ------------------------------------

namespace {

const std::wstring kUserFile = L"C:\\faults-cwd\\keep.txt";
const std::string kUserText = "the user's own file";

struct FolderCase {
    const char* name;
    std::wstring dir;
    bool fullPath;
};

class BadFolder : public testing::TestWithParam<FolderCase> {
protected:
    void SetUp() override {
        FreshMachine();
        (void)CreateDirectoryPath(L"C:\\faults-cwd");
        (void)WriteFileBytes(kUserFile, kUserText);
        // A file of the user's where the install folder should go.
        (void)WriteFileBytes(kDir, kUserText);
        SetCurrentDirectoryW(L"C:\\faults-cwd");
        before = MachineState();
        run = Install(GetParam().dir);
        SetCurrentDirectoryW(L"C:\\faults-cwd");
        // Whatever uninstall entry the run left is used, as a user would.
        uninstall = UninstallThroughEntry();
        after = MachineState();
    }
    void TearDown() override {
        SetCurrentDirectoryW(L"C:\\");
        DeleteFileW(kDir.c_str());
    }
    State before, after;
    HeadlessRun run;
    UninstallerRun uninstall;
};

}  // namespace

TEST_P(BadFolder, SetupReportsTheFailuresAndNothingOfTheUsersIsLost) {
    ASSERT_TRUE(run.started);
    EXPECT_FALSE(run.failures.empty()) << "a folder that cannot take the install must show as failed rows";
    EXPECT_EQ(kUserText, ReadBytes(kUserFile));
    EXPECT_EQ(kUserText, ReadBytes(kDir)) << "the file in the install folder's place";
    // Nothing that was there before is gone, whatever else is left.
    EXPECT_EQ("", Lines(Lost(before, after)));
}

// An install whose undo log cannot be written (or would be written relative
// to whatever folder is current) must not change the IDEs' settings, the help
// files or the uninstall entry, as nothing could take those back afterwards:
// the run is refused, and its first row says why.
TEST_P(BadFolder, NothingIsLeftBehindAfterTheUninstall) {
    EXPECT_EQ("", Lines(Unexpected(before, after)));
    std::wstring command;
    EXPECT_NE(0u, ReadRegString(HKEY_LOCAL_MACHINE, kUninstallEntryKey, L"UninstallString", command))
        << ToUtf8(command);
    EXPECT_FALSE(uninstall.dialog);
    ASSERT_EQ(1u, run.failures.size()) << Failures(run);
    const HeadlessRowResult& f = run.failures[0];
    EXPECT_EQ(0, f.index);
    if (GetParam().fullPath)
        EXPECT_NE(static_cast<int>(ERROR_BAD_PATHNAME), f.code);
    else
        EXPECT_EQ(static_cast<int>(ERROR_BAD_PATHNAME), f.code);
    EXPECT_EQ(L"Creating directory: " + GetParam().dir + L"...Fail. " + SystemErrorText(f.code), f.logText);
}

INSTANTIATE_TEST_SUITE_P(Faults, BadFolder,
                         testing::Values(FolderCase{"MissingDrive", L"Q:\\Tessel", true},
                                         FolderCase{"FileInItsPlace", kDir, true}, FolderCase{"Empty", L"", false},
                                         FolderCase{"Relative", L"Tessel", false},
                                         FolderCase{"OverLong", L"C:\\faults-cwd\\" + std::wstring(250, L'x'), true}),
                         [](const testing::TestParamInfo<FolderCase>& folder) {
                             return std::string(folder.param.name);
                         });

// ---- Folders that are unusual but sound ------------------------------------

TEST_F(Faults, FolderWithBlanksAndAccentsInstallsAndUninstallsCompletely) {
    const std::wstring parent = L"C:\\Users\\Zo\u00EB";
    const std::wstring dir = parent + L"\\Mes biblioth\u00E8ques";
    (void)CreateDirectoryPath(parent);
    const State before = MachineState({parent});
    const HeadlessRun run = Install(dir);
    ASSERT_TRUE(run.started);
    EXPECT_EQ("", Failures(run));
    EXPECT_TRUE(PathExists(dir + L"\\RADStudio23\\Win32\\dclqvl290.bpl"));
    std::wstring command;
    ASSERT_EQ(0u, ReadRegString(HKEY_LOCAL_MACHINE, kUninstallEntryKey, L"UninstallString", command));
    EXPECT_EQ(Quoted(dir + L"\\unqmv.exe") + L" " + Quoted(dir + L"\\uninst.log"), command);
    // The state compared everywhere sees registry values as the registry editor exports them.
    const std::vector<std::wstring> added = Differences(before, MachineState({parent}));
    EXPECT_NE(added.end(),
              std::find(added.begin(), added.end(),
                        L"+reg|[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
                        L"qvlLib]\"DisplayVersion\"=\"4.09\""));

    const UninstallerRun u = UninstallThroughEntry();
    EXPECT_TRUE(u.dialog);
    EXPECT_FALSE(u.failPresentation);
    RemoveLeftUninstaller(dir);
    EXPECT_EQ("", Lines(Unexpected(before, MachineState({parent}))));
}

TEST_F(Faults, FileThatCannotBeReplacedFailsItsRowAndSurvivesTheUninstall) {
    (void)CreateDirectoryPath(kDir);
    const std::wstring readme = kDir + L"\\Readme.txt";
    (void)WriteFileBytes(readme, kUserText);
    const State before = MachineState();
    HeadlessRun run;
    {
        // Open in another program without sharing.
        UniqueFile lock(
            CreateFileW(readme.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(lock);
        run = Install(kDir);
    }
    ASSERT_TRUE(run.started);
    ASSERT_EQ(1u, run.failures.size()) << Failures(run);
    EXPECT_NE(std::wstring::npos, run.failures[0].logText.find(L"Readme.txt...Fail"));
    EXPECT_TRUE(PathExists(kDir + L"\\Delphi7\\dclqvl70.bpl")) << "the rest of the install went on";

    EXPECT_TRUE(UninstallThroughEntry().dialog);
    // The folder was the user's before the install: it stays, with the user's file.
    DeleteFileW((kDir + L"\\unqmv.exe").c_str());
    EXPECT_EQ("", Lines(Unexpected(before, MachineState())));
    EXPECT_EQ(kUserText, ReadBytes(readme));
}

TEST_F(Faults, ReadOnlyFileInTheInstallFolderDoesNotStopTheInstallOrTheUninstall) {
    (void)CreateDirectoryPath(kDir);
    const std::wstring readme = kDir + L"\\Readme.txt";
    (void)WriteFileBytes(readme, kUserText);
    SetFileAttributesW(readme.c_str(), FILE_ATTRIBUTE_READONLY);
    const State before = MachineState();
    const HeadlessRun run = Install(kDir);
    ASSERT_TRUE(run.started);
    // Windows refuses to replace the file; Wine run by an administrator may not.
    for (const HeadlessRowResult& f : run.failures)
        EXPECT_NE(std::wstring::npos, f.logText.find(L"Readme.txt")) << ToUtf8(f.logText);
    EXPECT_TRUE(PathExists(kDir + L"\\RADStudio23\\Win64\\qvl290.bpl"));
    EXPECT_TRUE(UninstallThroughEntry().dialog);
    DeleteFileW((kDir + L"\\unqmv.exe").c_str());
    for (const std::wstring& d : Unexpected(before, MachineState()))
        EXPECT_NE(std::wstring::npos, d.find(L"readme.txt")) << ToUtf8(d);
    SetFileAttributesW(readme.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(Faults, LockedInstallLogOnlyCostsTheInstallLog) {
    (void)CreateDirectoryPath(kDir);
    const std::wstring logPath = kDir + L"\\install.log";
    (void)WriteFileBytes(logPath, std::string("an install log of another run"));
    const State before = MachineState();
    HeadlessRun run;
    {
        UniqueFile lock(CreateFileW(logPath.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(lock);
        run = Install(kDir);
    }
    ASSERT_TRUE(run.started);
    EXPECT_EQ("", Failures(run));
    EXPECT_EQ("an install log of another run", ReadBytes(logPath));
    EXPECT_GT(CountRecords(ReadBytes(kDir + L"\\uninst.log")), 20) << "the undo log is written all the same";

    const UninstallerRun u = UninstallThroughEntry();
    EXPECT_TRUE(u.dialog);
    DeleteFileW((kDir + L"\\unqmv.exe").c_str());
    // The uninstall takes the product's own log file name with it; nothing else differs.
    for (const std::wstring& d : Unexpected(before, MachineState())) EXPECT_EQ(L"-file|c:\\tessel\\install.log", d);
}

// ---- Damaged, truncated and foreign undo logs ------------------------------

namespace {

// Copies the log and makes the record at index damaged: its trailing length
// no longer matches its text length.
std::string DamageRecord(const std::string& log, int index) {
    std::string out = log;
    size_t pos = UndoSignatureSize, next = 0;
    UndoRecord rec;
    for (int i = 0; ReadUndoRecordForward(log, pos, log.size(), rec, next); ++i, pos = next) {
        if (i == index) {
            out[next - 2] = static_cast<char>(out[next - 2] + 1);
            break;
        }
    }
    return out;
}

}  // namespace

TEST_F(Faults, UninstallerRefusesEmptyShortForeignAndMissingLogsWithoutChangingAnything) {
    ASSERT_TRUE(Install(kDir).started);
    const State installed = MachineState();
    std::string self;
    ASSERT_EQ(0u, ReadFileBytes(kUninstaller, self, FILE_SHARE_READ));
    const std::vector<std::pair<std::wstring, std::string>> invalid = {
        {L"empty.log", ""},
        {L"short.log", "UNQMV"},
        {L"program.log", self.substr(0, 4096)},
        {L"text.log", "[Settings]\r\nUNQMV02=1\r\n"},
        {L"letter.log", "UNQMV0a" + ReadBytes(kDir + L"\\uninst.log").substr(7)},
    };
    for (const auto& [name, bytes] : invalid) {
        const std::wstring path = kScratch + L"\\" + name;
        ASSERT_EQ(0u, WriteFileBytes(path, bytes));
        const UninstallerRun u = RunUninstaller(Quoted(path));
        EXPECT_FALSE(u.dialog) << ToUtf8(name);
        EXPECT_EQ(L"Unistall error", u.messageCaption) << ToUtf8(name);
        EXPECT_EQ(L"Invalid " + path + L" file.", u.messageText);
        EXPECT_EQ(0u, u.exitCode);
    }
    const std::wstring missing = kScratch + L"\\nowhere\\uninst.log";
    const UninstallerRun u = RunUninstaller(Quoted(missing));
    EXPECT_EQ(L"Could not open " + missing + L" file.", u.messageText);
    EXPECT_EQ("", Lines(Differences(installed, MachineState())));
}

// A setup killed while appending a record leaves its first bytes, for a change
// it never made: the uninstaller through the entry drops them, says so, and
// takes back everything before them.
TEST_F(Faults, TornLastRecordIsDroppedAndEverythingBeforeItIsTakenBack) {
    const State before = MachineState();
    ASSERT_TRUE(Install(kDir).started);
    const std::wstring logPath = kDir + L"\\uninst.log";
    const std::string never = EncodeUndoRecord(RowKind::CreateDir | RowFlag::Undo, 0, 3, "Never made");
    ASSERT_EQ(0u, WriteFileBytes(logPath, ReadBytes(logPath) + never.substr(0, 17)));
    const UninstallerRun u = UninstallThroughEntry();
    EXPECT_TRUE(u.dialog);
    EXPECT_FALSE(u.failPresentation);
    EXPECT_NE(std::wstring::npos, u.note.find(L"last record")) << ToUtf8(u.note);
    EXPECT_EQ(0u, u.exitCode);
    RemoveLeftUninstaller(kDir);
    EXPECT_EQ("", Lines(Unexpected(before, MachineState())));
}

// The walk cannot take a file the install wrote (open elsewhere without
// sharing): the step failed, and the uninstaller says so, with its dialog and
// with /S. The rest goes.
TEST_F(Faults, RecordedFileThatCannotBeRemovedFailsTheUninstall) {
    for (const bool silent : {false, true}) {
        ASSERT_TRUE(Install(kDir).started);
        const std::wstring held = kDir + L"\\Source\\qvUtils.pas";
        UninstallerRun u;
        {
            UniqueFile lock(
                CreateFileW(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
            ASSERT_TRUE(lock);
            if (silent) {
                wd::Program p;
                ASSERT_TRUE(wd::Start(p, kUninstaller, Quoted(kDir + L"\\uninst.log") + L" /S"));
                u.exitCode = p.WaitExit(60000);
            } else {
                u = RunUninstaller(Quoted(kDir + L"\\uninst.log"));
            }
        }
        if (silent)
            EXPECT_EQ(5u, u.exitCode);
        else
            EXPECT_TRUE(u.failPresentation);
        EXPECT_TRUE(PathExists(held)) << silent;
        EXPECT_FALSE(PathExists(kDir + L"\\Source\\qvStorage.pas")) << silent;
        FreshMachine();
    }
}

// A folder that was there before, with the user's files: the uninstaller run
// from it ends complete, keeps them, and its own file goes at the next start.
TEST_F(Faults, UninstallerInAFolderThatExistedBeforeEndsCompleteAndSchedulesItsOwnFile) {
    const std::wstring work = L"C:\\Work";
    const std::wstring exe = work + L"\\unqmv.exe";
    for (const bool silent : {true, false}) {
        (void)DeleteDirectoryTree(work, false);
        ASSERT_EQ(0u, CreateDirectoryPath(work + L"\\Source"));
        ASSERT_EQ(0u, WriteFileBytes(work + L"\\notes.txt", kUserText));
        ASSERT_EQ(0u, WriteFileBytes(work + L"\\Source\\mine.pas", kUserText));
        const State before = MachineState({work});
        ASSERT_TRUE(Install(work).started);
        UninstallerRun u;
        if (silent) {
            wd::Program p;
            ASSERT_TRUE(wd::Start(p, exe, Quoted(work + L"\\uninst.log") + L" /S"));
            u.exitCode = p.WaitExit(60000);
        } else {
            u = RunUninstaller(Quoted(work + L"\\uninst.log"), exe);
            EXPECT_TRUE(u.dialog);
            EXPECT_FALSE(u.failPresentation);
        }
        EXPECT_EQ(0u, u.exitCode) << silent;
        EXPECT_EQ(kUserText, ReadBytes(work + L"\\notes.txt"));
        EXPECT_EQ(kUserText, ReadBytes(work + L"\\Source\\mine.pas"));
        std::wstring pending;
        UniqueHKey session;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet\\Control\\Session Manager", 0, KEY_READ,
                          session.put()) == ERROR_SUCCESS) {
            DWORD size = 0;
            if (RegQueryValueExW(session.get(), L"PendingFileRenameOperations", nullptr, nullptr, nullptr, &size) ==
                    ERROR_SUCCESS &&
                size > 0) {
                pending.resize(size / sizeof(wchar_t));
                (void)RegQueryValueExW(session.get(), L"PendingFileRenameOperations", nullptr, nullptr,
                                       reinterpret_cast<BYTE*>(&pending[0]), &size);
            }
        }
        EXPECT_TRUE(!PathExists(exe) || LowerWide(pending).find(L"c:\\work\\unqmv.exe") != std::wstring::npos)
            << "gone or scheduled";
        DeleteFileW(exe.c_str());
        EXPECT_EQ("", Lines(Unexpected(before, MachineState({work})))) << silent;
    }
    (void)DeleteDirectoryTree(work, false);
}

// An install folder of 248 characters, as long as the folder limit admits:
// its uninstall entry names the whole log, so an update elsewhere removes it.
TEST_F(Faults, UpdateRemovesAnInstallationInTheLongestFolder) {
    const std::wstring longDir = L"C:\\" + std::wstring(245, L'x');
    HeadlessOptions o;
    o.installDir = longDir;
    o.copyOnly = true;
    o.ides = kIdes;
    ASSERT_TRUE(RunHeadlessInstall(o).started);
    ASSERT_TRUE(PathExists(longDir + L"\\uninst.log"));
    const HeadlessRun update = Install(kDir, true);
    ASSERT_TRUE(update.started);
    EXPECT_FALSE(update.previousRemovalFailed);
    EXPECT_FALSE(DirectoryExists(longDir));
}

TEST_F(Faults, DamagedRecordStopsTheWalkThereAndOnlyTakesBackWhatCameAfterIt) {
    const State before = MachineState();
    ASSERT_TRUE(Install(kDir).started);
    const State installed = MachineState();
    const std::string log = ReadBytes(kDir + L"\\uninst.log");
    const int records = CountRecords(log);
    ASSERT_GT(records, 20);
    const std::wstring path = kScratch + L"\\damaged.log";
    ASSERT_EQ(0u, WriteFileBytes(path, DamageRecord(log, records / 2)));

    const UninstallerRun u = RunUninstaller(Quoted(path));
    EXPECT_TRUE(u.dialog);
    EXPECT_TRUE(u.failPresentation);
    const State after = MachineState();
    // Every change is a change back to the state before the install ...
    EXPECT_EQ("", Lines(NotReverted(before, installed, after)));
    // ... the last records (the product key) were undone, the first (the install folder) not.
    EXPECT_FALSE(Differences(installed, after).empty());
    EXPECT_TRUE(DirectoryExists(kDir + L"\\Source"));

    EXPECT_TRUE(UninstallThroughEntry().dialog);
    RemoveLeftUninstaller(kDir);
    EXPECT_EQ("", Lines(Unexpected(before, MachineState())));
}

TEST_F(Faults, ForeignLogNamingSystemFoldersRemovesNothingThere) {
    wchar_t windows[MAX_PATH] = {}, system[MAX_PATH] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    GetSystemDirectoryW(system, MAX_PATH);
    const State before = MachineState();
    for (const std::wstring& dir : {std::wstring(windows), std::wstring(system), std::wstring(L"C:\\"),
                                    std::wstring(L"C:\\faults-scratch\\..\\windows")}) {
        const std::wstring path = kScratch + L"\\foreign.log";
        ASSERT_TRUE(WriteUndoLogFile(
            kScratch, With(ProductInfoRows(dir), {{RowKind::CreateDir | RowFlag::Undo, 0, 3, L""},
                                                  {RowKind::CreateDir | RowFlag::Undo, 0, 3, L"system32"},
                                                  {RowKind::CreateDir | RowFlag::Undo, 0, 1, L""}})));
        ASSERT_TRUE(MoveFileExW((kScratch + L"\\uninst.log").c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING));
        const UninstallerRun u = RunUninstaller(Quoted(path));
        EXPECT_TRUE(u.dialog);
        EXPECT_TRUE(DirectoryExists(windows));
        EXPECT_TRUE(PathExists(JoinPath(system, L"kernel32.dll")));
    }
    const State after = MachineState();
    for (const std::wstring& d : Differences(before, after))
        if (d.find(L"faults-scratch") == std::wstring::npos) ADD_FAILURE() << ToUtf8(d);
}

// ---- The setup's removal of an earlier installation ------------------------

namespace {

void WriteEntry(const std::wstring& uninstallString) {
    (void)WriteRegString(HKEY_LOCAL_MACHINE, kUninstallEntryKey, L"DisplayName", L"Veltrane Tessel library v4.09");
    (void)WriteRegString(HKEY_LOCAL_MACHINE, kUninstallEntryKey, L"UninstallString", uninstallString);
}

}  // namespace

TEST_F(Faults, EntryNamingAMissingOrForeignLogIsSkippedAndTheInstallIsClean) {
    (void)CreateDirectoryPath(L"C:\\Old");
    std::string self;
    ASSERT_EQ(0u, ReadFileBytes(kUninstaller, self, FILE_SHARE_READ));
    (void)WriteFileBytes(L"C:\\Old\\program.log", self.substr(0, 2048));
    (void)WriteFileBytes(L"C:\\Old\\empty.log", std::string());
    (void)WriteFileBytes(L"C:\\Old\\keep.txt", kUserText);
    const State before = MachineState({L"C:\\Old"});
    for (const wchar_t* command :
         {L"C:\\Old\\unqmv.exe C:\\Old\\uninst.log", L"\"C:\\Old\\unqmv.exe\" \"C:\\Old\\program.log\"",
          L"C:\\Old\\unqmv.exe C:\\Old\\empty.log", L"C:\\Old\\unqmv.exe"}) {
        WriteEntry(command);
        const HeadlessRun run = Install(kDir);
        ASSERT_TRUE(run.started);
        EXPECT_EQ("", Failures(run)) << ToUtf8(command);
        // A log that is there but no undo log is a removal that failed; a
        // missing one or none named leaves nothing to remove.
        EXPECT_EQ(std::wstring(command).find(L"program.log") != std::wstring::npos ||
                      std::wstring(command).find(L"empty.log") != std::wstring::npos,
                  run.previousRemovalFailed)
            << ToUtf8(command);
        EXPECT_TRUE(PathExists(kDir + L"\\Delphi7\\dclqvl70.bpl")) << ToUtf8(command);
        EXPECT_TRUE(UninstallThroughEntry().dialog) << ToUtf8(command);
        RemoveLeftUninstaller(kDir);
        EXPECT_EQ("", Lines(Unexpected(before, MachineState({L"C:\\Old"})))) << ToUtf8(command);
    }
}

TEST_F(Faults, DamagedPreviousLogIsTakenBackUpToTheDamageAndTheNewInstallIsClean) {
    const State before = MachineState();
    ASSERT_TRUE(Install(kDir).started);
    const std::wstring logPath = kDir + L"\\uninst.log";
    const std::string log = ReadBytes(logPath);
    ASSERT_EQ(0u, WriteFileBytes(logPath, DamageRecord(log, CountRecords(log) / 2)));

    const HeadlessRun run = Install(kDir);
    ASSERT_TRUE(run.started);
    EXPECT_EQ("", Failures(run));
    EXPECT_TRUE(run.previousRemovalFailed) << "the damage stopped the removal";
    EXPECT_TRUE(PathExists(kDir + L"\\RADStudio23\\Win64\\qvl290.bpl"));
    EXPECT_GT(CountRecords(ReadBytes(logPath)), 20);
    EXPECT_TRUE(UninstallThroughEntry().dialog);
    // The records in front of the damage were never undone, so the first
    // install's folder was there when the second began: the second takes back
    // only the files it wrote, and what the compilers left in that folder stays.
    // Everything outside the folder, the registry included, is as before.
    for (const std::wstring& d : Unexpected(before, MachineState()))
        EXPECT_EQ(0u, d.find(L"+file|c:\\tessel")) << ToUtf8(d);
}
