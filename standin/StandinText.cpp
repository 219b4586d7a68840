// Texts of the stand-in tools: option files, package projects, make files.
#include "standin/StandinText.h"

#include "common/PathText.h"

using namespace tessel::common;

namespace {

wchar_t AsciiLower(wchar_t c) { return (c >= L'A' && c <= L'Z') ? wchar_t(c - L'A' + L'a') : c; }

bool SameText(const std::wstring& a, const std::wstring& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    return true;
}

bool StartsWith(const std::wstring& text, const std::wstring& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

std::wstring Trim(const std::wstring& s) {
    size_t b = 0, e = s.size();
    while (b < e && (s[b] == L' ' || s[b] == L'\t' || s[b] == L'\r' || s[b] == L'\n')) ++b;
    while (e > b && (s[e - 1] == L' ' || s[e - 1] == L'\t' || s[e - 1] == L'\r' || s[e - 1] == L'\n')) --e;
    return s.substr(b, e - b);
}

std::wstring Unquote(const std::wstring& s) {
    std::wstring t = Trim(s);
    if (t.size() >= 2 && t.front() == L'"' && t.back() == L'"') return t.substr(1, t.size() - 2);
    return t;
}

// Pascal tokens: identifiers (dots allowed, for unit names with namespaces),
// string literals, and single punctuation characters. Comments and compiler
// directives ({...}, (*...*), //...) are skipped.
struct Token {
    enum Kind { End, Ident, String, Punct, Bad } kind = End;
    std::wstring text;
};

class PascalLexer {
public:
    explicit PascalLexer(const std::wstring& text) : s_(text) {}

    Token Next() {
        SkipBlanksAndComments();
        Token t;
        if (bad_) {
            t.kind = Token::Bad;
            return t;
        }
        if (p_ >= s_.size()) return t;
        wchar_t c = s_[p_];
        if (IsIdentStart(c)) {
            size_t b = p_;
            while (p_ < s_.size() && (IsIdentStart(s_[p_]) || (s_[p_] >= L'0' && s_[p_] <= L'9') || s_[p_] == L'.'))
                ++p_;
            // A trailing dot ends the text ("end.") and is not part of the name.
            size_t e = p_;
            while (e > b && s_[e - 1] == L'.') --e;
            p_ = e;
            t.kind = Token::Ident;
            t.text = s_.substr(b, e - b);
            return t;
        }
        if (c == L'\'') {
            ++p_;
            t.kind = Token::String;
            for (;;) {
                if (p_ >= s_.size()) {
                    t.kind = Token::Bad;
                    return t;
                }
                if (s_[p_] == L'\'') {
                    if (p_ + 1 < s_.size() && s_[p_ + 1] == L'\'') {
                        t.text += L'\'';
                        p_ += 2;
                        continue;
                    }
                    ++p_;
                    return t;
                }
                t.text += s_[p_++];
            }
        }
        t.kind = Token::Punct;
        t.text = std::wstring(1, c);
        ++p_;
        return t;
    }

private:
    static bool IsIdentStart(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || c == L'_'; }

    void SkipBlanksAndComments() {
        for (;;) {
            while (p_ < s_.size() && (s_[p_] == L' ' || s_[p_] == L'\t' || s_[p_] == L'\r' || s_[p_] == L'\n')) ++p_;
            if (p_ >= s_.size()) return;
            if (s_[p_] == L'{') {
                size_t e = s_.find(L'}', p_);
                if (e == std::wstring::npos) {
                    bad_ = true;
                    return;
                }
                p_ = e + 1;
            } else if (s_.compare(p_, 2, L"(*") == 0) {
                size_t e = s_.find(L"*)", p_ + 2);
                if (e == std::wstring::npos) {
                    bad_ = true;
                    return;
                }
                p_ = e + 2;
            } else if (s_.compare(p_, 2, L"//") == 0) {
                size_t e = s_.find(L'\n', p_);
                p_ = e == std::wstring::npos ? s_.size() : e + 1;
            } else {
                return;
            }
        }
    }

    const std::wstring& s_;
    size_t p_ = 0;
    bool bad_ = false;
};

bool IsPunct(const Token& t, wchar_t c) { return t.kind == Token::Punct && t.text.size() == 1 && t.text[0] == c; }
bool IsWord(const Token& t, const wchar_t* w) { return t.kind == Token::Ident && SameText(t.text, w); }

}  // namespace

void ApplyCompilerOptions(const std::wstring& text, CompilerOptions& options) {
    size_t pos = 0;
    while (pos <= text.size()) {
        size_t eol = text.find(L'\n', pos);
        std::wstring line = Trim(text.substr(pos, eol == std::wstring::npos ? std::wstring::npos : eol - pos));
        pos = eol == std::wstring::npos ? text.size() + 1 : eol + 1;
        if (line.size() < 2 || (line[0] != L'-' && line[0] != L'/')) continue;
        std::wstring opt = line.substr(1);
        // Longer option names first: -NH before -N, -N0 before -N.
        if (StartsWith(opt, L"LE"))
            options.packageDir = Unquote(opt.substr(2));
        else if (StartsWith(opt, L"LN"))
            options.dcpDir = Unquote(opt.substr(2));
        else if (StartsWith(opt, L"NH"))
            options.hppDir = Unquote(opt.substr(2));
        else if (StartsWith(opt, L"N0"))
            options.unitDir = Unquote(opt.substr(2));
        else if (StartsWith(opt, L"NB"))
            options.bpiDir = Unquote(opt.substr(2));
        else if (StartsWith(opt, L"NO"))
            options.objDir = Unquote(opt.substr(2));
        else if (StartsWith(opt, L"NS"))
            continue;  // not ours
        else if (StartsWith(opt, L"N"))
            options.unitDir = Unquote(opt.substr(1));
        else if (StartsWith(opt, L"U"))
            options.unitPath = Unquote(opt.substr(1));
        else if (opt == L"JL" || opt == L"JPHNE")
            options.cppFiles = true;
        else if (opt == L"jf:coffi")
            options.coff = true;
    }
}

bool AsksForAutoSuffix(const std::wstring& text) {
    std::wstring upper;
    for (wchar_t c : text) upper += (c >= L'a' && c <= L'z') ? wchar_t(c - 32) : c;
    return upper.find(L"{$LIBSUFFIX AUTO}") != std::wstring::npos;
}

bool ParsePackageProject(const std::wstring& text, PackageProject& project) {
    project = PackageProject{};
    PascalLexer lex(text);
    if (!IsWord(lex.Next(), L"package")) return false;
    Token name = lex.Next();
    if (name.kind != Token::Ident || !IsPunct(lex.Next(), L';')) return false;
    project.name = name.text;
    for (Token t = lex.Next(); t.kind != Token::End; t = lex.Next()) {
        if (t.kind == Token::Bad) return false;
        if (!IsWord(t, L"contains")) continue;
        for (;;) {
            Token unit = lex.Next();
            if (unit.kind != Token::Ident) return false;
            ContainedUnit u{unit.text, L""};
            Token after = lex.Next();
            if (IsWord(after, L"in")) {
                Token path = lex.Next();
                if (path.kind != Token::String) return false;
                u.path = path.text;
                after = lex.Next();
            }
            project.units.push_back(u);
            if (IsPunct(after, L';')) break;
            if (!IsPunct(after, L',')) return false;
        }
    }
    return true;
}

bool FindMakeProject(const std::wstring& text, std::wstring& project) {
    project.clear();
    size_t pos = 0;
    while (pos < text.size()) {
        size_t eol = text.find(L'\n', pos);
        std::wstring line = Trim(text.substr(pos, eol == std::wstring::npos ? std::wstring::npos : eol - pos));
        pos = eol == std::wstring::npos ? text.size() : eol + 1;
        if (!StartsWith(line, L"PROJECT")) continue;
        std::wstring rest = Trim(line.substr(7));
        if (rest.empty() || rest[0] != L'=') continue;
        project = Unquote(rest.substr(1));
        return !project.empty();
    }
    return false;
}

bool ParseMakeArgument(const std::wstring& arg, std::wstring& file) {
    file.clear();
    if (arg.size() < 3 || (arg[0] != L'/' && arg[0] != L'-') || AsciiLower(arg[1]) != L'f') return false;
    std::wstring name = arg.substr(2);
    if (name[0] == L' ' || name[0] == L'\t') return false;
    if (!HasExtension(name, L".bpk") && !HasExtension(name, L".mak")) return false;
    file = name;
    return true;
}

bool HasExtension(const std::wstring& name, const std::wstring& ext) {
    return name.size() > ext.size() && SameText(name.substr(name.size() - ext.size()), ext);
}

std::wstring ResolveOptionDir(const std::wstring& base, const std::wstring& dir) {
    if (dir.empty()) return base;
    bool absolute = dir[0] == L'\\' || (dir.size() >= 2 && dir[1] == L':');
    return absolute ? dir : JoinPath(base, dir);
}

std::vector<std::wstring> SplitPathList(const std::wstring& list) {
    std::vector<std::wstring> items;
    size_t pos = 0;
    while (pos <= list.size()) {
        size_t semi = list.find(L';', pos);
        if (semi == std::wstring::npos) semi = list.size();
        const std::wstring item = Unquote(list.substr(pos, semi - pos));
        if (!item.empty()) items.push_back(item);
        pos = semi + 1;
    }
    return items;
}

std::wstring WithoutExtension(const std::wstring& name) {
    size_t slash = name.find_last_of(L'\\');
    size_t dot = name.find_last_of(L'.');
    if (dot == std::wstring::npos || (slash != std::wstring::npos && dot < slash)) return name;
    return name.substr(0, dot);
}

std::wstring FolderOf(const std::wstring& path) {
    const size_t slash = path.rfind(L'\\');
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}
