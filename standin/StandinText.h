// What the stand-in compilers read: option files, package projects and make
// files. Plain text in, plain values out, so the rules are tested directly.
#pragma once
#include <string>
#include <vector>

// Options of dcc32/dcc64 option files ("dcc32.cfg", "<project>.cfg"), one per line.
// Folders are kept as written (quotes removed); empty means "not given".
struct CompilerOptions {
    std::wstring packageDir;  // -LE  package (.bpl/.dpl) output folder
    std::wstring dcpDir;      // -LN  .dcp output folder
    std::wstring unitDir;     // -N or -N0  unit output folder
    std::wstring hppDir;      // -NH  C++ header output folder
    std::wstring bpiDir;      // -NB  package import library (.bpi) output folder
    std::wstring objDir;      // -NO  C++ object and static library output folder
    std::wstring unitPath;    // -U   unit search path
    bool cppFiles = false;    // -JL or -JPHNE: C++ headers for the contained units
    bool coff = false;        // -jf:coffi: the C++ files in COFF, for the Modern Win64 toolchain
};

// Applies the lines of one option file to options; a later file or line overrides
// what an earlier one set. Unknown options are ignored.
void ApplyCompilerOptions(const std::wstring& text, CompilerOptions& options);

struct ContainedUnit {
    std::wstring name;  // unit name, e.g. "qvUtils"
    std::wstring path;  // the path after "in", empty when none
};
struct PackageProject {
    std::wstring name;                 // from "package <name>;"
    std::vector<ContainedUnit> units;  // the "contains" clause
};

// Whether a ".dpk" asks for the automatic suffix: "{$LIBSUFFIX AUTO}", in any case.
bool AsksForAutoSuffix(const std::wstring& text);

// Reads a ".dpk": it must begin (after comments) with "package <name>;".
// False when it does not, or when a "contains" clause is malformed.
bool ParsePackageProject(const std::wstring& text, PackageProject& project);

// The value of the make file's "PROJECT = <file>" line; false when there is none.
bool FindMakeProject(const std::wstring& text, std::wstring& project);

// The file name of make's argument "/f<name>" (or "-f<name>"), glued to the switch and
// naming a ".bpk" or ".mak" file; false for anything else.
bool ParseMakeArgument(const std::wstring& arg, std::wstring& file);

// True when name ends with ext, compared without regard to ASCII case.
bool HasExtension(const std::wstring& name, const std::wstring& ext);

// A folder of an option relative to base (the tool's current folder); absolute
// folders ("C:\…", "\…") are returned unchanged.
std::wstring ResolveOptionDir(const std::wstring& base, const std::wstring& dir);

// The entries of a ";"-separated folder list (-U), quotes removed, empty entries dropped.
std::vector<std::wstring> SplitPathList(const std::wstring& list);

// name without its extension (the part from the last "." after the last "\").
std::wstring WithoutExtension(const std::wstring& name);
// The folder part of path (up to, not including, its last "\"); empty when none.
std::wstring FolderOf(const std::wstring& path);
