#include "TestFiles.h"

#include <gtest/gtest.h>

#include <cstring>

#include "common/Handles.h"
#include "common/PathText.h"
#include "common/Files.h"
#include "common/Processes.h"
#include "common/Registry.h"
#include "common/TextConversion.h"
#include "common/WholeFile.h"

using namespace tessel::common;

void MakeFile(const std::wstring& path, const std::string& content) {
    const size_t slash = path.rfind(L'\\');
    if (slash != std::wstring::npos && slash > 0) (void)CreateDirectoryPath(path.substr(0, slash));
    EXPECT_EQ(0u, WriteFileBytes(path, content)) << "cannot write " << ToUtf8(path);
}

bool WriteBytes(const std::wstring& path, const std::string& bytes) { return WriteFileBytes(path, bytes) == 0; }

std::wstring InstallLogText(const std::wstring& dir) {
    std::string bytes;
    // Shared: the setup under test may still hold the log open.
    if (ReadFileBytes(JoinPath(dir, L"install.log"), bytes, FILE_SHARE_READ | FILE_SHARE_WRITE) != 0)
        return std::wstring();
    std::wstring text(bytes.size() / sizeof(wchar_t), L'\0');
    if (!text.empty()) memcpy(&text[0], bytes.data(), text.size() * sizeof(wchar_t));
    return text;
}

std::string FileBytes(const std::wstring& path) {
    std::string bytes;
    (void)ReadFileBytes(path, bytes);
    return bytes;
}

std::wstring RegText(HKEY root, const std::wstring& key, const std::wstring& name) {
    std::wstring value;
    return ReadRegString(root, key, name, value) == 0 ? value : L"<missing>";
}

bool KeyExists(HKEY root, const std::wstring& key) {
    UniqueHKey opened;
    return RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, opened.put()) == ERROR_SUCCESS;
}

bool MakeHostFolderLink(const std::wstring& link, const std::wstring& target) {
    using UnixName = char*(CDECL*)(LPCWSTR);
    const auto unixName = reinterpret_cast<UnixName>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!unixName) return false;
    std::wstring args = L"/c start /wait /unix /bin/ln -s";
    for (const std::wstring& path : {target, link}) {
        char* name = unixName(path.c_str());
        if (!name) return false;
        args += L" \"" + FromUtf8(name) + L"\"";
        HeapFree(GetProcessHeap(), 0, name);
    }
    wchar_t system[MAX_PATH];
    GetSystemDirectoryW(system, MAX_PATH);
    if (RunAndWait(std::wstring(system) + L"\\cmd.exe", args, L"") != 0) return false;
    // "start /wait" has no process handle of a Unix program to wait on, so
    // the link may appear a little later on a busy machine.
    for (int tries = 0; tries < 200; ++tries) {
        const DWORD attrs = GetFileAttributesW(link.c_str());
        if (attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_REPARSE_POINT)) return true;
        Sleep(50);
    }
    return false;
}
