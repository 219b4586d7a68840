#include "script/UScriptBuilder.h"

// A deque never moves its elements when it grows, so the pointers handed out
// stay valid for as long as the deque lives.
const wchar_t* TScriptBuilder::Keep(const std::wstring& text) {
    FTexts.push_back(text);
    return FTexts.back().c_str();
}

TScriptItem& TScriptBuilder::Add(uint16_t kind, uint32_t flags) {
    TScriptItem row{};
    row.Word0 = kind | (flags & 0xFFFF0000u);
    FRows.push_back(row);
    return FRows.back();
}

void TScriptBuilder::Info(uint32_t code) {
    Add(skInfo, sfUndo).Param = code;
}

void TScriptBuilder::SetIde(const std::wstring& folder, uint32_t ideIndex, uint32_t flags) {
    TScriptItem& r = Add(skSetIde, flags);
    r.Text = Keep(folder);
    r.Param = ideIndex;
}

void TScriptBuilder::IfItem(uint32_t mask) { Add(skIfItem, 0).Param = mask; }
void TScriptBuilder::EndIfItem(uint32_t mask) { Add(skEndIfItem, 0).Param = mask; }

void TScriptBuilder::IfFileExists(const std::wstring& path, uint32_t location, uint32_t code) {
    TScriptItem& r = Add(skIfFileExists, 0);
    r.Text = Keep(path);
    r.Location = location;
    r.Param = code;
}

void TScriptBuilder::EndIfFileExists(uint32_t code) { Add(skEndIfFileExists, 0).Param = code; }

void TScriptBuilder::CreateDir(const std::wstring& path, uint32_t location, uint32_t flags) {
    TScriptItem& r = Add(skCreateDir, flags);
    r.Text = Keep(path);
    r.Location = location;
}

void TScriptBuilder::ClearDir(const std::wstring& path, uint32_t location) {
    TScriptItem& r = Add(skClearDir, 0);
    r.Text = Keep(path);
    r.Location = location;
}

void TScriptBuilder::ExtractFile(const std::wstring& path, uint32_t id, uint32_t location) {
    TScriptItem& r = Add(skExtractFile, 0);
    r.Text = Keep(path);
    r.Param = id;
    r.Location = location;
}

void TScriptBuilder::ExtractFileOnce(const std::wstring& path, uint32_t id, uint32_t location,
                                     uint32_t flags) {
    TScriptItem& r = Add(skExtractFileOnce, flags);
    r.Text = Keep(path);
    r.Param = id;
    r.Location = location;
}

void TScriptBuilder::ExtractFileIfNewer(const std::wstring& path, uint32_t id, uint32_t location) {
    TScriptItem& r = Add(skExtractFileIfNewer, 0);
    r.Text = Keep(path);
    r.Param = id;
    r.Location = location;
}

void TScriptBuilder::SetCurrentDir(const std::wstring& path, uint32_t location) {
    TScriptItem& r = Add(skSetCurrentDir, 0);
    r.Text = Keep(path);
    r.Location = location;
}

void TScriptBuilder::CopyFileTo(const std::wstring& path, uint32_t location, const TCopyTarget& target) {
    TScriptItem& r = Add(skCopyFile, 0);
    r.Text = Keep(path);
    r.Location = location;
    r.Target = &target;
}

void TScriptBuilder::RegisterUninstall(const std::wstring& program, uint32_t location, uint32_t flags) {
    TScriptItem& r = Add(skRegisterUninstall, flags);
    r.Text = Keep(program);
    r.Location = location;
}

void TScriptBuilder::CompilePackage(const std::wstring& project, uint32_t ideBit, uint32_t options) {
    TScriptItem& r = Add(skCompilePackage, 0);
    r.Text = Keep(project);
    r.Param = ideBit;
    r.Options = options;
}

void TScriptBuilder::CheckFile(const std::wstring& path, uint32_t location) {
    TScriptItem& r = Add(skCheckFile, 0);
    r.Text = Keep(path);
    r.Location = location;
}

void TScriptBuilder::RegisterPackage(const std::wstring& path, uint32_t location, uint32_t flags) {
    TScriptItem& r = Add(skRegisterPackage, flags);
    r.Text = Keep(path);
    r.Location = location;
}

// The undo record of a path row names the install folder; the uninstaller
// rebuilds the folder from the base code.
void TScriptBuilder::AddIdePath(const std::wstring& keyAndValue, uint32_t baseCode, uint32_t flags) {
    TScriptItem& r = Add(skAddIdePath, flags);
    r.Text = Keep(keyAndValue);
    r.Param = baseCode;
    r.Location = 3;
}

void TScriptBuilder::AddSearchPath(const std::wstring& path, uint32_t location, uint32_t flags) {
    TScriptItem& r = Add(skAddSearchPath, flags);
    r.Text = Keep(path);
    r.Location = location;
}

void TScriptBuilder::CopyFiles(const std::wstring& mask, uint32_t location, const std::wstring& destMask,
                               uint32_t destLocation) {
    TScriptItem& r = Add(skCopyFiles, 0);
    r.Text = Keep(mask);
    r.Location = location;
    r.Text3 = Keep(destMask);
    r.Location2 = destLocation;
}

void TScriptBuilder::DeleteFiles(const std::wstring& mask, uint32_t location) {
    TScriptItem& r = Add(skDeleteFiles, 0);
    r.Text = Keep(mask);
    r.Location = location;
}

void TScriptBuilder::DeleteFileAt(const std::wstring& path, uint32_t location, uint32_t flags) {
    TScriptItem& r = Add(skDeleteFile, flags);
    r.Text = Keep(path);
    r.Location = location;
}

void TScriptBuilder::AppendText(const std::wstring& line, uint32_t helpFile, uint32_t location,
                                uint32_t flags) {
    TScriptItem& r = Add(skAppendText, flags);
    r.Text = Keep(line);
    r.Param = helpFile;
    r.Location = location;
}

void TScriptBuilder::MergeFiles(const std::wstring& source, uint32_t location, const std::wstring& dest,
                                uint32_t destLocation) {
    TScriptItem& r = Add(skMergeFiles, 0);
    r.Text = Keep(source);
    r.Location = location;
    r.Text3 = Keep(dest);
    r.Location2 = destLocation;
}

void TScriptBuilder::SetHelpDir(const std::wstring& path, uint32_t location) {
    TScriptItem& r = Add(skSetHelpDir, 0);
    r.Text = Keep(path);
    r.Location = location;
}

void TScriptBuilder::RegisterWinHelp(const std::wstring& helpFile, uint32_t flags) {
    Add(skRegisterWinHelp, flags).Text = Keep(helpFile);
}

void TScriptBuilder::RunInstallFile(const std::wstring& path, uint32_t flags) {
    Add(skRunInstallFile, flags).Text = Keep(path);
}

void TScriptBuilder::CreateRegKey(const std::wstring& key, uint32_t rootKey, uint32_t flags) {
    TScriptItem& r = Add(skCreateRegKey, flags);
    r.Text = Keep(key);
    r.Param = rootKey;
}
