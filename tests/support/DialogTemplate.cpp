#include "support/DialogTemplate.h"
#include <sstream>
#include "common/Handles.h"
#include "common/TextConversion.h"

using namespace tessel::common;

namespace {

// Reads a name-or-ordinal field and moves p past it.
std::wstring SzOrOrd(const WORD*& p) {
    if (*p == 0xFFFF) {
        const WORD ord = p[1];
        p += 2;
        switch (ord) {
        case 0x80: return L"BUTTON";
        case 0x81: return L"EDIT";
        case 0x82: return L"STATIC";
        case 0x83: return L"LISTBOX";
        default: return L"#" + std::to_wstring(ord);
        }
    }
    std::wstring s(reinterpret_cast<const wchar_t*>(p));
    p += s.size() + 1;
    return s;
}

std::string Narrow(const std::wstring& text) { return ToUtf8(text); }

}  // namespace

bool ReadDialogTemplate(const std::wstring& program, int id, DialogTemplate& out) {
    UniqueModule exe(LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    HRSRC res = exe.valid() ? FindResourceW(exe.get(), MAKEINTRESOURCEW(id), RT_DIALOG) : nullptr;
    const WORD* p = res ? static_cast<const WORD*>(LockResource(LoadResource(exe.get(), res))) : nullptr;
    if (!p || p[0] != 1 || p[1] != 0xFFFF) return false;
    out = DialogTemplate{};
    out.style = *reinterpret_cast<const DWORD*>(p + 6);
    const WORD count = p[8];
    out.cx = static_cast<short>(p[11]);
    out.cy = static_cast<short>(p[12]);
    p += 13;
    SzOrOrd(p);  // menu
    SzOrOrd(p);  // class
    out.title = SzOrOrd(p);
    if (out.style & DS_SETFONT) {
        out.pointSize = p[0];
        p += 3;  // point size, weight, italic and charset
        out.font = SzOrOrd(p);
    }
    for (WORD i = 0; i < count; ++i) {
        p = reinterpret_cast<const WORD*>((reinterpret_cast<ULONG_PTR>(p) + 3) & ~ULONG_PTR(3));
        const DWORD* d = reinterpret_cast<const DWORD*>(p);
        const short* pos = reinterpret_cast<const short*>(d + 3);
        DialogControl c{d[5] & 0xFFFF, L"", L"", pos[0], pos[1], pos[2], pos[3], d[2], d[1]};
        p = reinterpret_cast<const WORD*>(d + 6);
        c.cls = SzOrOrd(p);
        c.text = SzOrOrd(p);
        p += 1 + *p / sizeof(WORD);  // creation data
        out.controls.push_back(c);
    }
    return true;
}

testing::AssertionResult SameDialog(const DialogTemplate& got, const DialogTemplate& expected) {
    std::ostringstream diff;
    const auto field = [&](const std::string& where, const auto& a, const auto& b) {
        if (!(a == b)) diff << where << " differs\n";
    };
    field("dialog style", got.style, expected.style);
    field("dialog size", std::make_pair(got.cx, got.cy), std::make_pair(expected.cx, expected.cy));
    field("dialog title", got.title, expected.title);
    field("dialog font", std::make_pair(got.pointSize, got.font), std::make_pair(expected.pointSize, expected.font));
    field("control count", got.controls.size(), expected.controls.size());
    for (size_t i = 0; i < got.controls.size() && i < expected.controls.size(); ++i) {
        const DialogControl& a = got.controls[i];
        const DialogControl& b = expected.controls[i];
        const std::string at = "control " + std::to_string(i) + " (" + std::to_string(b.id) + ") ";
        field(at + "id", a.id, b.id);
        field(at + "class " + Narrow(a.cls), LowerWide(a.cls), LowerWide(b.cls));
        field(at + "text \"" + Narrow(a.text) + "\"", a.text, b.text);
        field(at + "position", std::make_pair(a.x, a.y), std::make_pair(b.x, b.y));
        field(at + "size", std::make_pair(a.cx, a.cy), std::make_pair(b.cx, b.cy));
        field(at + "style", a.style, b.style);
        field(at + "extended style", a.exStyle, b.exStyle);
    }
    const std::string text = diff.str();
    if (text.empty()) return testing::AssertionSuccess();
    return testing::AssertionFailure() << text;
}
