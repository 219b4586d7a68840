// The body shared by the stand-in command-line tools dcc32.exe, dcc64.exe and make.exe.
//
// Each tool lives in an IDE's "bin" folder beside "standin.ini":
//   [Tool]       Ide=<IDE name>  PackageExt=.dpl|.bpl
//   [Behaviour]  Mode=normal|fail|slow|hang|print  DelayMs=<ms>   (all tools of this IDE)
//                Output=<text> ExitCode=<n>   (print: write the text, end with the code, build nothing)
//   [dcc32] / [dcc64] / [make]  Mode=…  DelayMs=…           (one tool; wins over [Behaviour])
// and appends each call to "calls.log" beside it (UTF-8, two lines per call:
// "cmd=<command line>" and "dir=<current folder>").
#pragma once
#include <string>

enum class StandinKind { Dcc32, Dcc64, Make };

// Runs the tool for the process's own command line and current folder; the exit code.
int RunStandin(StandinKind kind);

// Names shared with the machine layout.
extern const wchar_t* const StandinIniName;        // L"standin.ini"
extern const wchar_t* const StandinCallLog;        // L"calls.log"
const wchar_t* StandinToolName(StandinKind kind);  // L"dcc32", L"dcc64", L"make"
