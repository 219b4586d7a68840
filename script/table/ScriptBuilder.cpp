// Row constructors for the install script.
#include "script/table/ScriptBuilder.h"

#include "common/Locations.h"

namespace tessel::script {

using namespace tessel::common;

// A deque never moves its elements when it grows, so the pointers handed out
// (texts and copy targets) stay valid for as long as the deque lives.
const wchar_t* ScriptBuilder::Keep(const std::wstring& text) {
    texts_.push_back(text);
    return texts_.back().c_str();
}

ScriptRow& ScriptBuilder::Add(RowKind kind, RowFlag flags) {
    ScriptRow row{};
    row.Word0 = kind | flags;
    rows_.push_back(row);
    return rows_.back();
}

ScriptRow& ScriptBuilder::AddAt(RowKind kind, RowFlag flags, const std::wstring& text, LocationCode location) {
    ScriptRow& r = Add(kind, flags);
    r.Text = Keep(text);
    r.Location = location;
    return r;
}

void ScriptBuilder::Info(InfoCode code) { Add(RowKind::Info, RowFlag::Undo).Param = InfoParam(code); }

void ScriptBuilder::SetIde(const std::wstring& folder, uint32_t ideIndex, RowFlag flags) {
    AddAt(RowKind::SetIde, flags, folder, LocationCode::None).Param = ideIndex;
}

void ScriptBuilder::IfItem(uint64_t mask) {
    ScriptRow& row = Add(RowKind::IfItem, RowFlag::None);
    row.Param = static_cast<uint32_t>(mask);
    row.Options = static_cast<uint32_t>(mask >> 32);
}
void ScriptBuilder::EndIfItem(uint64_t mask) {
    ScriptRow& row = Add(RowKind::EndIfItem, RowFlag::None);
    row.Param = static_cast<uint32_t>(mask);
    row.Options = static_cast<uint32_t>(mask >> 32);
}

void ScriptBuilder::IfFileExists(const std::wstring& path, LocationCode location, uint32_t code) {
    AddAt(RowKind::IfFileExists, RowFlag::None, path, location).Param = code;
}

void ScriptBuilder::EndIfFileExists(uint32_t code) { Add(RowKind::EndIfFileExists, RowFlag::None).Param = code; }

void ScriptBuilder::If64BitIde(uint32_t code) { Add(RowKind::If64BitIde, RowFlag::None).Param = code; }
void ScriptBuilder::EndIf64BitIde(uint32_t code) { Add(RowKind::EndIf64BitIde, RowFlag::None).Param = code; }
void ScriptBuilder::IfModernCpp(uint32_t code) { Add(RowKind::IfModernCpp, RowFlag::None).Param = code; }
void ScriptBuilder::EndIfModernCpp(uint32_t code) { Add(RowKind::EndIfModernCpp, RowFlag::None).Param = code; }

void ScriptBuilder::CreateDir(const std::wstring& path, LocationCode location, RowFlag flags) {
    AddAt(RowKind::CreateDir, flags, path, location);
}

void ScriptBuilder::ClearDir(const std::wstring& path, LocationCode location) {
    AddAt(RowKind::ClearDir, RowFlag::None, path, location);
}

void ScriptBuilder::ExtractFile(const std::wstring& path, uint32_t id, LocationCode location) {
    AddAt(RowKind::ExtractFile, RowFlag::None, path, location).Param = id;
}

void ScriptBuilder::ExtractFileOnce(const std::wstring& path, uint32_t id, LocationCode location, RowFlag flags) {
    AddAt(RowKind::ExtractFileOnce, flags, path, location).Param = id;
}

void ScriptBuilder::ExtractFileIfNewer(const std::wstring& path, uint32_t id, LocationCode location) {
    AddAt(RowKind::ExtractFileIfNewer, RowFlag::None, path, location).Param = id;
}

void ScriptBuilder::SetCurrentDir(const std::wstring& path, LocationCode location) {
    AddAt(RowKind::SetCurrentDir, RowFlag::None, path, location);
}

void ScriptBuilder::CopyFileTo(const std::wstring& path, LocationCode location, const std::wstring& targetName,
                               LocationCode targetLocation) {
    targets_.push_back(CopyTarget{Keep(targetName), targetLocation});
    AddAt(RowKind::CopyOneFile, RowFlag::None, path, location).Target = &targets_.back();
}

void ScriptBuilder::RegisterUninstall(const std::wstring& program, LocationCode location, RowFlag flags) {
    AddAt(RowKind::RegisterUninstall, flags, program, location);
}

void ScriptBuilder::CompilePackage(const std::wstring& project, uint32_t ideBit, uint32_t options) {
    ScriptRow& r = AddAt(RowKind::CompilePackage, RowFlag::None, project, LocationCode::None);
    r.Param = ideBit;
    r.Options = options;
}

void ScriptBuilder::CheckFile(const std::wstring& path, LocationCode location) {
    AddAt(RowKind::CheckFile, RowFlag::None, path, location);
}

void ScriptBuilder::RegisterPackage(const std::wstring& path, LocationCode location, RowFlag flags) {
    AddAt(RowKind::RegisterPackage, flags, path, location);
}

void ScriptBuilder::RegisterPackageFor64BitIde(const std::wstring& path, LocationCode location, RowFlag flags) {
    ScriptRow& r = AddAt(RowKind::RegisterPackage, flags, path, location);
    r.Param = PackageIdeParam(PackageIde::Ide64);
    r.Options = 2;
}

// The undo record of a path row names the install folder; the uninstaller
// rebuilds the folder from the base code.
void ScriptBuilder::AddIdePath(const std::wstring& keyAndValue, InstallSubPath base, RowFlag flags) {
    AddAt(RowKind::AddIdePath, flags, keyAndValue, LocationCode::Install).Param = StoredSubPath(base);
}

void ScriptBuilder::AddSearchPath(const std::wstring& path, LocationCode location, RowFlag flags) {
    AddAt(RowKind::AddSearchPath, flags, path, location);
}

void ScriptBuilder::AddFromTo(RowKind kind, const std::wstring& source, LocationCode location, const std::wstring& dest,
                              LocationCode destLocation) {
    ScriptRow& r = AddAt(kind, RowFlag::None, source, location);
    r.Text3 = Keep(dest);
    r.Location2 = destLocation;
}

void ScriptBuilder::CopyFiles(const std::wstring& mask, LocationCode location, const std::wstring& destMask,
                              LocationCode destLocation) {
    AddFromTo(RowKind::CopyFiles, mask, location, destMask, destLocation);
}

void ScriptBuilder::DeleteFiles(const std::wstring& mask, LocationCode location) {
    AddAt(RowKind::DeleteFiles, RowFlag::None, mask, location);
}

void ScriptBuilder::DeleteFileAt(const std::wstring& path, LocationCode location, RowFlag flags) {
    AddAt(RowKind::DeleteOneFile, flags, path, location);
}

void ScriptBuilder::AppendText(const std::wstring& line, uint32_t helpFile, LocationCode location, RowFlag flags) {
    AddAt(RowKind::AppendText, flags, line, location).Param = helpFile;
}

void ScriptBuilder::MergeFiles(const std::wstring& source, LocationCode location, const std::wstring& dest,
                               LocationCode destLocation) {
    AddFromTo(RowKind::MergeFiles, source, location, dest, destLocation);
}

void ScriptBuilder::SetHelpDir(const std::wstring& path, LocationCode location) {
    AddAt(RowKind::SetHelpDir, RowFlag::None, path, location);
}

void ScriptBuilder::RegisterWinHelp(const std::wstring& helpFile, RowFlag flags) {
    AddAt(RowKind::RegisterWinHelp, flags, helpFile, LocationCode::None);
}

void ScriptBuilder::RunInstallFile(const std::wstring& path, RowFlag flags) {
    AddAt(RowKind::RunInstallFile, flags, path, LocationCode::None);
}

void ScriptBuilder::CreateRegKey(const std::wstring& key, uint32_t rootKey, RowFlag flags) {
    AddAt(RowKind::CreateRegKey, flags, key, LocationCode::None).Param = rootKey;
}

}  // namespace tessel::script
