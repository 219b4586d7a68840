// Process, version, shell-folder, message-text and text-conversion helpers.
#include "common/SystemUtils.h"

#include <shlobj.h>

#include <vector>

#include "common/Handles.h"

namespace tessel::common {

namespace {

// The command line for CreateProcess. A program path with a blank is quoted,
// otherwise the system would take the text up to the first blank as the program.
std::wstring CommandLineFor(const std::wstring& program, const std::wstring& params) {
    std::wstring line;
    if (program.find(L' ') != std::wstring::npos && program.front() != L'"')
        line = L"\"" + program + L"\"";
    else
        line = program;
    if (!params.empty()) line += L" " + params;
    return line;
}

}  // namespace

DWORD RunAndWait(const std::wstring& program, const std::wstring& params) {
    std::wstring line = CommandLineFor(program, params);
    std::vector<wchar_t> buffer(line.begin(), line.end());
    buffer.push_back(L'\0');  // CreateProcessW may write into the command line
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                        nullptr, &si, &pi))
        return GetLastError();
    ProcessHandles handles;
    handles.Process.reset(pi.hProcess);
    handles.Thread.reset(pi.hThread);
    WaitForSingleObject(handles.Process.get(), INFINITE);
    return 0;
}

bool GetFileProductVersion(const std::wstring& fileName, DWORD& ms, DWORD& ls) {
    ms = 0;
    ls = 0;
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(fileName.c_str(), &ignored);
    if (size == 0) return false;
    std::vector<BYTE> info(size);
    if (!GetFileVersionInfoW(fileName.c_str(), 0, size, info.data())) return false;
    void* block = nullptr;
    UINT len = 0;
    if (!VerQueryValueW(info.data(), L"\\", &block, &len) || !block ||
        len < sizeof(VS_FIXEDFILEINFO))
        return false;
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(block);
    ms = fixed->dwProductVersionMS;
    ls = fixed->dwProductVersionLS;
    return true;
}

std::wstring GetSpecialFolder(int csidl) {
    PIDLIST_ABSOLUTE pidl = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, &pidl)) || !pidl) return std::wstring();
    wchar_t path[MAX_PATH] = {};
    const bool ok = SHGetPathFromIDListW(pidl, path) != FALSE;
    CoTaskMemFree(pidl);  // the shell's allocator
    if (!ok) return std::wstring();
    return std::wstring(path);  // cut at the first zero
}

std::wstring SystemErrorText(DWORD code) {
    wchar_t* text = nullptr;
    const DWORD len = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    UniqueLocal owner(text);
    if (len == 0 || !text) return std::wstring();
    std::wstring result(text, len);
    while (!result.empty() && (result.back() == L'\n' || result.back() == L'\r')) result.pop_back();
    return result;
}

namespace {

std::string WideToBytes(UINT codePage, const std::wstring& text) {
    if (text.empty()) return std::string();
    const int n = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()),
                                      nullptr, 0, nullptr, nullptr);
    if (n <= 0) return std::string();
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), &out[0], n,
                        nullptr, nullptr);
    return out;
}

std::wstring BytesToWide(UINT codePage, const std::string& bytes) {
    if (bytes.empty()) return std::wstring();
    const int n =
        MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    if (n <= 0) return std::wstring();
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), &out[0], n);
    return out;
}

}  // namespace

std::string ToAnsi(const std::wstring& text) { return WideToBytes(CP_ACP, text); }
std::wstring FromAnsi(const std::string& bytes) { return BytesToWide(CP_ACP, bytes); }
std::string ToUtf8(const std::wstring& text) { return WideToBytes(CP_UTF8, text); }
std::wstring FromUtf8(const std::string& bytes) { return BytesToWide(CP_UTF8, bytes); }

std::wstring LowerWide(std::wstring text) {
    if (!text.empty()) CharLowerBuffW(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

std::string LowerAnsi(std::string bytes) {
    if (!bytes.empty()) CharLowerBuffA(&bytes[0], static_cast<DWORD>(bytes.size()));
    return bytes;
}

}  // namespace tessel::common
