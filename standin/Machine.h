// A simulated machine with IDE installations made of stand-in tools, laid out
// in the running Wine prefix: the IDE's registry values, its root folder with
// "bin" and the stand-in compilers, "rsvars.bat", the common "Bpl" folders,
// the help-configuration files and the user's library and C++ path lists.
// Used by the tests, the demo and the benchmarks (through mkmachine.exe).
#pragma once
#include <windows.h>
#include <cstdint>
#include <string>
#include <vector>
#include "common/Handles.h"

// Where the IDE announces its common folder (BDSCOMMONDIR), besides "bin\rsvars.bat".
enum class EnvVarPlace { None, CurrentUser, LocalMachine };

struct MachineOptions {
    bool PerUser = false;       // "RootDir" under HKEY_CURRENT_USER instead of HKEY_LOCAL_MACHINE
    bool WithTools = true;      // copy the stand-in compilers into "bin"
    bool WithDcc64 = true;      // also dcc64.exe for IDEs with a 64-bit compiler
    bool With64BitIde = false;  // RAD Studio 12, 13 and newer: also the 64-bit IDE ("App x64", "bin64\bds.exe")
    bool WithModernCpp = false; // RAD Studio 12, 13 and newer: also the Modern C++ toolchain ("bin64\bcc64x.exe")
                                // and its Win64x path lists
    bool WithRsvars = true;     // "bin\rsvars.bat" for IDEs with a common folder
    EnvVarPlace EnvVariables = EnvVarPlace::None;  // "Environment Variables" value BDSCOMMONDIR
    bool WithHelp = true;                          // "Help" with configuration, alias and ".gid" files
    bool WithUserPaths = true;                     // library and C++ path lists holding a few entries of the user's
    std::wstring RootDir;                          // the IDE's root folder; empty: its usual one (StandinRootDir)
    std::wstring ToolsDir;                         // folder of the built dcc32.exe, dcc64.exe, make.exe;
                                                   // empty: the folder set by SetStandinToolsDir
};

// The version the newer IDE (index 31) stands for from now on: "BDS\<version>.0"
// (38 until set). Every function below that takes index 31 means that version.
void SetStandinNewerVersion(uint32_t bdsVersion);
uint32_t StandinNewerVersion();

// Folder that holds the built stand-in tools. Defaults to the build tree's "standin" folder.
void SetStandinToolsDir(const std::wstring& dir);
std::wstring StandinToolsDir();

// The usual root folder of IDE ideIndex (1..31) on a stand-in machine, e.g.
// "C:\Program Files (x86)\Embarcadero\Studio\23.0"; empty for other indexes.
std::wstring StandinRootDir(int ideIndex);
// The common folder (BDSCOMMONDIR) the layout gives IDE ideIndex: below the common documents
// folder for IDEs from Delphi 2005 on, empty for the older ones (they have none).
std::wstring StandinCommonDir(int ideIndex);
// The user's entries the layout puts into each path list of the IDE (";"-joined).
std::wstring StandinUserPaths(int ideIndex);
// The registry paths (below RegKey, ending in the value name, e.g. "\Library\Win32\Search Path")
// of the path lists the layout writes for IDE ideIndex.
std::vector<std::wstring> StandinPathValues(int ideIndex);

// Lays out one IDE installation; true when everything was written.
bool LayOutIde(int ideIndex, const MachineOptions& options = {});
// Lays out several; true when all succeeded.
bool LayOutMachine(const std::vector<int>& ides, const MachineOptions& options = {});
// Removes what LayOutIde may have written for the IDE: its keys under both hives, its root folder
// (the one given or the usual one) and its common folder.
void RemoveIde(int ideIndex, const std::wstring& rootDir = std::wstring());
// Removes all of them, every newer version included.
void ClearMachine();
// Ends the stand-in tools of the IDE that are still running (a hanging tool is left running
// by the setup after its 45-second wait); the number ended. RemoveIde does this first.
int EndToolProcesses(int ideIndex, const std::wstring& rootDir = std::wstring());

// What a stand-in tool does when it is called.
enum class ToolMode { Normal, Fail, Slow, Hang };
// Sets the behaviour of the IDE's tools ("bin\standin.ini" of its root folder). tool names one
// of L"dcc32", L"dcc64", L"make" for that tool alone; empty: all tools of the IDE.
// delayMs is the extra running time of ToolMode::Slow.
bool SetToolBehaviour(int ideIndex, ToolMode mode, DWORD delayMs = 0, const std::wstring& tool = std::wstring(),
                      const std::wstring& rootDir = std::wstring());
// Makes the IDE's tool (or all its tools) print output as its only line and end with
// exitCode, building nothing: an edition's refusal or a compile error.
bool SetToolOutput(int ideIndex, const std::wstring& output, DWORD exitCode, const std::wstring& tool = std::wstring(),
                   const std::wstring& rootDir = std::wstring());

// Starts the stand-in IDE program as program (a full path, e.g. an IDE's "bin\bds.exe";
// the file is copied there first), kept running until EndStandinIde or EndToolProcesses.
// Its process handle; empty when it could not be started.
tessel::common::UniqueKernelHandle StartStandinIde(const std::wstring& program);
// Ends it and waits for its end; true when it is gone.
bool EndStandinIde(tessel::common::UniqueKernelHandle& process);

// One call of a stand-in tool as it recorded itself in "bin\calls.log".
struct ToolCall {
    std::wstring commandLine;  // the full command line as the tool received it
    std::wstring currentDir;   // the tool's current folder
};
std::vector<ToolCall> ReadToolCalls(int ideIndex, const std::wstring& rootDir = std::wstring());
void ClearToolCalls(int ideIndex, const std::wstring& rootDir = std::wstring());
