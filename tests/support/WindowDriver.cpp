#include "WindowDriver.h"
#include <vector>

#include "ProductKeys.h"
#include "common/WindowHandles.h"

namespace wd {

bool WaitFor(const std::function<bool()>& cond, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        if (cond()) return true;
        if (GetTickCount() - start > timeoutMs) return cond();
        Sleep(15);
    }
}

bool Program::Running() const {
    return handles.Process && WaitForSingleObject(handles.Process.get(), 0) == WAIT_TIMEOUT;
}

DWORD Program::WaitExit(DWORD timeoutMs) const {
    if (!handles.Process) return STILL_ACTIVE;
    if (WaitForSingleObject(handles.Process.get(), timeoutMs) != WAIT_OBJECT_0) return STILL_ACTIVE;
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(handles.Process.get(), &code);
    return code;
}

void Program::Kill() const {
    if (Running()) {
        TerminateProcess(handles.Process.get(), 1);
        WaitForSingleObject(handles.Process.get(), 5000);
    }
}

bool Start(Program& program, const std::wstring& exe, const std::wstring& args, const std::wstring& currentDir) {
    std::wstring cmd = L"\"" + exe + L"\"";
    if (!args.empty()) cmd += L" " + args;
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        currentDir.empty() ? nullptr : currentDir.c_str(), &si, &pi))
        return false;
    program.handles.Process.reset(pi.hProcess);
    program.handles.Thread.reset(pi.hThread);
    program.pid = pi.dwProcessId;
    WaitForInputIdle(pi.hProcess, 5000);
    return true;
}

namespace {
struct EnumData {
    DWORD pid;
    bool dialogsOnly;
    std::vector<HWND> found;
};
BOOL CALLBACK CollectTop(HWND wnd, LPARAM lp) {
    auto* d = reinterpret_cast<EnumData*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(wnd, &pid);
    if (pid != d->pid || !IsWindowVisible(wnd)) return TRUE;
    if (d->dialogsOnly) {
        wchar_t cls[64] = L"";
        GetClassNameW(wnd, cls, 64);
        if (lstrcmpW(cls, L"#32770") != 0) return TRUE;
    }
    d->found.push_back(wnd);
    return TRUE;
}
}  // namespace

std::vector<HWND> TopWindows(DWORD pid, bool dialogsOnly) {
    EnumData d{pid, dialogsOnly, {}};
    EnumWindows(CollectTop, reinterpret_cast<LPARAM>(&d));
    return d.found;
}

HWND FindDialog(DWORD pid, const std::wstring& titlePrefix, int childId, DWORD timeoutMs) {
    HWND result = nullptr;
    WaitFor(
        [&] {
            for (HWND w : TopWindows(pid)) {
                if (Text(w).compare(0, titlePrefix.size(), titlePrefix) != 0) continue;
                if (childId != 0 && !GetDlgItem(w, childId)) continue;
                result = w;
                return true;
            }
            return false;
        },
        timeoutMs);
    return result;
}

std::wstring Text(HWND wnd) {
    // The text can change between the two questions; a text that fills the
    // buffer may have been cut, so it is asked for again with more room.
    for (DWORD_PTR extra = 2;; extra *= 16) {
        DWORD_PTR len = 0;
        if (!SendMessageTimeoutW(wnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &len)) return std::wstring();
        std::vector<wchar_t> buf(len + extra, L'\0');
        DWORD_PTR got = 0;
        if (!SendMessageTimeoutW(wnd, WM_GETTEXT, buf.size(), reinterpret_cast<LPARAM>(buf.data()), SMTO_ABORTIFHUNG,
                                 5000, &got))
            return std::wstring();
        if (got + 1 < buf.size() || extra > 4096) return std::wstring(buf.data());
    }
}

std::wstring ItemText(HWND dlg, int id) { return Text(GetDlgItem(dlg, id)); }
bool ItemVisible(HWND dlg, int id) { return IsWindowVisible(GetDlgItem(dlg, id)) != FALSE; }
bool ItemEnabled(HWND dlg, int id) { return IsWindowEnabled(GetDlgItem(dlg, id)) != FALSE; }

bool WaitItemText(HWND dlg, int id, const std::wstring& text, DWORD timeoutMs) {
    return WaitFor([&] { return ItemText(dlg, id) == text; }, timeoutMs);
}

bool Press(HWND dlg, int id) {
    HWND button = GetDlgItem(dlg, id);
    if (!button || !IsWindowVisible(button) || !IsWindowEnabled(button)) return false;
    return PostMessageW(button, BM_CLICK, 0, 0) != FALSE;
}

bool Click(HWND control) {
    RECT r{};
    if (!control || !GetClientRect(control, &r)) return false;
    LPARAM at = MAKELPARAM((r.right - r.left) / 2, (r.bottom - r.top) / 2);
    return PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, at) && PostMessageW(control, WM_LBUTTONUP, 0, at);
}

bool SetEditText(HWND dlg, int id, const std::wstring& text) {
    HWND edit = GetDlgItem(dlg, id);
    if (!edit) return false;
    DWORD_PTR r = 0;
    return SendMessageTimeoutW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG, 5000,
                               &r) != 0;
}

int ListCount(HWND list) { return static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0)); }

std::wstring ListText(HWND list, int index) {
    LRESULT len = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (len == LB_ERR) return std::wstring();
    std::vector<wchar_t> buf(static_cast<size_t>(len) + 2, L'\0');
    SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buf.data()));
    return std::wstring(buf.data());
}

LPARAM ListData(HWND list, int index) {
    return static_cast<LPARAM>(SendMessageW(list, LB_GETITEMDATA, static_cast<WPARAM>(index), 0));
}

int ListSelection(HWND list) { return static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0)); }

bool ClickListLine(HWND list, int index) {
    if (index < 0 || index >= ListCount(list)) return false;
    int height = static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
    int top = static_cast<int>(SendMessageW(list, LB_GETTOPINDEX, 0, 0));
    RECT client{};
    GetClientRect(list, &client);
    int visible = height > 0 ? (client.bottom - client.top) / height : 1;
    if (index < top || index >= top + visible) {
        SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
        top = static_cast<int>(SendMessageW(list, LB_GETTOPINDEX, 0, 0));
    }
    LPARAM at = MAKELPARAM(8, (index - top) * height + height / 2);
    return PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at) && PostMessageW(list, WM_LBUTTONUP, 0, at);
}

namespace {
BOOL CALLBACK LongestStatic(HWND wnd, LPARAM lp) {
    wchar_t cls[32] = L"";
    GetClassNameW(wnd, cls, 32);
    if (lstrcmpiW(cls, L"Static") == 0) {
        auto* best = reinterpret_cast<std::wstring*>(lp);
        std::wstring t = Text(wnd);
        if (t.size() > best->size()) *best = t;
    }
    return TRUE;
}
}  // namespace

MessageBoxInfo WaitMessageBox(DWORD pid, const std::wstring& caption, DWORD timeoutMs) {
    MessageBoxInfo info;
    WaitFor(
        [&] {
            for (HWND w : TopWindows(pid)) {
                if (Text(w) != caption) continue;
                std::wstring text;
                EnumChildWindows(w, LongestStatic, reinterpret_cast<LPARAM>(&text));
                if (text.empty()) continue;  // still being laid out
                info.wnd = w;
                info.caption = caption;
                info.text = text;
                return true;
            }
            return false;
        },
        timeoutMs);
    return info;
}

bool Answer(const MessageBoxInfo& box, int buttonId) {
    if (!box.wnd) return false;
    HWND button = GetDlgItem(box.wnd, buttonId);
    if (!button) return false;
    HWND wnd = box.wnd;
    if (!PostMessageW(button, BM_CLICK, 0, 0)) return false;
    return WaitFor([&] { return !IsWindow(wnd) || !IsWindowVisible(wnd); }, DefaultTimeoutMs);
}

// "UninstallString" of the product's Windows uninstall entry.
std::wstring UninstallCommand() {
    UniqueHKey key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kUninstallEntryKey.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS)
        return std::wstring();
    wchar_t buf[2048] = L"";
    DWORD size = sizeof(buf) - sizeof(wchar_t), type = 0;
    if (RegQueryValueExW(key.get(), L"UninstallString", nullptr, &type, reinterpret_cast<BYTE*>(buf), &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ)
        return std::wstring();
    return buf;
}

// The program path (quoted or up to the first blank) and the rest.
void SplitCommand(const std::wstring& command, std::wstring& exe, std::wstring& args) {
    if (command.empty()) {
        exe.clear();
        args.clear();
        return;
    }
    size_t end = command[0] == L'"' ? command.find(L'"', 1) : command.find(L' ');
    if (command[0] == L'"') {
        exe = command.substr(1, end == std::wstring::npos ? std::wstring::npos : end - 1);
        args = end == std::wstring::npos || end + 2 > command.size() ? std::wstring() : command.substr(end + 2);
    } else {
        exe = command.substr(0, end);
        args = end == std::wstring::npos ? std::wstring() : command.substr(end + 1);
    }
}

bool Screenshot(HWND wnd, const std::wstring& bmpPath) {
    RECT r{};
    if (!GetWindowRect(wnd, &r)) return false;
    int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return false;
    HDC screen = GetDC(nullptr);
    if (!screen) return false;
    HDC mem = CreateCompatibleDC(screen);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueGdiObject dib(CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    bool ok = false;
    if (mem && dib && bits) {
        HGDIOBJ old = SelectObject(mem, dib.get());
        ok = BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY) != FALSE;
        GdiFlush();
        SelectObject(mem, old);
    }
    if (mem) DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    if (!ok) return false;

    DWORD stride = ((static_cast<DWORD>(w) * 3 + 3) & ~3u);
    DWORD imageSize = stride * static_cast<DWORD>(h);
    BITMAPFILEHEADER fh{};
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof(fh) + sizeof(BITMAPINFOHEADER);
    fh.bfSize = fh.bfOffBits + imageSize;
    bi.bmiHeader.biSizeImage = imageSize;
    UniqueFile file(
        CreateFileW(bmpPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    DWORD written = 0;
    return WriteFile(file.get(), &fh, sizeof(fh), &written, nullptr) &&
           WriteFile(file.get(), &bi.bmiHeader, sizeof(bi.bmiHeader), &written, nullptr) &&
           WriteFile(file.get(), bits, imageSize, &written, nullptr);
}

}  // namespace wd
