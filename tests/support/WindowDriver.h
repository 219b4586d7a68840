// Drives another program's windows from a Win32 program in the same Wine
// prefix: start it, find its windows, read controls, press buttons, tick
// list lines, answer message boxes, take screenshots. Used by the GUI tests
// and by guidriver.exe. Everything polls with a deadline; nothing sleeps blind.
#pragma once
#include <windows.h>
#include <functional>
#include <string>
#include <vector>
#include "common/Handles.h"

using namespace tessel::common;  // test support: the product names unqualified

namespace wd {

constexpr DWORD DefaultTimeoutMs = 20000;

// Polls cond every few milliseconds until it holds or timeoutMs passed.
bool WaitFor(const std::function<bool()>& cond, DWORD timeoutMs = DefaultTimeoutMs);

// A started program.
struct Program {
    ProcessHandles handles;
    DWORD pid = 0;
    bool Running() const;
    // Waits for the process to end; its exit code, or STILL_ACTIVE on time-out.
    DWORD WaitExit(DWORD timeoutMs = DefaultTimeoutMs) const;
    void Kill() const;
};
// Starts exe with the argument text (already quoted as needed); false when it could not start.
bool Start(Program& program, const std::wstring& exe, const std::wstring& args,
           const std::wstring& currentDir = std::wstring());

// Visible top-level windows of a process, optionally only dialogs ("#32770").
std::vector<HWND> TopWindows(DWORD pid, bool dialogsOnly = true);
// The first visible top-level dialog of pid whose title starts with titlePrefix
// (empty: any) and that holds a control with id childId (0: any); nullptr on time-out.
HWND FindDialog(DWORD pid, const std::wstring& titlePrefix, int childId = 0, DWORD timeoutMs = DefaultTimeoutMs);

std::wstring Text(HWND wnd);
std::wstring ItemText(HWND dlg, int id);
bool ItemVisible(HWND dlg, int id);
bool ItemEnabled(HWND dlg, int id);
// Waits until the control's text equals text.
bool WaitItemText(HWND dlg, int id, const std::wstring& text, DWORD timeoutMs = DefaultTimeoutMs);

// Presses a push button the way the button itself reports a click (BM_CLICK).
// Refuses disabled or hidden buttons, as a user could not press them.
bool Press(HWND dlg, int id);
// A mouse click (button down and up at the control's centre) posted to the control:
// it goes through the program's input handling like a real click.
bool Click(HWND control);
// Types text into an edit control (replaces its contents).
bool SetEditText(HWND dlg, int id, const std::wstring& text);

// List boxes.
int ListCount(HWND list);
std::wstring ListText(HWND list, int index);
LPARAM ListData(HWND list, int index);
int ListSelection(HWND list);
// Clicks line index (scrolling it into view first).
bool ClickListLine(HWND list, int index);

// A message box of pid (a dialog with a static text); its caption and text.
struct MessageBoxInfo {
    HWND wnd = nullptr;
    std::wstring caption;
    std::wstring text;
};
MessageBoxInfo WaitMessageBox(DWORD pid, const std::wstring& caption, DWORD timeoutMs = DefaultTimeoutMs);
// Presses IDOK, IDYES, IDNO... in a message box.
bool Answer(const MessageBoxInfo& box, int buttonId);

// The program path (quoted, or up to the first blank) and the rest of a command line.
void SplitCommand(const std::wstring& command, std::wstring& exe, std::wstring& args);
// "UninstallString" of the product's Windows uninstall entry; empty when there is none.
std::wstring UninstallCommand();

// Captures the window (as it is on the screen) into a 24-bit BMP file.
bool Screenshot(HWND wnd, const std::wstring& bmpPath);

}  // namespace wd
