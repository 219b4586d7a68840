// Row constructors for the install script.
#include "script/table/ScriptBuilder.h"

#include "common/Locations.h"

namespace tessel::script {

using namespace tessel::common;

// A deque never moves its elements when it grows, so the pointers handed out
// stay valid for as long as the deque lives.
const wchar_t* ScriptBuilder::Keep(const std::wstring& text) {
    FTexts.push_back(text);
    return FTexts.back().c_str();
}

ScriptRow& ScriptBuilder::Add(RowKind kind, uint32_t flags) {
    ScriptRow row{};
    row.Word0 = kind | (flags & 0xFFFF0000u);
    FRows.push_back(row);
    return FRows.back();
}

ScriptRow& ScriptBuilder::AddAt(RowKind kind, uint32_t flags, const std::wstring& text, uint32_t location) {
    ScriptRow& r = Add(kind, flags);
    r.Text = Keep(text);
    r.Location = location;
    return r;
}

void ScriptBuilder::Info(uint32_t code) { Add(RowKind::Info, sfUndo).Param = code; }

void ScriptBuilder::SetIde(const std::wstring& folder, uint32_t ideIndex, uint32_t flags) {
    AddAt(RowKind::SetIde, flags, folder, 0).Param = ideIndex;
}

void ScriptBuilder::IfItem(uint32_t mask) { Add(RowKind::IfItem, 0).Param = mask; }
void ScriptBuilder::EndIfItem(uint32_t mask) { Add(RowKind::EndIfItem, 0).Param = mask; }

void ScriptBuilder::IfFileExists(const std::wstring& path, uint32_t location, uint32_t code) {
    AddAt(RowKind::IfFileExists, 0, path, location).Param = code;
}

void ScriptBuilder::EndIfFileExists(uint32_t code) { Add(RowKind::EndIfFileExists, 0).Param = code; }

void ScriptBuilder::CreateDir(const std::wstring& path, uint32_t location, uint32_t flags) {
    AddAt(RowKind::CreateDir, flags, path, location);
}

void ScriptBuilder::ClearDir(const std::wstring& path, uint32_t location) {
    AddAt(RowKind::ClearDir, 0, path, location);
}

void ScriptBuilder::ExtractFile(const std::wstring& path, uint32_t id, uint32_t location) {
    AddAt(RowKind::ExtractFile, 0, path, location).Param = id;
}

void ScriptBuilder::ExtractFileOnce(const std::wstring& path, uint32_t id, uint32_t location,
                                     uint32_t flags) {
    AddAt(RowKind::ExtractFileOnce, flags, path, location).Param = id;
}

void ScriptBuilder::ExtractFileIfNewer(const std::wstring& path, uint32_t id, uint32_t location) {
    AddAt(RowKind::ExtractFileIfNewer, 0, path, location).Param = id;
}

void ScriptBuilder::SetCurrentDir(const std::wstring& path, uint32_t location) {
    AddAt(RowKind::SetCurrentDir, 0, path, location);
}

void ScriptBuilder::CopyFileTo(const std::wstring& path, uint32_t location, const CopyTarget& target) {
    AddAt(RowKind::CopyOneFile, 0, path, location).Target = &target;
}

void ScriptBuilder::RegisterUninstall(const std::wstring& program, uint32_t location, uint32_t flags) {
    AddAt(RowKind::RegisterUninstall, flags, program, location);
}

void ScriptBuilder::CompilePackage(const std::wstring& project, uint32_t ideBit, uint32_t options) {
    ScriptRow& r = AddAt(RowKind::CompilePackage, 0, project, 0);
    r.Param = ideBit;
    r.Options = options;
}

void ScriptBuilder::CheckFile(const std::wstring& path, uint32_t location) {
    AddAt(RowKind::CheckFile, 0, path, location);
}

void ScriptBuilder::RegisterPackage(const std::wstring& path, uint32_t location, uint32_t flags) {
    AddAt(RowKind::RegisterPackage, flags, path, location);
}

// The undo record of a path row names the install folder; the uninstaller
// rebuilds the folder from the base code.
void ScriptBuilder::AddIdePath(const std::wstring& keyAndValue, uint32_t baseCode, uint32_t flags) {
    AddAt(RowKind::AddIdePath, flags, keyAndValue, locInstall).Param = baseCode;
}

void ScriptBuilder::AddSearchPath(const std::wstring& path, uint32_t location, uint32_t flags) {
    AddAt(RowKind::AddSearchPath, flags, path, location);
}

void ScriptBuilder::CopyFiles(const std::wstring& mask, uint32_t location, const std::wstring& destMask,
                               uint32_t destLocation) {
    ScriptRow& r = AddAt(RowKind::CopyFiles, 0, mask, location);
    r.Text3 = Keep(destMask);
    r.Location2 = destLocation;
}

void ScriptBuilder::DeleteFiles(const std::wstring& mask, uint32_t location) {
    AddAt(RowKind::DeleteFiles, 0, mask, location);
}

void ScriptBuilder::DeleteFileAt(const std::wstring& path, uint32_t location, uint32_t flags) {
    AddAt(RowKind::DeleteOneFile, flags, path, location);
}

void ScriptBuilder::AppendText(const std::wstring& line, uint32_t helpFile, uint32_t location,
                                uint32_t flags) {
    AddAt(RowKind::AppendText, flags, line, location).Param = helpFile;
}

void ScriptBuilder::MergeFiles(const std::wstring& source, uint32_t location, const std::wstring& dest,
                                uint32_t destLocation) {
    ScriptRow& r = AddAt(RowKind::MergeFiles, 0, source, location);
    r.Text3 = Keep(dest);
    r.Location2 = destLocation;
}

void ScriptBuilder::SetHelpDir(const std::wstring& path, uint32_t location) {
    AddAt(RowKind::SetHelpDir, 0, path, location);
}

void ScriptBuilder::RegisterWinHelp(const std::wstring& helpFile, uint32_t flags) {
    AddAt(RowKind::RegisterWinHelp, flags, helpFile, 0);
}

void ScriptBuilder::RunInstallFile(const std::wstring& path, uint32_t flags) {
    AddAt(RowKind::RunInstallFile, flags, path, 0);
}

void ScriptBuilder::CreateRegKey(const std::wstring& key, uint32_t rootKey, uint32_t flags) {
    AddAt(RowKind::CreateRegKey, flags, key, 0).Param = rootKey;
}

}  // namespace tessel::script
