// Extracting payload resources to files.
#include "setup/PayloadExtract.h"

#include <windows.h>
#include <string>
#include "common/Locations.h"
#include "common/Files.h"
#include "common/Payload.h"
#include "script/manifest/Manifest.h"

namespace tessel::setup {

using namespace tessel::common;
using namespace tessel::script;

namespace {

// The whole current directory, however long (an empty text when it cannot be read).
std::wstring CurrentDirectory() {
    DWORD size = GetCurrentDirectoryW(0, nullptr);
    if (size == 0) return std::wstring();
    std::wstring dir(size, L'\0');
    DWORD length = GetCurrentDirectoryW(size, &dir[0]);
    if (length == 0 || length >= size) return std::wstring();
    dir.resize(length);
    return dir;
}

}  // namespace

DWORD ExtractPayload() {
    common::LocationContext at;
    at.InstallDir = CurrentDirectory();
    if (at.InstallDir.empty()) return LastErrorOr(ERROR_PATH_NOT_FOUND);
    // No row is evaluated: guarded blocks are extracted as well. Every folder
    // and file is tried, whatever failed before it; the first failure is the result.
    DWORD first = 0;
    for (int i = 0; i < ScriptCount(); ++i) {
        const ScriptRow& row = ScriptRowAt(i);
        const std::wstring text = row.Text ? row.Text : L"";
        DWORD error = 0;
        if (row.Kind() == RowKind::CreateDir)
            error = CreateDirectoryPath(ResolvePath(at, row.Location, text));
        else if (row.Kind() == RowKind::ExtractFile)
            error = SaveResourceToFile(row.Param, ResolvePath(at, row.Location, text));
        if (first == 0) first = error;
    }
    return first;
}

}  // namespace tessel::setup
