// Extracting payload resources to files.
#include "setup/PayloadExtract.h"

#include <windows.h>
#include <string>
#include "common/Locations.h"
#include "common/SystemUtils.h"
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

void ExtractPayload() {
    common::LocationContext at;
    at.InstallDir = CurrentDirectory();
    // No row is evaluated: guarded blocks are extracted as well. Folder rows
    // come before the file rows that need them, so failures are simply skipped.
    for (int i = 0; i < ScriptCount(); ++i) {
        const ScriptRow& row = ScriptRowAt(i);
        const std::wstring text = row.Text ? row.Text : L"";
        if (row.Kind() == RowKind::CreateDir)
            (void)CreateDirectoryPath(ResolvePath(at, row.Location, text));  // skipped, see above
        else if (row.Kind() == RowKind::ExtractFile)
            (void)SaveResourceToFile(row.Param, ResolvePath(at, row.Location, text));  // skipped, see above
    }
}

}  // namespace tessel::setup
