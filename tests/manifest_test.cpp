// The shape of the install script: counts, payload ids, blocks, the per-IDE
// row sequences, undo flags and the tables the rows refer to.
#include <gtest/gtest.h>
#include "changes/uninstallentry/UninstallEntry.h"
#include <utility>

#include <map>
#include <set>
#include <string>
#include <vector>
#include "common/IdeTable.h"
#include "common/Locations.h"
#include "script/runner/InstallContext.h"
#include "script/manifest/Manifest.h"
#include "support/PayloadList.h"

using namespace tessel::common;
using namespace tessel::changes;
using namespace tessel::changes::uninstall_entry;
using namespace tessel::script;

namespace {

bool IsExtract(RowKind k) {
    return k == RowKind::ExtractFile || k == RowKind::ExtractFileOnce || k == RowKind::ExtractFileIfNewer;
}

std::vector<int> RowsOfKind(RowKind kind) {
    std::vector<int> rows;
    for (int i = 0; i < ScriptCount(); ++i)
        if (ScriptRowAt(i).Kind() == kind) rows.push_back(i);
    return rows;
}

// One letter per row kind, so a block's row sequence can be written as a word.
char Letter(RowKind kind) {
    static const std::pair<RowKind, char> letters[] = {
        {RowKind::IfItem, 'I'},          {RowKind::EndIfItem, 'i'},       {RowKind::SetIde, 'S'},
        {RowKind::CreateDir, 'D'},       {RowKind::ClearDir, 'X'},        {RowKind::ExtractFile, 'E'},
        {RowKind::SetCurrentDir, 'C'},   {RowKind::CompilePackage, 'P'},  {RowKind::CheckFile, 'K'},
        {RowKind::CopyOneFile, 'Y'},     {RowKind::RegisterPackage, 'R'}, {RowKind::IfFileExists, 'F'},
        {RowKind::EndIfFileExists, 'f'}, {RowKind::If64BitIde, 'G'},      {RowKind::EndIf64BitIde, 'g'},
        {RowKind::CopyFiles, 'H'},       {RowKind::DeleteFiles, 'h'},     {RowKind::AddIdePath, 'A'},
        {RowKind::AddSearchPath, 'Q'},   {RowKind::AppendText, 'T'},      {RowKind::MergeFiles, 'M'},
        {RowKind::DeleteOneFile, 'L'},   {RowKind::IfModernCpp, 'W'},     {RowKind::EndIfModernCpp, 'w'},
    };
    for (const auto& [k, letter] : letters)
        if (k == kind) return letter;
    return '?';
}

std::string Rep(char c, int n) { return std::string(static_cast<size_t>(n), c); }

// First row of the IDE block guarded by item bit `item`, and its end row.
bool FindBlock(uint64_t item, int& first, int& last) {
    for (int i = 0; i < ScriptCount(); ++i) {
        const ScriptRow& r = ScriptRowAt(i);
        if (r.Kind() == RowKind::IfItem && BlockCode(r) == item && i + 1 < ScriptCount() &&
            ScriptRowAt(i + 1).Kind() == RowKind::SetIde) {
            for (int j = i + 1; j < ScriptCount(); ++j) {
                if (ScriptRowAt(j).Kind() == RowKind::EndIfItem && BlockCode(ScriptRowAt(j)) == item) {
                    first = i;
                    last = j;
                    return true;
                }
            }
        }
    }
    return false;
}

std::string Word(int first, int last) {
    std::string w;
    for (int i = first; i <= last; ++i) w += Letter(ScriptRowAt(i).Kind());
    return w;
}

struct ExpectedBlock {
    const char* Name;
    uint64_t Item;
    uint32_t Ide;
    std::wstring Folder;
    std::wstring Suffix;
    std::string Shape;
};

// The per-IDE row sequences, written down from the product's block table:
// head, project files, run-time build, design-time build, 64-bit build,
// header move, path rows, help rows, tail.
// clang-format off
std::vector<ExpectedBlock> ExpectedBlocks() {
    const std::string head = "ISDX", head64 = "ISDXDD", tail = "Si";
    const std::string build = "C" "PKY" "PKR";
    const std::string hpp = "Hh";
    const std::string w64 = "PK";
    const std::string ide64 = "G" "PKR" "g";  // the Win64 design-time package of the 64-bit IDE
    const std::string modern = "W" "D" "PKK" "AA" "w";  // the Modern C++ toolchain's Win64x build
    return {
        { "Delphi 3", 0x1, 1, L"Delphi3", L"30", head + Rep('E', 4) + "Y" + Rep('E', 25) + build + "TTL" + tail },
        { "Delphi 4", 0x2, 2, L"Delphi4", L"40", head + Rep('E', 8) + build + "TTTTL" + tail },
        { "Delphi 5", 0x4, 3, L"Delphi5", L"50", head + Rep('E', 8) + build + "TTL" + tail },
        { "Delphi 6", 0x8, 7, L"Delphi6", L"60", head + Rep('E', 8) + build + "ITTMLi" + tail },
        { "Delphi 7", 0x400, 9, L"Delphi7", L"70", head + Rep('E', 8) + build + "ITTMLi" + tail },
        { "Delphi 2005", 0x800, 10, L"Delphi9", L"90", head + Rep('E', 6) + build + tail },
        { "BDS 2006", 0x1000, 11, L"BDS2006", L"2006", head + Rep('E', 8) + build + hpp + "A" + tail },
        { "RAD Studio 2007", 0x2000, 12, L"BDS2007", L"2007", head + Rep('E', 8) + build + hpp + "AA" + tail },
        { "RAD Studio 2009", 0x4000, 13, L"BDS2009", L"2009", head + Rep('E', 8) + build + hpp + "AA" + tail },
        { "RAD Studio 2010", 0x8000, 14, L"BDS2010", L"2010", head + Rep('E', 8) + build + hpp + "AA" + tail },
        { "XE", 0x10000, 15, L"RADStudio8", L"150", head + Rep('E', 8) + build + hpp + "AAA" + tail },
        { "XE2", 0x20000, 16, L"RADStudio9", L"160", head64 + Rep('E', 8) + build + w64 + "AAA" + tail },
        { "XE3", 0x40000, 17, L"RADStudio10", L"170", head64 + Rep('E', 8) + build + w64 + "AAA" + tail },
        { "XE4", 0x80000, 18, L"RADStudio11", L"180", head64 + Rep('E', 8) + build + w64 + "AAAA" + tail },
        { "XE5", 0x100000, 19, L"RADStudio12", L"190", head64 + Rep('E', 8) + build + w64 + "AAAA" + tail },
        { "XE6", 0x200000, 20, L"RADStudio14", L"200", head64 + Rep('E', 8) + build + w64 + "AAAA" + tail },
        { "XE7", 0x400000, 21, L"RADStudio15", L"210", head64 + Rep('E', 8) + build + w64 + "AAAA" + tail },
        { "XE8", 0x800000, 22, L"RADStudio16", L"220", head64 + Rep('E', 8) + build + w64 + "AAAA" + tail },
        { "XE10", 0x1000000, 23, L"RADStudio17", L"230", head64 + Rep('E', 8) + build + w64 + "AAAA" + tail },
        { "C++Builder 4", 0x10, 5, L"CBuilder4", L"40", head + Rep('E', 6) + build + "Q" "TTTL" + tail },
        { "C++Builder 5", 0x20, 6, L"CBuilder5", L"50", head + Rep('E', 8) + build + "Q" "TTL" + tail },
        { "C++Builder 6", 0x40, 8, L"CBuilder6", L"60", head + Rep('E', 8) + build + "Q" "ITTMLi" + tail },
        { "XE10.1", 0x2000000, 24, L"RADStudio18", L"240", head64 + Rep('E', 8) + build + "F" + w64 + "AAf" "AA" + tail },
        { "XE10.2", 0x4000000, 25, L"RADStudio19", L"250", head64 + Rep('E', 8) + build + "AA" "F" + w64 + "AAf" + tail },
        { "XE10.3", 0x8000000, 26, L"RADStudio20", L"260", head64 + Rep('E', 8) + build + "AA" "F" + w64 + "AAf" + tail },
        { "XE10.4", 0x10000000, 27, L"RADStudio21", L"270", head64 + Rep('E', 8) + build + "AA" "F" + w64 + "AAf" + tail },
        { "RAD Studio 11", 0x20000000, 28, L"RADStudio22", L"280", head64 + Rep('E', 8) + build + "AA" "F" + w64 + "Y" "AAf" + tail },
        { "RAD Studio 12", 0x40000000, 29, L"RADStudio23", L"290", head64 + Rep('E', 8) + build + "AA" "F" + w64 + "Y" "AA" + ide64 + modern + "f" + tail },
        { "RAD Studio 13", 0x80000000, 30, L"RADStudio37", L"370", head64 + Rep('E', 8) + build + "AA" "F" + w64 + "Y" "AA" + ide64 + modern + "f" + tail },
        { "newer", 0x100000000, 31, L"RADStudioNewer", L"", head64 + Rep('E', 8) + build + "AA" "F" + w64 + "Y" "AA" + ide64 + modern + "f" + tail },
    };
}
// clang-format on

}  // namespace

TEST(ScriptTable, HasTheShippedRowCountAndStableRows) {
    ASSERT_EQ(ScriptCount(), 1078);
    // The runner keeps pointers into rows and texts between steps: reading the
    // other rows meanwhile moves neither.
    const ScriptRow* row = &ScriptRowAt(10);
    const wchar_t* text = row->Text;
    for (int i = 0; i < ScriptCount(); ++i) ScriptRowAt(i);
    EXPECT_EQ(row, &ScriptRowAt(10));
    EXPECT_EQ(text, ScriptRowAt(10).Text);
    // A bad index gives an action-less row instead of reading past the table.
    EXPECT_EQ(FirstWord(ScriptRowAt(-1).Kind()), 0u);
    EXPECT_EQ(FirstWord(ScriptRowAt(1078).Kind()), 0u);
    EXPECT_EQ(ScriptRowAt(1078).Text, nullptr);
}

TEST(ScriptTable, PrologueAndClosingRows) {
    const uint32_t codes[] = {1, 2, 4, 5, 7, 6};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(ScriptRowAt(i).Kind(), RowKind::Info) << i;
        EXPECT_EQ(ScriptRowAt(i).Param, codes[i]) << i;
        EXPECT_EQ(ScriptRowAt(i).Flags(), RowFlag::Undo) << i;
        EXPECT_EQ(ScriptRowAt(i).Location, LocationCode::None) << i;
    }
    EXPECT_EQ(ScriptRowAt(6).Kind(), RowKind::CreateDir);
    EXPECT_EQ(Str(ScriptRowAt(6).Text), L"");
    EXPECT_EQ(ScriptRowAt(6).Location, LocationCode::Install);
    // The uninstaller and its entry come first after the install folder, so
    // that every later change can be found and taken back.
    EXPECT_EQ(ScriptRowAt(7).Kind(), RowKind::ExtractFileIfNewer);
    EXPECT_EQ(ScriptRowAt(8).Kind(), RowKind::RegisterUninstall);
    EXPECT_EQ(Str(ScriptRowAt(9).Text), L"Source");

    const ScriptRow& last = ScriptRowAt(ScriptCount() - 1);
    EXPECT_EQ(last.Kind(), RowKind::CreateRegKey);
    EXPECT_EQ(Str(last.Text), L"Software\\Veltrane\\Tessel library");
    EXPECT_EQ(last.Param, 0x80000002u);
    EXPECT_EQ(last.Flags(), RowFlag::Undo | RowFlag::KeepOnPartial);

    // The settings template, the uninstaller and its entry.
    std::vector<int> once = RowsOfKind(RowKind::ExtractFileOnce);
    ASSERT_EQ(once.size(), 1u);
    EXPECT_EQ(Str(ScriptRowAt(once[0]).Text), L"qvTessel.ini");
    EXPECT_EQ(ScriptRowAt(once[0]).Param, 29u);
    EXPECT_EQ(ScriptRowAt(once[0]).Location, LocationCode::Windows);
    EXPECT_EQ(ScriptRowAt(once[0]).Flags(), RowFlag::Undo | RowFlag::KeepOnPartial);
    std::vector<int> newer = RowsOfKind(RowKind::ExtractFileIfNewer);
    ASSERT_EQ(newer.size(), 1u);
    EXPECT_EQ(newer[0], 7);
    EXPECT_EQ(Str(ScriptRowAt(newer[0]).Text), L"unqmv.exe");
    EXPECT_EQ(ScriptRowAt(newer[0]).Param, 28u);
    EXPECT_EQ(ScriptRowAt(newer[0]).Location, LocationCode::Install);
    EXPECT_EQ(ScriptRowAt(newer[0] + 1).Kind(), RowKind::RegisterUninstall);
    EXPECT_EQ(Str(ScriptRowAt(newer[0] + 1).Text), L"unqmv.exe");
    EXPECT_EQ(ScriptRowAt(once[0] + 1).Param, 27u);
    EXPECT_EQ(Str(ScriptRowAt(once[0] + 1).Text), L"Source\\qvAboutBox.res");
    // Nothing of the IDEs happens before the common files are in place.
    EXPECT_EQ(ScriptRowAt(once[0] + 2).Kind(), RowKind::IfItem);
    EXPECT_EQ(ScriptRowAt(once[0] + 2).Param, 0x1u);

    // Help registration rows.
    std::vector<int> win = RowsOfKind(RowKind::RegisterWinHelp);
    ASSERT_EQ(win.size(), 2u);
    EXPECT_EQ(Str(ScriptRowAt(win[0]).Text), L"qvlib.hlp");
    EXPECT_EQ(Str(ScriptRowAt(win[1]).Text), L"qvlib.cnt");
    EXPECT_EQ(ScriptRowAt(win[0] - 1).Kind(), RowKind::SetHelpDir);
    EXPECT_EQ(Str(ScriptRowAt(win[0] - 1).Text), L"Help");
    std::vector<int> run = RowsOfKind(RowKind::RunInstallFile);
    ASSERT_EQ(run.size(), 1u);
    EXPECT_EQ(Str(ScriptRowAt(run[0]).Text), L"help\\help_reg.bat");
    EXPECT_EQ(ScriptRowAt(run[0] + 1).Kind(), RowKind::EndIfItem);
    EXPECT_EQ(ScriptRowAt(run[0] + 1).Param, 0x1000u);
}

TEST(ScriptTable, PayloadIdsMatchThePayloadList) {
    std::map<uint32_t, std::wstring> payload = ReadPayloadList();
    ASSERT_EQ(payload.size(), 370u) << "payload/manifest.txt not readable or incomplete";

    std::map<uint32_t, std::vector<int>> uses;
    for (int i = 0; i < ScriptCount(); ++i)
        if (IsExtract(ScriptRowAt(i).Kind())) uses[ScriptRowAt(i).Param].push_back(i);
    EXPECT_EQ(uses.size(), 370u);
    EXPECT_EQ(uses.begin()->first, 1u);
    EXPECT_EQ(uses.rbegin()->first, 3007u);
    EXPECT_EQ(uses.count(28), 1u);
    EXPECT_EQ(uses.count(25), 0u);
    for (const auto& p : payload) EXPECT_EQ(uses.count(p.first), 1u) << "id " << p.first << " never written";
    for (const auto& u : uses) EXPECT_EQ(payload.count(u.first), 1u) << "id " << u.first << " not in the payload";

    // Every file lands at its place in the payload tree; 26 ids a second time.
    std::set<uint32_t> twice;
    for (const auto& u : uses) {
        auto p = payload.find(u.first);
        if (p == payload.end()) continue;
        const ScriptRow& first = ScriptRowAt(u.second[0]);
        if (u.first == 28)
            EXPECT_EQ(p->second, L"@unqmv");
        else
            EXPECT_EQ(Str(first.Text), p->second) << "id " << u.first;
        ASSERT_LE(u.second.size(), 2u) << "id " << u.first;
        if (u.second.size() == 2) {
            twice.insert(u.first);
            const std::wstring second = Str(ScriptRowAt(u.second[1]).Text);
            if (u.first == 255)
                EXPECT_EQ(second, L"Demos\\CBuilder\\IniDemo\\Sample.ini");
            else
                EXPECT_EQ(second, L"Delphi3\\" + p->second.substr(p->second.rfind(L'\\') + 1)) << u.first;
        }
    }
    std::set<uint32_t> expectedTwice = {255, 26, 34};
    for (uint32_t id = 2; id <= 24; ++id) expectedTwice.insert(id);
    EXPECT_EQ(twice, expectedTwice);
}

TEST(ScriptTable, ExtractModeRowsStayInTheInstallFolderAndFindTheirFolders) {
    // Extract mode creates no parent folders of its own: every file row's
    // folder must have been created by an earlier row (or be a package folder's).
    std::set<std::wstring> made;
    int files = 0;
    for (int i = 0; i < ScriptCount(); ++i) {
        const ScriptRow& r = ScriptRowAt(i);
        if (r.Kind() == RowKind::CreateDir) {
            EXPECT_EQ(r.Location, LocationCode::Install) << i;
            made.insert(Str(r.Text));
        } else if (r.Kind() == RowKind::ExtractFile) {
            ++files;
            EXPECT_EQ(r.Location, LocationCode::Install) << i;
            std::wstring text = Str(r.Text);
            size_t slash = text.rfind(L'\\');
            std::wstring folder = slash == std::wstring::npos ? L"" : text.substr(0, slash);
            EXPECT_EQ(made.count(folder), 1u) << "row " << i << " writes into an uncreated folder";
        }
    }
    EXPECT_EQ(files, 394);
}

TEST(ScriptTable, BlocksAreBalancedAndProperlyNested) {
    struct OpenBlock {
        RowKind Kind;
        uint32_t Code;
    };
    std::vector<OpenBlock> open;
    int blocks = 0;
    for (int i = 0; i < ScriptCount(); ++i) {
        const ScriptRow& r = ScriptRowAt(i);
        RowKind k = r.Kind();
        bool start = k == RowKind::IfItem || k == RowKind::IfIde || k == RowKind::IfOption ||
                     k == RowKind::IfNotOption || k == RowKind::IfFileExists || k == RowKind::If64BitIde ||
                     k == RowKind::IfModernCpp;
        bool end = k == RowKind::EndIfItem || k == RowKind::EndIfIde || k == RowKind::EndIfOption ||
                   k == RowKind::EndIfNotOption || k == RowKind::EndIfFileExists || k == RowKind::EndIf64BitIde ||
                   k == RowKind::EndIfModernCpp;
        if (start) {
            // A block inside one with the same kind and code would end it early when skipped.
            for (const OpenBlock& o : open) EXPECT_FALSE(o.Kind == k && o.Code == r.Param) << "row " << i;
            open.push_back({k, r.Param});
            ++blocks;
        } else if (end) {
            ASSERT_FALSE(open.empty()) << "end row " << i << " without a block";
            EXPECT_EQ(FirstWord(open.back().Kind) + 1, FirstWord(k)) << "row " << i;
            EXPECT_EQ(open.back().Code, r.Param) << "row " << i;
            open.pop_back();
        }
    }
    EXPECT_TRUE(open.empty());
    // 30 IDE blocks, 3 help guards inside them, 8 guarded 64-bit builds with 3
    // 64-bit IDE blocks and 3 Modern-toolchain blocks inside, 4 in the prologue,
    // 3 demo guards.
    EXPECT_EQ(blocks, 30 + 3 + 8 + 3 + 3 + 4 + 3);
    // The options of the customise dialog guard nothing in this product.
    EXPECT_TRUE(RowsOfKind(RowKind::IfOption).empty());
    EXPECT_TRUE(RowsOfKind(RowKind::IfNotOption).empty());
    EXPECT_TRUE(RowsOfKind(RowKind::IfIde).empty());
}

TEST(ScriptTable, EachIdeBlockHasItsShape) {
    std::vector<ExpectedBlock> expected = ExpectedBlocks();
    int previous = -1;
    for (const ExpectedBlock& e : expected) {
        SCOPED_TRACE(e.Name);
        int first = 0, last = 0;
        ASSERT_TRUE(FindBlock(e.Item, first, last));
        EXPECT_GT(first, previous) << "blocks out of order";
        previous = first;
        EXPECT_EQ(Word(first, last), e.Shape);

        const uint32_t ideBit = 1u << (e.Ide - 1);
        // What the compiler names the packages: with the suffix, or the automatic one.
        const std::wstring built = e.Suffix.empty() ? L"$(Auto)" : e.Suffix;
        const bool is64 = e.Ide >= 16;
        const std::wstring pkgExt = e.Ide == 1 ? L".dpl" : L".bpl";
        const std::wstring out32 = is64 ? e.Folder + L"\\Win32\\" : e.Folder + L"\\";
        const std::wstring projExt = (e.Ide == 5) ? L".bpk" : (e.Ide == 6 || e.Ide == 8) ? L".mak" : L".dpk";
        EXPECT_EQ(ScriptRowAt(first + 1).Param, e.Ide);
        EXPECT_EQ(Str(ScriptRowAt(first + 1).Text), e.Folder);
        EXPECT_EQ(Str(ScriptRowAt(last - 1).Text), e.Folder);
        EXPECT_EQ(ScriptRowAt(last - 1).Param, e.Ide);

        std::vector<const ScriptRow*> compiles, checks, copies;
        for (int i = first; i <= last; ++i) {
            const ScriptRow& r = ScriptRowAt(i);
            if (r.Kind() == RowKind::CompilePackage) compiles.push_back(&r);
            if (r.Kind() == RowKind::CheckFile) checks.push_back(&r);
            if (r.Kind() == RowKind::CopyOneFile) copies.push_back(&r);
            if (r.Kind() == RowKind::SetCurrentDir) {
                EXPECT_EQ(Str(r.Text), e.Folder);
            }
            if (r.Kind() == RowKind::ExtractFile) {
                EXPECT_EQ(Str(r.Text).rfind(e.Folder + L"\\", 0), 0u);
            }
            if (r.Kind() == RowKind::RegisterPackage) {
                // The second one is the 64-bit IDE's: its Win64 package, its own list, the Win64 library.
                const bool forIde64 = i > first && Word(first, i - 1).find('R') != std::string::npos;
                EXPECT_EQ(Str(r.Text), (forIde64 ? e.Folder + L"\\Win64\\" : out32) + L"dclqvl" + built + pkgExt);
                EXPECT_EQ(r.Location, LocationCode::Install);
                EXPECT_EQ(r.Param, forIde64 ? 1u : 0u);
                EXPECT_EQ(r.Options, forIde64 ? 2u : 0u);
            }
        }
        const bool ide64 = e.Ide >= 29;
        ASSERT_EQ(compiles.size(), is64 ? (ide64 ? 5u : 3u) : 2u);
        EXPECT_EQ(Str(compiles[0]->Text), L"qvl" + e.Suffix + projExt);
        EXPECT_EQ(Str(compiles[1]->Text), L"dclqvl" + e.Suffix + projExt);
        for (size_t c = 0; c < compiles.size(); ++c) {
            EXPECT_EQ(compiles[c]->Param, ideBit);
            EXPECT_EQ(compiles[c]->Options, c >= 4 ? 2u : c >= 2 ? 1u : 0u);
        }
        if (ide64) {
            EXPECT_EQ(Str(compiles[3]->Text), L"dclqvl" + e.Suffix + projExt);
        }
        ASSERT_EQ(checks.size(), compiles.size() + (ide64 ? 1 : 0));
        EXPECT_EQ(Str(checks[0]->Text), out32 + L"qvl" + built + pkgExt);
        EXPECT_EQ(Str(checks[1]->Text), out32 + L"dclqvl" + built + pkgExt);
        if (is64) {
            EXPECT_EQ(Str(checks[2]->Text), e.Folder + L"\\Win64\\qvl" + built + L".bpl");
        }
        if (ide64) {
            EXPECT_EQ(Str(checks[3]->Text), e.Folder + L"\\Win64\\dclqvl" + built + L".bpl");
            // The import files keep the project's name.
            EXPECT_EQ(Str(checks[4]->Text), e.Folder + L"\\Win64x\\qvl" + e.Suffix + L".bpi");
            EXPECT_EQ(Str(checks[5]->Text), e.Folder + L"\\Win64x\\qvl" + e.Suffix + L".lib");
        }
        for (const ScriptRow* c : checks) EXPECT_EQ(c->Location, LocationCode::Install);
        // The run-time package goes to the target named after it.
        const ScriptRow* runtimeCopy = copies.back();
        if (is64 && e.Ide >= 28) runtimeCopy = copies[0];
        ASSERT_NE(runtimeCopy->Target, nullptr);
        EXPECT_EQ(Str(runtimeCopy->Target->FileName), L"qvl" + built + pkgExt);
        EXPECT_EQ(runtimeCopy->Target->Location, e.Ide >= 28 ? LocationCode::Bpl : LocationCode::System);
        EXPECT_EQ(Str(runtimeCopy->Text), Str(checks[0]->Text));
        if (e.Ide >= 28) {
            ASSERT_EQ(copies.size(), 2u);
            EXPECT_EQ(copies[1]->Target->Location, LocationCode::Bpl64);
            EXPECT_EQ(Str(copies[1]->Text), Str(checks[2]->Text));
        }
    }
}

TEST(ScriptTable, ProjectFilesOfTheXE7Block) {
    int first = 0, last = 0;
    ASSERT_TRUE(FindBlock(0x400000, first, last));
    const wchar_t* names[] = {L"dcc32.cfg", L"qvl210.dproj",    L"qvl210.dpk",    L"qvl210.res",
                              L"dcc64.cfg", L"dclqvl210.dproj", L"dclqvl210.dpk", L"dclqvl210.res"};
    EXPECT_EQ(Str(ScriptRowAt(first + 4).Text), L"RADStudio15\\Win32");
    EXPECT_EQ(Str(ScriptRowAt(first + 5).Text), L"RADStudio15\\Win64");
    for (int f = 0; f < 8; ++f) {
        const ScriptRow& r = ScriptRowAt(first + 6 + f);
        EXPECT_EQ(Str(r.Text), L"RADStudio15\\" + std::wstring(names[f]));
        EXPECT_EQ(r.Param, 2000u + f);
    }
}

TEST(ScriptTable, PathRowsOfTheNewerIdes) {
    auto paths = [](uint64_t item) {
        int first = 0, last = 0;
        std::vector<std::pair<std::wstring, uint32_t>> rows;
        if (!FindBlock(item, first, last)) return rows;
        for (int i = first; i <= last; ++i)
            if (ScriptRowAt(i).Kind() == RowKind::AddIdePath)
                rows.emplace_back(Str(ScriptRowAt(i).Text), ScriptRowAt(i).Param);
        return rows;
    };
    using P = std::vector<std::pair<std::wstring, uint32_t>>;
    EXPECT_EQ(paths(0x1000), (P{{L"\\CppPaths\\SearchPath", 2}}));
    EXPECT_EQ(paths(0x10000),
              (P{{L"\\C++\\Paths\\SearchPath", 2}, {L"\\C++\\Paths\\LibraryPath", 2}, {L"\\Library\\Search Path", 2}}));
    EXPECT_EQ(paths(0x20000), (P{{L"\\C++\\Paths\\Win32\\LibraryPath", 3},
                                 {L"\\Library\\Win32\\Search Path", 3},
                                 {L"\\Library\\Win64\\Search Path", 4}}));
    EXPECT_EQ(paths(0x80000), (P{{L"\\C++\\Paths\\Win32\\LibraryPath", 3},
                                 {L"\\C++\\Paths\\Win64\\LibraryPath", 4},
                                 {L"\\Library\\Win32\\Search Path", 3},
                                 {L"\\Library\\Win64\\Search Path", 4}}));
    EXPECT_EQ(paths(0x200000), (P{{L"\\C++\\Paths\\Win32\\LibraryPath", 3},
                                  {L"\\Library\\Win32\\Search Path", 3},
                                  {L"\\Library\\Win64\\Search Path", 4},
                                  {L"\\C++\\Paths\\Win64\\LibraryPath", 4}}));
    EXPECT_EQ(paths(0x2000000), (P{{L"\\Library\\Win64\\Search Path", 4},
                                   {L"\\C++\\Paths\\Win64\\LibraryPath", 4},
                                   {L"\\C++\\Paths\\Win32\\LibraryPath", 3},
                                   {L"\\Library\\Win32\\Search Path", 3}}));
    for (uint64_t item : {0x40000000ull, 0x80000000ull, 0x100000000ull})
        EXPECT_EQ(paths(item), (P{{L"\\Library\\Win32\\Search Path", 3},
                                  {L"\\C++\\Paths\\Win32\\LibraryPath", 3},
                                  {L"\\Library\\Win64\\Search Path", 4},
                                  {L"\\C++\\Paths\\Win64\\LibraryPath", 4},
                                  {L"\\Library\\Win64x\\Search Path", 5},
                                  {L"\\C++\\Paths\\Win64x\\LibraryPath", 5}}));

    // The 64-bit guards: the compiler's file below the IDE root, one code per block.
    std::vector<int> guards = RowsOfKind(RowKind::IfFileExists);
    const uint32_t codes[] = {0x2000001, 0x4000001, 0x4000001, 0x4000002, 0x4000003, 0x4000004, 0x4000005, 0x4000006};
    ASSERT_EQ(guards.size(), 8u);
    for (size_t g = 0; g < guards.size(); ++g) {
        EXPECT_EQ(Str(ScriptRowAt(guards[g]).Text), L"bin\\dcc64.exe");
        EXPECT_EQ(ScriptRowAt(guards[g]).Location, LocationCode::IdeRoot);
        EXPECT_EQ(ScriptRowAt(guards[g]).Param, codes[g]);
    }

    // The header move of BDS 2006 to XE.
    for (int i : RowsOfKind(RowKind::CopyFiles)) {
        EXPECT_EQ(Str(ScriptRowAt(i).Text), L"Source\\*.hpp");
        EXPECT_EQ(ScriptRowAt(i).Location2, LocationCode::Install);
        EXPECT_EQ(Str(ScriptRowAt(i).Text3), Str(ScriptRowAt(i - 1 - 2 - 3 - 1 - 8 - 2).Text) + L"\\*.hpp");
        EXPECT_EQ(Str(ScriptRowAt(i + 1).Text), L"Source\\*.hpp");
    }
    // C++Builder extends its library path with "Source".
    for (int i : RowsOfKind(RowKind::AddSearchPath)) {
        EXPECT_EQ(Str(ScriptRowAt(i).Text), L"Source");
        EXPECT_EQ(ScriptRowAt(i).Location, LocationCode::Install);
        EXPECT_EQ(ScriptRowAt(i).Text2, nullptr);
        EXPECT_EQ(ScriptRowAt(i).Text3, nullptr);
    }
}

TEST(ScriptTable, WinHelpRowsOfTheOlderIdes) {
    const std::wstring index = L"\r\n:Index Tessel library components=qvlib.hlp";
    const std::wstring link = L"\r\n:Link qvlib.hlp";
    struct {
        uint32_t Item;
        std::vector<std::pair<uint32_t, std::wstring>> Lines;
        const wchar_t* Alias;
        const wchar_t* Gid;
    } help[] = {
        {0x1, {{1, index}, {1, link}}, nullptr, L"Help\\delphi3.gid"},
        {0x2, {{1, index}, {1, link}, {2, index}, {3, link}}, nullptr, L"Help\\delphi4.gid"},
        {0x4, {{1, index}, {2, link}}, nullptr, L"Help\\delphi5.gid"},
        {0x8, {{1, index}, {2, link}}, L"delphi6.als", L"Help\\delphi6.gid"},
        {0x400, {{1, index}, {2, link}}, L"d7.als", L"Help\\d7.gid"},
        {0x10, {{1, link}, {2, index}, {3, link}}, nullptr, L"Help\\bcb4.gid"},
        {0x20, {{1, index}, {2, link}}, nullptr, L"Help\\bcb5.gid"},
        {0x40, {{1, index}, {2, link}}, L"bcb6.als", L"Help\\bcb6.gid"},
    };
    for (const auto& h : help) {
        SCOPED_TRACE(h.Item);
        int first = 0, last = 0;
        ASSERT_TRUE(FindBlock(h.Item, first, last));
        std::vector<std::pair<uint32_t, std::wstring>> lines;
        for (int i = first; i <= last; ++i) {
            const ScriptRow& r = ScriptRowAt(i);
            if (r.Kind() == RowKind::AppendText) {
                lines.emplace_back(r.Param, Str(r.Text));
                EXPECT_EQ(r.Location, LocationCode::IdeHelp);
            } else if (r.Kind() == RowKind::MergeFiles) {
                ASSERT_NE(h.Alias, nullptr);
                EXPECT_EQ(Str(r.Text), L"Help\\qvlib.als");
                EXPECT_EQ(r.Location, LocationCode::Install);
                EXPECT_EQ(Str(r.Text3), h.Alias);
                EXPECT_EQ(r.Location2, LocationCode::IdeHelp);
            } else if (r.Kind() == RowKind::DeleteOneFile) {
                EXPECT_EQ(Str(r.Text), h.Gid);
                EXPECT_EQ(r.Location, LocationCode::IdeRoot);
            } else if (r.Kind() == RowKind::IfItem && i != first) {
                EXPECT_EQ(r.Param, 0x80u);
            }
        }
        EXPECT_EQ(lines, h.Lines);
    }
}

TEST(ScriptTable, DemoSection) {
    std::vector<std::wstring> delphi, cbuilder;
    int demosRow = -1;
    for (int i = 0; i < ScriptCount(); ++i) {
        const ScriptRow& r = ScriptRowAt(i);
        if (r.Kind() != RowKind::CreateDir) continue;
        std::wstring t = Str(r.Text);
        if (t == L"Demos") demosRow = i;
        if (t.rfind(L"Demos\\Delphi\\", 0) == 0) delphi.push_back(t);
        if (t.rfind(L"Demos\\CBuilder\\", 0) == 0) cbuilder.push_back(t);
        // Project folders go with their recorded root; only the roots are recorded.
        if (t.rfind(L"Demos", 0) == 0) {
            EXPECT_EQ(r.HasFlag(RowFlag::Undo), t == L"Demos" || t == L"Demos\\Delphi" || t == L"Demos\\CBuilder") << i;
        }
    }
    EXPECT_EQ(delphi.size(), 8u);
    EXPECT_EQ(cbuilder.size(), 7u);
    ASSERT_GT(demosRow, 0);
    EXPECT_EQ(ScriptRowAt(demosRow - 1).Kind(), RowKind::IfItem);
    EXPECT_EQ(ScriptRowAt(demosRow - 1).Param, 0x300u);
    EXPECT_EQ(ScriptRowAt(demosRow + 1).Param, 0x300u);
    // The demos stand between the C++Builder 6 block and the XE10.1 block.
    EXPECT_EQ(ScriptRowAt(demosRow - 2).Kind(), RowKind::EndIfItem);
    EXPECT_EQ(ScriptRowAt(demosRow - 2).Param, 0x40u);
    int xe101 = 0, end = 0;
    ASSERT_TRUE(FindBlock(0x2000000, xe101, end));
    EXPECT_EQ(ScriptRowAt(xe101 - 1).Kind(), RowKind::EndIfItem);
    EXPECT_EQ(ScriptRowAt(xe101 - 1).Param, 0x200u);
    int delphiFiles = 0, cbFiles = 0;
    for (int i = demosRow; i < xe101; ++i) {
        std::wstring t = Str(ScriptRowAt(i).Text);
        if (ScriptRowAt(i).Kind() != RowKind::ExtractFile) continue;
        if (t.rfind(L"Demos\\Delphi\\", 0) == 0) ++delphiFiles;
        if (t.rfind(L"Demos\\CBuilder\\", 0) == 0) ++cbFiles;
    }
    EXPECT_EQ(delphiFiles, 37);
    EXPECT_EQ(cbFiles, 50);
}

TEST(ScriptTable, UndoFlagsOnExactlyTheRecordedKinds) {
    const std::set<RowKind> recorded = {RowKind::Info,
                                        RowKind::SetIde,
                                        RowKind::CreateDir,
                                        RowKind::ExtractFileOnce,
                                        RowKind::RegisterUninstall,
                                        RowKind::RegisterPackage,
                                        RowKind::AppendText,
                                        RowKind::DeleteOneFile,
                                        RowKind::RegisterWinHelp,
                                        RowKind::CreateRegKey,
                                        RowKind::AddSearchPath,
                                        RowKind::RunInstallFile,
                                        RowKind::AddIdePath};
    int keep = 0, unrecordedDirs = 0;
    for (int i = 0; i < ScriptCount(); ++i) {
        const ScriptRow& r = ScriptRowAt(i);
        const RowFlag known = RowFlag::Undo | RowFlag::KeepOnPartial;
        EXPECT_EQ(r.Flags() | known, known) << "no other flag bits, row " << i;
        if (r.HasFlag(RowFlag::KeepOnPartial)) {
            ++keep;
            EXPECT_TRUE(r.HasFlag(RowFlag::Undo)) << i;
        }
        if (r.Kind() == RowKind::CreateDir && !r.HasFlag(RowFlag::Undo)) {
            ++unrecordedDirs;
            continue;
        }
        EXPECT_EQ(r.HasFlag(RowFlag::Undo), recorded.count(r.Kind()) == 1)
            << "row " << i << " kind " << FirstWord(r.Kind());
    }
    EXPECT_EQ(keep, 2);
    EXPECT_EQ(unrecordedDirs, 15);  // the demo project folders
    // The undo records of these kinds carry the location the uninstaller expects.
    for (int i : RowsOfKind(RowKind::AddIdePath)) EXPECT_EQ(ScriptRowAt(i).Location, LocationCode::Install);
    for (int i : RowsOfKind(RowKind::RegisterUninstall)) EXPECT_EQ(ScriptRowAt(i).Location, LocationCode::Install);
    for (int i : RowsOfKind(RowKind::SetIde)) EXPECT_EQ(ScriptRowAt(i).Location, LocationCode::None);
    for (int i : RowsOfKind(RowKind::RunInstallFile)) EXPECT_EQ(ScriptRowAt(i).Location, LocationCode::None);
    for (int i : RowsOfKind(RowKind::RegisterWinHelp)) EXPECT_EQ(ScriptRowAt(i).Location, LocationCode::None);
}

// The IDE table as the product description gives it, typed here rather than
// derived from the product's own table: discovery, the stand-in machines and
// the package registration all read it, so a wrong value would pass them all.
TEST(Manifest, IdeTableHoldsTheDescribedVersions) {
    const struct {
        const wchar_t* Name;
        uint32_t InternalId;
        const wchar_t* RegKey;
        const wchar_t* HelpStr[3];
        bool IsDelphi, Is32and64;
        bool Can64BitIde = false;
    } expected[IdeCount] = {
        {L"Delphi3", 0x00000001, L"Software\\Borland\\Delphi\\3.0", {L"delphi3.cfg", nullptr, nullptr}, true, false},
        {L"Delphi4",
         0x00000002,
         L"Software\\Borland\\Delphi\\4.0",
         {L"delphi4.cfg", L"delphi4.ohi", L"delphi4.ohl"},
         true,
         false},
        {L"Delphi5",
         0x00000004,
         L"Software\\Borland\\Delphi\\5.0",
         {L"delphi5.ohi", L"delphi5.ohl", nullptr},
         true,
         false},
        {L"CBuilder3", 0x00000008, L"Software\\Borland\\C++Builder\\3.0", {nullptr, nullptr, nullptr}, false, false},
        {L"CBuilder4",
         0x00000010,
         L"Software\\Borland\\C++Builder\\4.0",
         {L"bcb4.cfg", L"bcb4.ohi", L"bcb4.ohl"},
         false,
         false},
        {L"CBuilder5",
         0x00000020,
         L"Software\\Borland\\C++Builder\\5.0",
         {L"bcb5.ohi", L"bcb5.ohl", nullptr},
         false,
         false},
        {L"Delphi6",
         0x00000040,
         L"Software\\Borland\\Delphi\\6.0",
         {L"delphi6.ohi", L"delphi6.ohl", L"delphi6.als"},
         true,
         false},
        {L"CBuilder6",
         0x00000080,
         L"Software\\Borland\\C++Builder\\6.0",
         {L"bcb6.ohi", L"bcb6.ohl", L"bcb6.als"},
         false,
         false},
        {L"Delphi7", 0x00000100, L"Software\\Borland\\Delphi\\7.0", {L"d7.ohi", L"d7.ohl", L"d7.als"}, true, false},
        {L"Delphi9", 0x00000200, L"Software\\Borland\\BDS\\3.0", {nullptr, nullptr, nullptr}, true, false},
        {L"BDS2006", 0x00000400, L"Software\\Borland\\BDS\\4.0", {nullptr, nullptr, nullptr}, true, false},
        {L"Delphi2007", 0x00000800, L"Software\\Borland\\BDS\\5.0", {nullptr, nullptr, nullptr}, true, false},
        {L"BDS2009", 0x00001000, L"Software\\CodeGear\\BDS\\6.0", {nullptr, nullptr, nullptr}, true, false},
        {L"BDS2010", 0x00002000, L"Software\\CodeGear\\BDS\\7.0", {nullptr, nullptr, nullptr}, true, false},
        {L"RADStudio8", 0x00004000, L"Software\\Embarcadero\\BDS\\8.0", {nullptr, nullptr, nullptr}, true, false},
        {L"RADStudio9", 0x00008000, L"Software\\Embarcadero\\BDS\\9.0", {nullptr, nullptr, nullptr}, true, true},
        {L"RADStudio10", 0x00010000, L"Software\\Embarcadero\\BDS\\10.0", {nullptr, nullptr, nullptr}, true, true},
        {L"RADStudio11", 0x00020000, L"Software\\Embarcadero\\BDS\\11.0", {nullptr, nullptr, nullptr}, true, true},
        {L"RADStudio12", 0x00040000, L"Software\\Embarcadero\\BDS\\12.0", {nullptr, nullptr, nullptr}, true, true},
        {L"RADStudio14", 0x00080000, L"Software\\Embarcadero\\BDS\\14.0", {nullptr, nullptr, nullptr}, true, true},
        {L"RADStudio15", 0x00100000, L"Software\\Embarcadero\\BDS\\15.0", {nullptr, nullptr, nullptr}, true, true},
        {L"RADStudio16", 0x00200000, L"Software\\Embarcadero\\BDS\\16.0", {nullptr, nullptr, nullptr}, true, true},
        {L"RADStudio17", 0x00400000, L"Software\\Embarcadero\\BDS\\17.0", {nullptr, nullptr, nullptr}, true, true},
        {L"RADStudio18", 0x00800000, L"Software\\Embarcadero\\BDS\\18.0", {nullptr, nullptr, nullptr}, true, true},
        {L"RADStudio19", 0x01000000, L"Software\\Embarcadero\\BDS\\19.0", {nullptr, nullptr, nullptr}, true, true},
        {L"RADStudio20", 0x02000000, L"Software\\Embarcadero\\BDS\\20.0", {nullptr, nullptr, nullptr}, true, true},
        {L"RADStudio21", 0x04000000, L"Software\\Embarcadero\\BDS\\21.0", {nullptr, nullptr, nullptr}, true, true},
        {L"RADStudio22", 0x08000000, L"Software\\Embarcadero\\BDS\\22.0", {nullptr, nullptr, nullptr}, true, true},
        {L"RADStudio23",
         0x10000000,
         L"Software\\Embarcadero\\BDS\\23.0",
         {nullptr, nullptr, nullptr},
         true,
         true,
         true},
        {L"RADStudio37",
         0x20000000,
         L"Software\\Embarcadero\\BDS\\37.0",
         {nullptr, nullptr, nullptr},
         true,
         true,
         true},
        // The newer IDE: its key holds the versions found at run time.
        {L"RADStudioNewer", 0x40000000, L"Software\\Embarcadero\\BDS", {nullptr, nullptr, nullptr}, true, true, true},
    };
    for (int i = 1; i <= IdeCount; ++i) {
        const auto& e = expected[i - 1];
        const IdeVersion& ide = IdeTable[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(Str(ide.Name), e.Name);
        EXPECT_EQ(ide.InternalId.Bits(), e.InternalId);
        EXPECT_EQ(Str(ide.RegKey), e.RegKey);
        for (int h = 0; h < 3; ++h) EXPECT_EQ(Str(ide.HelpStr[h]), Str(e.HelpStr[h])) << h;
        EXPECT_EQ(ide.IsDelphi, e.IsDelphi);
        EXPECT_EQ(ide.Is32and64, e.Is32and64);
        EXPECT_EQ(ide.Can64BitIde, e.Can64BitIde);
    }
}

TEST(Manifest, ItemsCopyTargetsAndIdeTableAgree) {
    std::set<uint64_t> bits, masks;
    for (const InstallItem& item : InstallItems) {
        EXPECT_TRUE(bits.insert(item.Bit.Bits()).second) << "duplicate bit";
        if (item.IdeMask.Empty()) continue;
        EXPECT_TRUE(masks.insert(item.IdeMask.Bits()).second);
        int ide = IdeIndexByMask(item.IdeMask).Value;
        ASSERT_NE(ide, 0) << "item without an IDE record";
        // The block guarded by the item's bit selects that IDE and compiles for it.
        int first = 0, last = 0;
        ASSERT_TRUE(FindBlock(item.Bit.Bits(), first, last)) << static_cast<const void*>(item.Caption);
        EXPECT_EQ(ScriptRowAt(first + 1).Param, uint32_t(ide));
        for (int i = first; i <= last; ++i)
            if (ScriptRowAt(i).Kind() == RowKind::CompilePackage) {
                EXPECT_EQ(ScriptRowAt(i).Param, item.IdeMask.Bits());
            }
    }
    EXPECT_EQ(bits.size(), 33u);
    EXPECT_EQ(masks.size(), 30u);
    EXPECT_EQ(masks.count(IdeTable[4].InternalId.Bits()), 0u);  // C++Builder 3 is never offered
    EXPECT_EQ(InstallItems[0].Bit.Bits(), 0x100000000u);  // the newer IDE, above all others
    EXPECT_EQ(std::wstring(InstallItems[1].Caption), L"RAD Studio 13");
    EXPECT_EQ(InstallItems[1].Bit.Bits(), 0x80000000u);
    EXPECT_EQ(std::wstring(InstallItems[2].Caption), L"RAD Studio 12");
    EXPECT_EQ(InstallItems[2].Bit.Bits(), 0x40000000u);
    EXPECT_EQ(std::wstring(InstallItems[22].Caption), L"Delphi 7");
    EXPECT_EQ(InstallItems[22].IdeMask.Bits(), 0x100u);
    EXPECT_EQ(std::wstring(InstallItems[30].Caption), L"Context help files");

    // Every copy row has a target of its own; a package is copied under its own name.
    std::set<const CopyTarget*> targets;
    for (int i : RowsOfKind(RowKind::CopyOneFile)) {
        const ScriptRow& row = ScriptRowAt(i);
        ASSERT_NE(row.Target, nullptr) << "row " << i;
        EXPECT_TRUE(targets.insert(row.Target).second) << "row " << i;
        const std::wstring text = Str(row.Text), name = Str(row.Target->FileName);
        if (text.compare(0, 7, L"Source\\") != 0) {
            EXPECT_EQ(text.substr(text.rfind(L'\\') + 1), name) << "row " << i;
        }
    }
    EXPECT_EQ(targets.size(), 35u);
    int inc = RowsOfKind(RowKind::CopyOneFile)[0];  // Delphi 3 comes first
    EXPECT_EQ(Str(ScriptRowAt(inc).Target->FileName), L"delphi3\\qvTessel.inc");
    EXPECT_EQ(Str(ScriptRowAt(inc).Text), L"Source\\qvTessel.inc");

    EXPECT_EQ(tessel::changes::InstallPlan{}.CustomizeMask, 5u);
    EXPECT_EQ(std::wstring(CustomizeOptions[0].Caption), L"");
    EXPECT_EQ(std::wstring(ProductDescription).substr(std::wstring(ProductDescription).size() - 4), L"\r\n\r\n");
    EXPECT_EQ(std::wstring(tessel::changes::uninstall_entry::UninstallRootKey), L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\");
}
