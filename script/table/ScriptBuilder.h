// Row constructors for the install script. Each call appends one row, so the
// code that builds the script reads like the script itself. The builder keeps
// every text it is given; the texts live as long as the storage it writes to.
#pragma once
#include <cstdint>
#include <deque>
#include <string>
#include <vector>
#include "script/rows/ScriptRow.h"

namespace tessel::script {

using namespace tessel::common;

// Method names keep clear of the Win32 A/W macros (CopyFile, DeleteFile).
class ScriptBuilder {
public:
    ScriptBuilder(std::deque<std::wstring>& texts, std::vector<ScriptRow>& rows)
        : FTexts(texts), FRows(rows) {}
    virtual ~ScriptBuilder() = default;

    // Control rows.
    void Info(uint32_t code);                                    // always recorded
    void SetIde(const std::wstring& folder, uint32_t ideIndex, uint32_t flags);
    void IfItem(uint32_t mask);
    void EndIfItem(uint32_t mask);
    void IfFileExists(const std::wstring& path, uint32_t location, uint32_t code);
    void EndIfFileExists(uint32_t code);

    // File rows.
    void CreateDir(const std::wstring& path, uint32_t location, uint32_t flags);
    void ClearDir(const std::wstring& path, uint32_t location);
    void ExtractFile(const std::wstring& path, uint32_t id, uint32_t location);
    void ExtractFileOnce(const std::wstring& path, uint32_t id, uint32_t location, uint32_t flags);
    void ExtractFileIfNewer(const std::wstring& path, uint32_t id, uint32_t location);
    void SetCurrentDir(const std::wstring& path, uint32_t location);
    void CopyFileTo(const std::wstring& path, uint32_t location, const CopyTarget& target);
    void RegisterUninstall(const std::wstring& program, uint32_t location, uint32_t flags);

    // IDE rows.
    void CompilePackage(const std::wstring& project, uint32_t ideBit, uint32_t options);
    void CheckFile(const std::wstring& path, uint32_t location);
    void RegisterPackage(const std::wstring& path, uint32_t location, uint32_t flags);
    void AddIdePath(const std::wstring& keyAndValue, uint32_t baseCode, uint32_t flags);
    void AddSearchPath(const std::wstring& path, uint32_t location, uint32_t flags);
    void CopyFiles(const std::wstring& mask, uint32_t location, const std::wstring& destMask,
                   uint32_t destLocation);
    void DeleteFiles(const std::wstring& mask, uint32_t location);
    void DeleteFileAt(const std::wstring& path, uint32_t location, uint32_t flags);
    void AppendText(const std::wstring& line, uint32_t helpFile, uint32_t location, uint32_t flags);
    void MergeFiles(const std::wstring& source, uint32_t location, const std::wstring& dest,
                    uint32_t destLocation);
    void SetHelpDir(const std::wstring& path, uint32_t location);
    void RegisterWinHelp(const std::wstring& helpFile, uint32_t flags);
    void RunInstallFile(const std::wstring& path, uint32_t flags);
    void CreateRegKey(const std::wstring& key, uint32_t rootKey, uint32_t flags);

private:
    const wchar_t* Keep(const std::wstring& text);
    ScriptRow& Add(RowKind kind, uint32_t flags);
    // A row whose Text is relative to Location.
    ScriptRow& AddAt(RowKind kind, uint32_t flags, const std::wstring& text, uint32_t location);

    std::deque<std::wstring>& FTexts;
    std::vector<ScriptRow>& FRows;
};

}  // namespace tessel::script
