// Console program that drives setup.exe or unqmv.exe by a list of commands,
// one per line, read from a file (or "-" for standard input):
//
//   start <exe> [arguments]        start the program (one at a time)
//   uninstall                      start the command of the Windows uninstall entry, as Windows would
//   dialog <title prefix>          wait for its dialog with that title
//   text <id>                      print the control's text
//   expect <id> <text>             fail unless the control shows the text (waits)
//   enabled <id> / disabled <id>   fail unless the control is (waits)
//   press <id>                     press a push button (must be visible and enabled)
//   click <id>                     post a mouse click to the control
//   edit <id> <text>               replace an edit box's text
//   list <id>                      print the list's lines with [x] / [ ] / (greyed)
//   tick <id> <line>               click a list line
//   msgbox <caption> <button id>   wait for a message box, print its text, press the button
//   shot <file.bmp>                screenshot of the dialog
//   exit [seconds]                 wait for the program to end
//   # ...                          comment
//
// Exit code 0 when every command succeeded; otherwise the line that failed is reported.
#include <windows.h>
#include <cstdio>
#include <cwchar>
#include <fstream>
#include <sstream>
#include <string>
#include "WindowDriver.h"

using namespace tessel::common;

namespace {

std::wstring Widen(const std::string& s) {
    int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring w(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), w.data(), n);
    return w;
}

void Print(const std::wstring& s) {
    int n = WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), out.data(), n, nullptr, nullptr);
    std::fwrite(out.data(), 1, out.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

// Splits off the first word; rest keeps everything after one blank.
std::wstring Word(std::wstring& rest) {
    size_t start = rest.find_first_not_of(L' ');
    if (start == std::wstring::npos) {
        rest.clear();
        return std::wstring();
    }
    size_t end = rest.find(L' ', start);
    std::wstring w = rest.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
    rest = end == std::wstring::npos ? std::wstring() : rest.substr(end + 1);
    return w;
}

// Control texts in the script use "\n" for a line break.
std::wstring Unescape(const std::wstring& s) {
    std::wstring out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == L'\\' && i + 1 < s.size() && s[i + 1] == L'n') {
            out += L"\r\n";
            ++i;
        } else
            out += s[i];
    }
    return out;
}

struct Driver {
    wd::Program program;
    HWND dialog = nullptr;

    bool Run(const std::wstring& line) {
        std::wstring rest = line;
        std::wstring cmd = Word(rest);
        if (cmd.empty() || cmd[0] == L'#') return true;
        if (cmd == L"start") {
            std::wstring exe = Word(rest);
            dialog = nullptr;
            return wd::Start(program, exe, rest);
        }
        if (cmd == L"uninstall") {
            dialog = nullptr;
            std::wstring command = wd::UninstallCommand();
            if (command.empty()) return false;
            std::wstring exe, args;
            wd::SplitCommand(command, exe, args);
            Print(L"uninstall command: " + command);
            return wd::Start(program, exe, args);
        }
        if (cmd == L"dialog") {
            dialog = wd::FindDialog(program.pid, rest);
            if (dialog) SetForegroundWindow(dialog);
            return dialog != nullptr;
        }
        if (cmd == L"exit") {
            DWORD seconds = rest.empty() ? 60 : static_cast<DWORD>(std::wcstoul(rest.c_str(), nullptr, 10));
            DWORD code = program.WaitExit(seconds * 1000);
            if (code == STILL_ACTIVE) return false;
            Print(L"exit code " + std::to_wstring(code));
            return true;
        }
        if (cmd == L"msgbox") {
            // The caption may hold blanks; the button id is the last word.
            size_t cut = rest.rfind(L' ');
            if (cut == std::wstring::npos) return false;
            int button = _wtoi(rest.c_str() + cut + 1);
            wd::MessageBoxInfo box = wd::WaitMessageBox(program.pid, rest.substr(0, cut));
            if (!box.wnd) return false;
            Print(L"[" + box.caption + L"] " + box.text);
            return wd::Answer(box, button);
        }
        if (!dialog) return false;
        if (cmd == L"shot") {
            // No forced repaint: during the install run the program paints nothing
            // but its own updates, and the picture should show exactly that.
            SetForegroundWindow(dialog);
            Sleep(400);  // lets the X server finish drawing before the pixels are read
            return wd::Screenshot(dialog, rest);
        }
        int id = _wtoi(Word(rest).c_str());
        if (cmd == L"text") {
            Print(wd::ItemText(dialog, id));
            return true;
        }
        if (cmd == L"expect") {
            std::wstring want = Unescape(rest);
            if (wd::WaitItemText(dialog, id, want)) return true;
            Print(L"control " + std::to_wstring(id) + L" shows: " + wd::ItemText(dialog, id));
            return false;
        }
        if (cmd == L"enabled") return wd::WaitFor([&] { return wd::ItemEnabled(dialog, id); });
        if (cmd == L"disabled") return wd::WaitFor([&] { return !wd::ItemEnabled(dialog, id); });
        if (cmd == L"press") {
            if (!wd::WaitFor([&] { return wd::ItemEnabled(dialog, id) && wd::ItemVisible(dialog, id); })) return false;
            return wd::Press(dialog, id);
        }
        if (cmd == L"click") return wd::Click(GetDlgItem(dialog, id));
        if (cmd == L"edit") return wd::SetEditText(dialog, id, rest);
        HWND list = GetDlgItem(dialog, id);
        if (cmd == L"list") {
            int n = wd::ListCount(list);
            for (int i = 0; i < n; ++i) {
                LPARAM f = wd::ListData(list, i);
                Print(std::wstring((f & 1) ? L"[x] " : L"[ ] ") + wd::ListText(list, i) +
                      ((f & 4) ? L" (greyed)" : L""));
            }
            return n >= 0;
        }
        if (cmd == L"tick") {
            int listLine = _wtoi(rest.c_str());
            LPARAM before = wd::ListData(list, listLine);
            if (!wd::ClickListLine(list, listLine)) return false;
            if (before & 4) return wd::WaitFor([&] { return wd::ListSelection(list) == listLine; });
            return wd::WaitFor([&] { return (wd::ListData(list, listLine) & 1) != (before & 1); });
        }
        return false;
    }
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: guidriver <command file | ->\n");
        return 2;
    }
    std::string content;
    if (std::wcscmp(argv[1], L"-") == 0) {
        std::ostringstream all;
        char buf[4096];
        size_t n;
        while ((n = std::fread(buf, 1, sizeof(buf), stdin)) > 0) all.write(buf, static_cast<std::streamsize>(n));
        content = all.str();
    } else {
        std::ifstream in(argv[1], std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "guidriver: cannot read %ls\n", argv[1]);
            return 2;
        }
        std::ostringstream all;
        all << in.rdbuf();
        content = all.str();
    }
    Driver driver;
    std::istringstream lines(content);
    std::string raw;
    int number = 0;
    while (std::getline(lines, raw)) {
        ++number;
        if (!raw.empty() && raw.back() == '\r') raw.pop_back();
        std::wstring line = Widen(raw);
        if (!driver.Run(line)) {
            Print(L"guidriver: line " + std::to_wstring(number) + L" failed: " + line);
            driver.program.Kill();
            return 1;
        }
    }
    return 0;
}
