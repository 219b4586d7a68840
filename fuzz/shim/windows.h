// Just enough of the Windows API for the uninstall engine to build natively:
// the fuzz target runs the engine's reading and walking code on Linux under
// the sanitizers. Window calls do nothing, the tick count moves on by itself
// so that the pacing loop ends at once, and nothing here touches a file.
#pragma once
#include <cstdint>

typedef uint32_t DWORD;
typedef int BOOL;
typedef unsigned int UINT;
typedef intptr_t LPARAM;
typedef uintptr_t WPARAM;
typedef intptr_t LRESULT;
typedef struct HWND__* HWND;
typedef struct HKEY__* HKEY;
typedef struct HINSTANCE__* HMODULE;
typedef const struct tagRECT* LPCRECT;
typedef struct HRGN__* HRGN;

#define TRUE 1
#define FALSE 0
#define IDCANCEL 2
#define SW_SHOW 5
#define SW_HIDE 0
#define GENERIC_READ 0x80000000u
#define RDW_INVALIDATE 0x0001
#define RDW_UPDATENOW 0x0100
#define RDW_ALLCHILDREN 0x0080
#define MAX_PATH 260

namespace fuzzshim {
// Number of window calls the engine made; the harness only counts them.
inline unsigned long windowCalls = 0;
inline DWORD ticks = 0;
}  // namespace fuzzshim

inline HWND GetDlgItem(HWND, int) { ++fuzzshim::windowCalls; return nullptr; }
inline BOOL SetWindowTextW(HWND, const wchar_t*) { ++fuzzshim::windowCalls; return TRUE; }
inline BOOL UpdateWindow(HWND) { ++fuzzshim::windowCalls; return TRUE; }
inline BOOL EnableWindow(HWND, BOOL) { ++fuzzshim::windowCalls; return FALSE; }
inline BOOL ShowWindow(HWND, int) { ++fuzzshim::windowCalls; return FALSE; }
inline LRESULT SendDlgItemMessageW(HWND, int, UINT, WPARAM, LPARAM) { ++fuzzshim::windowCalls; return 0; }
inline BOOL RedrawWindow(HWND, LPCRECT, HRGN, UINT) { ++fuzzshim::windowCalls; return TRUE; }
inline DWORD GetTickCount() { return fuzzshim::ticks += 25; }
inline void Sleep(DWORD) {}
