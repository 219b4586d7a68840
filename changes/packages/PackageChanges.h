// Packages: compiling them with the IDE's command-line tools, checking that
// the compiler built them, and registering the design-time packages with the
// IDE (per user, below the IDE's key).
//
// Rows and records:
// CompilePackage   0006  Text: project file, relative to the current folder;
//                        Param: IDE bits, the lowest set one selects the IDE;
//                        Options: 1 = the 64-bit compiler, 2 = the 64-bit
//                        compiler writing COFF C++ files for the Modern
//                        toolchain into "Win64x" (ModernCompileOptions).
//                        Not recorded.
// CheckFile        0013  T+L: file or mask that must exist; "$(Auto)" in it
//                        stands for the automatic suffix, which the first such
//                        check of an IDE learns from the files the compiler
//                        wrote. Not recorded.
// RegisterPackage  0008  T+L: design-time package file; Param: the IDE that
//                        loads it (PackageIde: 0 "Known Packages", 1 the
//                        64-bit IDE's "Known Packages x64"); Options bit 1:
//                        the Win64 library key (IDEs with both). Its record
//                        holds Param, Location and Text; the undo deletes the
//                        Known Packages value and takes the package's folder
//                        off the IDE's library search paths.
// (T+L: the row's Text relative to its Location.)
#pragma once
#include <vector>
#include "changes/Change.h"
#include "changes/packages/CompilerOutput.h"

namespace tessel::changes::packages {

// Package file names: "qvl" + suffix + ".bpl" (".dpl" for the oldest IDE) for
// the run-time package, "dcl" before that for the design-time one.
inline constexpr const wchar_t* RuntimePrefix = L"qvl";
inline constexpr const wchar_t* DesignPrefix = L"dclqvl";
// Where a package name takes the suffix that the compiler chose for projects
// with "{$LIBSUFFIX AUTO}" (the number of its release, "380" for BDS 38.0).
inline constexpr const wchar_t* AutoSuffix = L"$(Auto)";
// What the Modern-toolchain build adds to the 64-bit compiler's command line:
// C++ files for packages (-JL) in COFF (-jf:coffi), and every output in "Win64x".
inline constexpr const wchar_t* ModernCompileOptions =
    L"-JL -jf:coffi -LE.\\Win64x -LN.\\Win64x -N0.\\Win64x -NB.\\Win64x -NO.\\Win64x -NH.\\Win64x";

// The automatic suffix of the one name among names that is before + digits +
// after (ASCII case aside): false when none or several are. Pure.
bool FindAutoSuffix(const std::vector<std::wstring>& names, const std::wstring& before, const std::wstring& after,
                    std::wstring& suffix);
// text with every "$(Auto)" replaced by suffix.
std::wstring WithAutoSuffix(const std::wstring& text, const std::wstring& suffix);

// A row whose texts (and copy target) name "$(Auto)", with the suffix put in:
// it owns the texts its Row points to. Not copyable, since Row points into it.
class RowWithSuffix {
public:
    RowWithSuffix(const ScriptRow& row, const std::wstring& suffix);
    RowWithSuffix(const RowWithSuffix&) = delete;
    RowWithSuffix& operator=(const RowWithSuffix&) = delete;
    const ScriptRow& Row() const { return row_; }

private:
    std::wstring text_, text2_, text3_, targetName_;
    script::CopyTarget target_{};
    ScriptRow row_;
};
// Whether any of the row's texts names "$(Auto)".
bool NamesAutoSuffix(const ScriptRow& row);

// A run-time package of the library: what the copy rows put into the shared
// package folders (the system folder, Bpl and Bpl\Win64).
inline bool IsRuntimePackageName(const std::wstring& nameLower) {
    const std::wstring prefix = AsciiLower(RuntimePrefix);
    if (nameLower.size() < prefix.size() + 5 || nameLower.compare(0, prefix.size(), prefix) != 0) return false;
    const std::wstring ext = nameLower.substr(nameLower.size() - 4);
    if (ext != L".bpl" && ext != L".dpl") return false;
    const std::wstring digits = nameLower.substr(prefix.size(), nameLower.size() - prefix.size() - 4);
    for (wchar_t c : digits)
        if (c < L'0' || c > L'9') return false;
    return true;
}
inline bool IsDesignPackageName(const std::wstring& nameLower) {
    const std::wstring dcl = AsciiLower(DesignPrefix).substr(0, 3);
    return nameLower.compare(0, dcl.size(), dcl) == 0 && IsRuntimePackageName(nameLower.substr(dcl.size()));
}

inline bool Accepts(const UndoRecord& rec, const std::wstring& text, const UndoScope& scope) {
    if (rec.Kind() != RowKind::RegisterPackage) return true;  // compile and check rows leave no record
    // The Known Packages value (the 32-bit or the 64-bit IDE's list) is the
    // design-time package's path in the install folder.
    return rec.Param <= common::PackageIdeParam(common::PackageIde::Ide64) &&
           common::LocationCodeFrom(rec.Location) == LocationCode::Install && scope.InstallDirHoldsLog &&
           IsPlainRelativePath(text) && IsDesignPackageName(AsciiLower(LastName(text)));
}

ActionResult Apply(const ScriptRow& row, ChangeContext& ctx);
// A compile row in two steps, so that other rows can run while its compiler
// works: StartCompile starts the compiler (running holds it) or ends the row
// at once (running holds nothing; the result and ctx.LogText are the row's);
// FinishCompile, once the compiler ended or its wait ran out, gives the row's
// result and line and keeps the compiler's report for the check row after it.
ActionResult StartCompile(const ScriptRow& row, ChangeContext& ctx, RunningCompiler& running);
ActionResult FinishCompile(const ScriptRow& row, ChangeContext& ctx, RunningCompiler& running);
// Whether the file or mask of a check row (or of a block that runs only when
// it exists) is there; its install-log line says so.
ActionResult Check(const ScriptRow& row, ChangeContext& ctx);
DWORD Undo(const LocationContext& at, const UndoRecord& rec, const std::wstring& text);

}  // namespace tessel::changes::packages
