// Row constructors for the install script. Each call appends one row, so the
// code that builds the script reads like the script itself. The builder keeps
// every text and copy target it is given; they live as long as the storage it
// writes to.
#pragma once
#include <cstdint>
#include <deque>
#include <string>
#include <vector>
#include "script/rows/ScriptRow.h"

namespace tessel::script {

// Method names keep clear of the Win32 A/W macros (CopyFile, DeleteFile).
class ScriptBuilder {
public:
    ScriptBuilder(std::deque<std::wstring>& texts, std::deque<CopyTarget>& targets, std::vector<ScriptRow>& rows)
        : texts_(texts), targets_(targets), rows_(rows) {}
    virtual ~ScriptBuilder() = default;

    // Control rows.
    void Info(InfoCode code);  // always recorded
    void SetIde(const std::wstring& folder, uint32_t ideIndex, RowFlag flags);
    // Item bits: the low 32 in Param, the ones above in Options.
    void IfItem(uint64_t mask);
    void EndIfItem(uint64_t mask);
    void IfFileExists(const std::wstring& path, LocationCode location, uint32_t code);
    void EndIfFileExists(uint32_t code);
    void If64BitIde(uint32_t code);
    void EndIf64BitIde(uint32_t code);
    void IfModernCpp(uint32_t code);
    void EndIfModernCpp(uint32_t code);

    // File rows.
    void CreateDir(const std::wstring& path, LocationCode location, RowFlag flags);
    void ClearDir(const std::wstring& path, LocationCode location);
    void ExtractFile(const std::wstring& path, uint32_t id, LocationCode location);
    void ExtractFileOnce(const std::wstring& path, uint32_t id, LocationCode location, RowFlag flags);
    void ExtractFileIfNewer(const std::wstring& path, uint32_t id, LocationCode location);
    void SetCurrentDir(const std::wstring& path, LocationCode location);
    // The copy's destination: targetName relative to targetLocation.
    void CopyFileTo(const std::wstring& path, LocationCode location, const std::wstring& targetName,
                    LocationCode targetLocation);
    void RegisterUninstall(const std::wstring& program, LocationCode location, RowFlag flags);

    // IDE rows.
    void CompilePackage(const std::wstring& project, uint32_t ideBit, uint32_t options);
    void CheckFile(const std::wstring& path, LocationCode location);
    void RegisterPackage(const std::wstring& path, LocationCode location, RowFlag flags);
    // A Win64 design-time package for the 64-bit IDE; its folder goes into the Win64 library path.
    void RegisterPackageFor64BitIde(const std::wstring& path, LocationCode location, RowFlag flags);
    void AddIdePath(const std::wstring& keyAndValue, InstallSubPath base, RowFlag flags);
    void AddSearchPath(const std::wstring& path, LocationCode location, RowFlag flags);
    void CopyFiles(const std::wstring& mask, LocationCode location, const std::wstring& destMask,
                   LocationCode destLocation);
    void DeleteFiles(const std::wstring& mask, LocationCode location);
    void DeleteFileAt(const std::wstring& path, LocationCode location, RowFlag flags);
    void AppendText(const std::wstring& line, uint32_t helpFile, LocationCode location, RowFlag flags);
    void MergeFiles(const std::wstring& source, LocationCode location, const std::wstring& dest,
                    LocationCode destLocation);
    void SetHelpDir(const std::wstring& path, LocationCode location);
    void RegisterWinHelp(const std::wstring& helpFile, RowFlag flags);
    void RunInstallFile(const std::wstring& path, RowFlag flags);
    void CreateRegKey(const std::wstring& key, uint32_t rootKey, RowFlag flags);

private:
    const wchar_t* Keep(const std::wstring& text);
    ScriptRow& Add(RowKind kind, RowFlag flags);
    // A row whose Text is relative to Location.
    ScriptRow& AddAt(RowKind kind, RowFlag flags, const std::wstring& text, LocationCode location);
    // A row from a source (Text, Location) to a destination (Text3, Location2).
    void AddFromTo(RowKind kind, const std::wstring& source, LocationCode location, const std::wstring& dest,
                   LocationCode destLocation);

    std::deque<std::wstring>& texts_;
    std::deque<CopyTarget>& targets_;
    std::vector<ScriptRow>& rows_;
};

}  // namespace tessel::script
