// Dialog templates as a program carries them in its resources, read field by
// field, for tests that hold them against the description.
#pragma once
#include <windows.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>

struct DialogControl {
    DWORD id;                // low 16 bits; 0xFFFF for -1
    std::wstring cls, text;  // predefined classes by name; ordinal texts as "#<number>"
    short x, y, cx, cy;
    DWORD style, exStyle;
};

struct DialogTemplate {
    DWORD style;
    short cx, cy;
    std::wstring title, font;
    WORD pointSize;
    std::vector<DialogControl> controls;
};

// The extended template id of program (loaded as data); false when it has none.
bool ReadDialogTemplate(const std::wstring& program, int id, DialogTemplate& out);
// Success when both agree in every field; otherwise a failure naming each
// difference (class names compare without regard to case).
testing::AssertionResult SameDialog(const DialogTemplate& got, const DialogTemplate& expected);
