// IDEs whose packages the user builds in the IDE: texts and the rows passed over.
#include "changes/packages/ManualBuild.h"

#include "changes/ChangeContext.h"
#include "common/IdeTable.h"
#include "common/PathText.h"
#include "common/Product.h"

namespace tessel::changes::packages {

using namespace tessel::common;
using script::ScriptRow;
using script::Str;
namespace LogEnding = script::LogEnding;

namespace {

// The IDE a package row works for: a compile row names it, the others run for the current IDE.
IdeIndex PackageRowIde(const RunState& run, const ScriptRow& row) {
    const RowKind kind = row.Kind();
    if (kind == RowKind::CompilePackage) return LowestIdeOf(IdeMask(row.Param));
    if (kind == RowKind::CheckFile || kind == RowKind::CopyOneFile || kind == RowKind::RegisterPackage)
        return run.Location.CurrentIde;
    return IdeIndex();
}

}  // namespace

std::wstring ManualBuildReason(IdeIndex ideIndex) {
    return std::wstring(L"This edition of ") + IdeCaption(ideIndex) + L" does not support command line compiling";
}

std::wstring ManualBuildText(IdeIndex ideIndex, const std::wstring& packageFolder) {
    return std::wstring(L"This edition of ") + IdeCaption(ideIndex) +
           L" does not support command line compiling, so Setup cannot build the " + ProductName +
           L" packages for it.\r\n\r\nThe library's sources and search paths are installed. Please build and "
           L"install the packages from the IDE: open the .dpk files in\r\n" +
           packageFolder;
}

std::wstring ManualBuildFinishText(IdeMask ideMask) {
    std::wstring names;
    for (IdeIndex index(1); index.IsValid(); ++index.Value)
        if (ideMask.Has(MaskOf(index))) names += (names.empty() ? L"" : L", ") + std::wstring(IdeCaption(index));
    if (names.empty()) return names;
    return L"The packages for " + names + L" were not built: please build and install them from the IDE.";
}

bool PassedOverForManualBuild(const RunState& run, const ScriptRow& row) {
    if (run.ManualBuildIdeMask.Empty()) return false;
    return run.ManualBuildIdeMask.Has(MaskOf(PackageRowIde(run, row)));
}

std::wstring SkippedRowText(const RunState& run, const ScriptRow& row) {
    const LocationContext& at = run.Location;
    const std::wstring path = ResolvePath(at, row.Location, Str(row.Text));
    std::wstring line;
    const RowKind kind = row.Kind();
    if (kind == RowKind::CompilePackage) {
        line = L"Compiling package: " + Str(row.Text);
    } else if (kind == RowKind::CheckFile) {
        line = L"Check file: " + path;
    } else if (kind == RowKind::RegisterPackage) {
        line = L"Registering package: " + path;
    } else {
        line = L"Copying file: from " + path + L" to " +
               (row.Target ? ResolvePath(at, row.Target->Location, Str(row.Target->FileName)) : std::wstring()) + L" ";
    }
    return line + LogEnding::Skipped + L". " + ManualBuildReason(PackageRowIde(run, row));
}

}  // namespace tessel::changes::packages
