// Snapshots of registry branches and folders, for tests that check that a run
// left the machine as it found it.
#pragma once
#include <windows.h>
#include <map>
#include <string>

using TSnapshot = std::map<std::wstring, std::wstring>;

// Every key below root\key ("key <path>") and every value ("value <key> | <name>"
// = type and data). A missing key adds nothing.
void SnapshotKey(HKEY root, const std::wstring& key, TSnapshot& out);
// Every folder ("dir <path>") and file ("file <path>" = its bytes as ANSI text,
// or its size when 4 KiB or more) below path. A missing folder adds nothing.
void SnapshotFolder(const std::wstring& path, TSnapshot& out);
// One line per entry that differs: "only before: ", "only after: " or "changed: ".
std::wstring SnapshotDifferences(const TSnapshot& before, const TSnapshot& after);
