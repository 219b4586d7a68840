// Golden outputs: what the setup produces on one fixed stand-in machine (Delphi 7,
// RAD Studio XE7, RAD Studio 12, C++Builder 6), compared with the files under
// tests/golden/. A change to the code's structure must leave all of them alone:
//   rows.txt             every script row, field by field
//   install.log.txt      install.log as text
//   uninst.log.txt       uninst.log, one record a line, bytes outside printable ASCII as \xNN
//   after-install.txt    the registry and file changes of the install
//   after-uninstall.txt  what the uninstall left changed (the install's by-design leftovers)
// What differs between the two host routes is normalised in the snapshots: the
// Windows and system folders become <windows> and <system>, and the bytes of
// unqmv.exe (built for the route's processor) are not compared, only its presence.
//
// After an intended change of the outputs, run the test once with
// TESSEL_UPDATE_GOLDEN=1: it writes the files instead of comparing, then review
// and commit the difference.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "changes/UninstallEngine.h"
#include "common/Locations.h"
#include "common/Files.h"
#include "common/TextConversion.h"
#include "common/WholeFile.h"
#include "common/UndoLogFormat.h"
#include "changes/ActionLogic.h"
#include "script/manifest/Manifest.h"
#include "standin/Machine.h"
#include "support/HeadlessInstall.h"
#include "support/MachineSnapshot.h"
#include "support/TestFiles.h"

using namespace tessel::common;
using namespace tessel::changes;
using namespace tessel::script;

namespace {

const std::wstring kInstall = L"C:\\Tessel";
const std::wstring kUninstallKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\qvlLib";
const std::vector<int> kIdes = {9, 21, 29, 8};

std::string Hex(uint32_t v) {
    char buf[16];
    snprintf(buf, sizeof buf, "%08x", static_cast<unsigned>(v));
    return buf;
}

std::string Text(const wchar_t* text) { return text ? "\"" + ToUtf8(text) + "\"" : "-"; }

std::string RowsDump() {
    std::string out;
    for (int i = 0; i < ScriptCount(); ++i) {
        const ScriptRow& r = ScriptRowAt(i);
        out += std::to_string(i) + " " + Hex(r.Word0) + " " + Text(r.Text) + " " + Hex(r.Param) + " " +
               Hex(StoredLocation(r.Location)) + " " + Text(r.Text2) + " " + Text(r.Text3) + " " +
               Hex(StoredLocation(r.Location2)) + " " + Hex(r.Options) + " " +
               (r.Target ? Text(r.Target->FileName) + "@" + Hex(StoredLocation(r.Target->Location)) : "-") + "\n";
    }
    return out;
}

std::string InstallLogUtf8() {
    if (!PathExists(kInstall + L"\\install.log")) return "(missing)\n";
    return ToUtf8(InstallLogText(kInstall));
}

std::string UndoLogText() {
    std::string bytes;
    if (ReadFileBytes(kInstall + L"\\uninst.log", bytes) != 0) return "(missing)\n";
    std::string out;
    auto escape = [&out](const std::string& b, size_t from, size_t to) {
        for (size_t i = from; i < to; ++i) {
            const unsigned char c = static_cast<unsigned char>(b[i]);
            if (c >= 0x20 && c < 0x7F && c != '\\') {
                out += static_cast<char>(c);
            } else {
                char buf[8];
                snprintf(buf, sizeof buf, "\\x%02x", c);
                out += buf;
            }
        }
        out += "\n";
    };
    const size_t head = bytes.size() < 7 ? bytes.size() : 7;
    escape(bytes, 0, head);
    size_t pos = head, next = 0;
    UndoRecord rec;
    while (pos < bytes.size() && ReadUndoRecordForward(bytes, pos, bytes.size(), rec, next) && next > pos) {
        escape(bytes, pos, next);
        pos = next;
    }
    if (pos < bytes.size()) escape(bytes, pos, bytes.size());
    return out;
}

void ReplaceAll(std::wstring& text, const std::wstring& what, const std::wstring& with) {
    if (what.empty()) return;
    for (size_t p = text.find(what); p != std::wstring::npos; p = text.find(what, p + with.size()))
        text.replace(p, what.size(), with);
}

std::wstring WithoutTrailingBackslash(std::wstring path) {
    while (!path.empty() && path.back() == L'\\') path.pop_back();
    return path;
}

std::string ChangesText(const std::vector<SnapshotChange>& changes) {
    const std::wstring system = LowerWide(WithoutTrailingBackslash(ResolvePath({}, LocationCode::System, L"")));
    const std::wstring windows = LowerWide(WithoutTrailingBackslash(ResolvePath({}, LocationCode::Windows, L"")));
    auto normal = [&](std::wstring s) {
        ReplaceAll(s, system, L"<system>");
        ReplaceAll(s, windows, L"<windows>");
        return s;
    };
    std::string out;
    for (const SnapshotChange& c : changes) {
        std::wstring entry = normal(c.entry), before = normal(c.before), after = normal(c.after);
        if (LowerWide(entry) == L"file " + LowerWide(kInstall) + L"\\unqmv.exe") before = after = L"<program>";
        out += ToUtf8(std::wstring(1, c.kind) + entry + L": " + before + L" -> " + after) + "\n";
    }
    return out;
}

// Compares text with the golden file name, or writes it when TESSEL_UPDATE_GOLDEN is set.
void ExpectGolden(const char* name, const std::string& text) {
    const std::wstring path = TESSEL_SOURCE_DIR L"/tests/golden/" + FromUtf8(name);
    const char* update = getenv("TESSEL_UPDATE_GOLDEN");
    if (update && *update && std::string(update) != "0") {
        EXPECT_EQ(0u, WriteFileBytes(path, text)) << name;
        return;
    }
    std::string golden;
    ASSERT_EQ(0u, ReadFileBytes(path, golden)) << "no golden file " << name;
    if (golden == text) return;
    // The first differing line is enough to see what moved.
    size_t line = 1, i = 0;
    while (i < golden.size() && i < text.size() && golden[i] == text[i]) line += golden[i++] == '\n';
    auto lineAt = [](const std::string& s, size_t at) {
        const size_t start = s.rfind('\n', at == 0 ? 0 : at - 1);
        const size_t from = start == std::string::npos ? 0 : start + 1;
        return s.substr(from, s.find('\n', from) - from);
    };
    ADD_FAILURE() << name << " differs at line " << line << "\n golden: " << lineAt(golden, i)
                  << "\n now:    " << lineAt(text, i);
}

}  // namespace

TEST(Golden, ScriptRows) { ExpectGolden("rows.txt", RowsDump()); }

TEST(Golden, FourIdeInstallAndUninstall) {
    ResetInstallPlaces(kInstall);
    ASSERT_TRUE(LayOutMachine(kIdes));
    const MachineSnapshot before = SnapshotInstallPlaces(kInstall);

    HeadlessOptions options;
    options.installDir = kInstall;
    options.ides = kIdes;
    options.compileJobs = 1;  // /J=1: the rows in script order, as they always ran
    const HeadlessRun run = RunHeadlessInstall(options);
    ASSERT_TRUE(run.started);
    EXPECT_EQ(1078, run.rows);
    EXPECT_TRUE(run.failures.empty());

    ExpectGolden("install.log.txt", InstallLogUtf8());
    ExpectGolden("uninst.log.txt", UndoLogText());
    ExpectGolden("after-install.txt", ChangesText(SnapshotChanges(before, SnapshotInstallPlaces(kInstall))));

    EXPECT_TRUE(RemoveThroughEntryWithEngine());
    ExpectGolden("after-uninstall.txt", ChangesText(SnapshotChanges(before, SnapshotInstallPlaces(kInstall))));
    SetCurrentDirectoryW(L"C:\\");
}
