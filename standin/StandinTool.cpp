// The stand-in command-line tools' shared body: option files, behaviour, call records.
#include "standin/StandinTool.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <vector>

#include "common/Handles.h"
#include "common/PathText.h"
#include "standin/StandinText.h"

using namespace tessel::common;

const wchar_t* const StandinIniName = L"standin.ini";
const wchar_t* const StandinCallLog = L"calls.log";

const wchar_t* StandinToolName(StandinKind kind) {
    switch (kind) {
    case StandinKind::Dcc32: return L"dcc32";
    case StandinKind::Dcc64: return L"dcc64";
    case StandinKind::Make: break;
    }
    return L"make";
}

namespace {

// The tools stand for programs outside the product, so they carry their own
// few lines of file access instead of the product's helpers.
std::string Narrow(const std::wstring& w, UINT codePage) {
    if (w.empty()) return std::string();
    int n = WideCharToMultiByte(codePage, 0, w.data(), int(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(size_t(n), '\0');
    WideCharToMultiByte(codePage, 0, w.data(), int(w.size()), &s[0], n, nullptr, nullptr);
    return s;
}

std::wstring Widen(const std::string& s) {
    if (s.empty()) return std::wstring();
    int n = MultiByteToWideChar(CP_ACP, 0, s.data(), int(s.size()), nullptr, 0);
    std::wstring w(size_t(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, s.data(), int(s.size()), &w[0], n);
    return w;
}

bool ReadWholeFile(const std::wstring& name, std::wstring& text) {
    UniqueFile f(CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                             nullptr));
    if (!f) return false;
    std::string bytes;
    char buf[4096];
    DWORD got = 0;
    while (ReadFile(f.get(), buf, sizeof buf, &got, nullptr) && got > 0) bytes.append(buf, got);
    text = Widen(bytes);
    return true;
}

bool WriteWholeFile(const std::wstring& name, const std::string& bytes) {
    UniqueFile f(CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f) return false;
    DWORD written = 0;
    return WriteFile(f.get(), bytes.data(), DWORD(bytes.size()), &written, nullptr) && written == bytes.size();
}

bool IsFile(const std::wstring& path) {
    DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsFolder(const std::wstring& path) {
    DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring CurrentFolder() {
    wchar_t buf[MAX_PATH * 2] = {};
    DWORD n = GetCurrentDirectoryW(MAX_PATH * 2, buf);
    std::wstring dir(buf, n < MAX_PATH * 2 ? n : 0);
    // "C:\" keeps its backslash; other folders come without one.
    return dir;
}

// The folder without "." and ".." steps, as a compiler reports its output.
std::wstring FullPath(const std::wstring& path) {
    if (path.empty()) return path;
    wchar_t buf[MAX_PATH * 2] = {};
    const DWORD n = GetFullPathNameW(path.c_str(), MAX_PATH * 2, buf, nullptr);
    return (n == 0 || n >= MAX_PATH * 2) ? path : std::wstring(buf, n);
}

std::wstring OwnFolder() {
    wchar_t buf[MAX_PATH * 2] = {};
    GetModuleFileNameW(nullptr, buf, MAX_PATH * 2);
    return FolderOf(buf);
}

void AppendCall(const std::wstring& binDir, const std::wstring& cwd) {
    std::string line = "cmd=" + Narrow(GetCommandLineW(), CP_UTF8) + "\r\ndir=" + Narrow(cwd, CP_UTF8) + "\r\n";
    UniqueFile f(CreateFileW(JoinPath(binDir, StandinCallLog).c_str(), FILE_APPEND_DATA,
                             FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f) return;
    DWORD written = 0;
    WriteFile(f.get(), line.data(), DWORD(line.size()), &written, nullptr);
}

std::wstring IniString(const std::wstring& ini, const wchar_t* section, const wchar_t* key) {
    wchar_t buf[512] = {};
    GetPrivateProfileStringW(section, key, L"", buf, 512, ini.c_str());
    return buf;
}

// What the configured behaviour leaves to do: build, or end at once with a code.
struct Behaviour {
    bool Build = true;
    int ExitCode = 0;
};

int Fatal(const std::wstring& tool, const std::wstring& what);

// Applies the configured behaviour of the tool.
Behaviour Behave(const std::wstring& ini, StandinKind kind) {
    // A tool's own section wins over the one for all tools of the IDE.
    const wchar_t* section = StandinToolName(kind);
    std::wstring mode = IniString(ini, section, L"Mode");
    if (mode.empty()) {
        section = L"Behaviour";
        mode = IniString(ini, section, L"Mode");
    }
    if (mode == L"fail") return {false, Fatal(StandinToolName(kind), L"told to fail")};
    if (mode == L"print") {
        // A compiler's own answer, such as an edition's refusal or a build error:
        // the text (ANSI, as a console tool writes) and the exit code, nothing built.
        const std::string text = Narrow(IniString(ini, section, L"Output"), CP_ACP) + "\r\n";
        std::fwrite(text.data(), 1, text.size(), stdout);
        return {false, static_cast<int>(GetPrivateProfileIntW(section, L"ExitCode", 1, ini.c_str()))};
    }
    if (mode == L"hang") {
        for (;;) Sleep(INFINITE);
    }
    if (mode == L"slow") Sleep(GetPrivateProfileIntW(section, L"DelayMs", 0, ini.c_str()));
    return {};
}

int Fatal(const std::wstring& tool, const std::wstring& what) {
    std::fwprintf(stdout, L"%ls: Fatal: %ls\n", tool.c_str(), what.c_str());
    return 1;
}

std::string Stamp(const std::wstring& kindOfFile, const std::wstring& name, const std::wstring& tool,
                  const std::wstring& ide) {
    return Narrow(L"Stand-in " + kindOfFile + L" " + name + L"\r\nBuilt by " + tool + L" for " + ide + L"\r\n", CP_ACP);
}

int BuildDelphiPackage(StandinKind kind, const std::vector<std::wstring>& args, const std::wstring& cwd,
                       const std::wstring& ini) {
    const std::wstring tool = StandinToolName(kind);
    // One project; options may stand on the command line as well, and win over the option files.
    std::wstring projectArg, commandOptions;
    for (size_t i = 1; i < args.size(); ++i) {
        if (!args[i].empty() && args[i][0] == L'-')
            commandOptions += args[i] + L"\n";
        else if (projectArg.empty())
            projectArg = args[i];
        else
            projectArg = L"?";
    }
    if (!HasExtension(projectArg, L".dpk")) return Fatal(tool, L"usage: " + tool + L" <project>.dpk [options]");
    const std::wstring projectFile = ResolveOptionDir(cwd, projectArg);
    std::wstring text;
    if (!ReadWholeFile(projectFile, text)) return Fatal(tool, L"could not open " + projectArg);
    PackageProject project;
    if (!ParsePackageProject(text, project)) return Fatal(tool, L"not a package project: " + projectArg);
    // {$LIBSUFFIX AUTO}: the package is named after the compiler's release; the
    // .dcp and the C++ import files keep the plain name.
    std::wstring suffix;
    if (AsksForAutoSuffix(text)) {
        suffix = IniString(ini, L"Tool", L"AutoSuffix");
        if (suffix.empty()) return Fatal(tool, L"invalid compiler directive: LIBSUFFIX AUTO");
    }

    // The compiler's own option file in the current folder, then the project's.
    CompilerOptions options;
    std::wstring cfg;
    if (ReadWholeFile(JoinPath(cwd, tool + L".cfg"), cfg)) ApplyCompilerOptions(cfg, options);
    if (ReadWholeFile(WithoutExtension(projectFile) + L".cfg", cfg)) ApplyCompilerOptions(cfg, options);
    ApplyCompilerOptions(commandOptions, options);
    // COFF import files come from the 64-bit compiler alone, and only with -JL.
    const bool coff = options.coff && options.cppFiles && kind == StandinKind::Dcc64;

    const std::wstring ide = IniString(ini, L"Tool", L"Ide");
    std::wstring ext = kind == StandinKind::Dcc32 ? IniString(ini, L"Tool", L"PackageExt") : L"";
    if (ext.empty()) ext = L".bpl";
    const std::wstring packageDir = FullPath(ResolveOptionDir(cwd, options.packageDir));
    const std::wstring dcpDir = options.dcpDir.empty() ? packageDir : FullPath(ResolveOptionDir(cwd, options.dcpDir));
    const std::wstring unitDir =
        options.unitDir.empty() ? std::wstring() : FullPath(ResolveOptionDir(cwd, options.unitDir));
    const std::wstring hppDir =
        options.hppDir.empty() ? std::wstring() : FullPath(ResolveOptionDir(cwd, options.hppDir));
    const std::wstring bpiDir = options.bpiDir.empty() ? dcpDir : FullPath(ResolveOptionDir(cwd, options.bpiDir));
    const std::wstring objDir = options.objDir.empty() ? bpiDir : FullPath(ResolveOptionDir(cwd, options.objDir));

    // Like the real thing, the compiler makes no folders: a missing output folder fails the build.
    for (const std::wstring* dir : {&packageDir, &dcpDir, &unitDir, &hppDir, &bpiDir, &objDir})
        if (!dir->empty() && !IsFolder(*dir)) return Fatal(tool, L"could not create output file in " + *dir);

    // Every contained unit must be there, as its source or a compiled unit: the one named
    // after "in" (relative to the project), otherwise one found beside the project or on -U.
    std::vector<std::wstring> searchDirs{FolderOf(projectFile)};
    for (const std::wstring& dir : SplitPathList(options.unitPath)) searchDirs.push_back(ResolveOptionDir(cwd, dir));
    std::vector<std::wstring> sources;
    for (const ContainedUnit& unit : project.units) {
        std::wstring found;
        if (!unit.path.empty()) {
            const std::wstring source = ResolveOptionDir(FolderOf(projectFile), unit.path);
            if (IsFile(source)) found = source;
        } else {
            for (const std::wstring& dir : searchDirs)
                for (const wchar_t* unitExt : {L".pas", L".dcu"})
                    if (found.empty() && IsFile(JoinPath(dir, unit.name + unitExt)))
                        found = JoinPath(dir, unit.name + unitExt);
        }
        if (found.empty())
            return Fatal(tool, L"file not found: " + (unit.path.empty() ? unit.name + L".pas" : unit.path));
        sources.push_back(found);
    }

    for (size_t i = 0; i < project.units.size(); ++i) {
        const ContainedUnit& unit = project.units[i];
        if (!unitDir.empty() &&
            !WriteWholeFile(JoinPath(unitDir, unit.name + L".dcu"), Stamp(L"unit", unit.name, tool, ide)))
            return Fatal(tool, L"could not write " + unit.name + L".dcu");
        if (options.cppFiles) {
            const std::wstring dir = hppDir.empty() ? FolderOf(sources[i]) : hppDir;
            std::string header = "// Stand-in C++ header of unit " + Narrow(unit.name, CP_ACP) + "\r\n#pragma once\r\n";
            if (!WriteWholeFile(JoinPath(dir, unit.name + L".hpp"), header))
                return Fatal(tool, L"could not write " + unit.name + L".hpp");
        }
    }
    std::wstring units;
    for (const ContainedUnit& unit : project.units) units += (units.empty() ? L"" : L", ") + unit.name;
    std::string body = Stamp(L"package", project.name, tool, ide) + Narrow(L"Contains: " + units + L"\r\n", CP_ACP);
    const std::wstring package = JoinPath(packageDir, project.name + suffix + ext);
    if (!WriteWholeFile(JoinPath(dcpDir, project.name + L".dcp"), body) || !WriteWholeFile(package, body))
        return Fatal(tool, L"could not write " + package);
    if (coff) {
        const std::string coffBody = body + "Format: COFF\r\n";
        if (!WriteWholeFile(JoinPath(bpiDir, project.name + L".bpi"), coffBody) ||
            !WriteWholeFile(JoinPath(objDir, project.name + L".lib"), coffBody))
            return Fatal(tool, L"could not write the COFF files of " + project.name);
    }
    std::fwprintf(stdout, L"%ls\n", package.c_str());
    return 0;
}

int BuildMakeProject(const std::vector<std::wstring>& args, const std::wstring& cwd, const std::wstring& ini) {
    std::wstring makeFile;
    if (args.size() != 2 || !ParseMakeArgument(args[1], makeFile))
        return Fatal(L"make", L"usage: make /f<project>.bpk|.mak");
    std::wstring text, target;
    if (!ReadWholeFile(ResolveOptionDir(cwd, makeFile), text)) return Fatal(L"make", L"could not open " + makeFile);
    if (!FindMakeProject(text, target) || target.find(L"$(") != std::wstring::npos)
        return Fatal(L"make", L"no PROJECT line in " + makeFile);
    const std::wstring output = FullPath(ResolveOptionDir(cwd, target));
    const std::wstring folder = FolderOf(output);
    if (!folder.empty() && !IsFolder(folder)) return Fatal(L"make", L"could not create " + output);
    const std::wstring ide = IniString(ini, L"Tool", L"Ide");
    const std::wstring stem = WithoutExtension(output);
    const std::wstring name = stem.substr(folder.empty() ? 0 : folder.size() + 1);
    std::string body = Stamp(L"package", name, L"make", ide);
    for (const wchar_t* ext : {L".bpi", L".lib"})
        if (!WriteWholeFile(stem + ext, body)) return Fatal(L"make", L"could not write " + stem + ext);
    if (!WriteWholeFile(output, body)) return Fatal(L"make", L"could not write " + output);
    std::fwprintf(stdout, L"%ls\n", output.c_str());
    return 0;
}

}  // namespace

int RunStandin(StandinKind kind) {
    const std::wstring binDir = OwnFolder();
    const std::wstring cwd = CurrentFolder();
    const std::wstring ini = JoinPath(binDir, StandinIniName);
    AppendCall(binDir, cwd);
    const Behaviour behaviour = Behave(ini, kind);
    if (!behaviour.Build) return behaviour.ExitCode;

    std::vector<std::wstring> args;
    int argc = 0;
    if (wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc)) {
        UniqueLocal owner(static_cast<HLOCAL>(argv));
        args.assign(argv, argv + argc);
    }
    return kind == StandinKind::Make ? BuildMakeProject(args, cwd, ini) : BuildDelphiPackage(kind, args, cwd, ini);
}
