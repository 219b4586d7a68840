// Snapshots of registry branches and folders, for tests that check that a run
// left the machine as it found it: take one before, one after, and look at the
// changes between them.
#pragma once
#include <windows.h>
#include <gtest/gtest.h>
#include <functional>
#include <map>
#include <string>
#include <vector>
#include "common/Registry.h"

// Entry name -> what it held. Entries are "key <ROOT>\<path>" (ROOT: HKCU, HKLM, ...),
// "value <ROOT>\<path> | <name>" (= type ":" data, strings as text, other data in hex),
// "dir <path>" and "file <path>" (= size, or size and a hash of the bytes).
using MachineSnapshot = std::map<std::wstring, std::wstring>;

struct SnapshotOptions {
    bool recurse = true;                  // folders and keys: the whole tree, or the entries right below only
    bool hashContents = true;             // files: size and a hash of the bytes, or the size alone
    bool lowerCase = false;               // paths in lower case (value names keep theirs)
    std::vector<std::wstring> skipNames;  // file, folder or key names left out wherever met (any case)
};

// Each value of an open key: its name (empty for the default value), type and
// data (size bytes, followed by a zero character that the data may lack).
// A value that cannot be read ends the walk.
void ForEachRegValue(
    const tessel::common::RegKey& key,
    const std::function<void(const std::wstring& name, DWORD type, const std::vector<BYTE>& data, DWORD size)>& visit);

// The key root\key, its values and (with recurse) everything below. A missing key adds nothing.
void SnapshotKey(HKEY root, const std::wstring& key, MachineSnapshot& out, const SnapshotOptions& options = {});
// The folders and files below path. A missing folder adds nothing.
void SnapshotFolder(const std::wstring& path, MachineSnapshot& out, const SnapshotOptions& options = {});

// Everything an install can touch on the test machine: installDir, the program and
// common documents folders (where the IDEs live), the Windows and system folders'
// own entries, and the IDEs', the product's, the help and the uninstall registry
// places in HKCU and HKLM. Paths are in lower case; the stand-in tools' call records
// are left out.
MachineSnapshot SnapshotInstallPlaces(const std::wstring& installDir);

struct SnapshotChange {
    wchar_t kind;  // '+' only after, '-' only before, '~' changed
    std::wstring entry;
    std::wstring before, after;  // what the entry held (empty where it did not exist)
};
std::vector<SnapshotChange> SnapshotChanges(const MachineSnapshot& before, const MachineSnapshot& after);

// The changes that every install leaves behind by design, taken out: run-time
// packages copied to the system folder or a common Bpl folder stay, as shared
// files do; the IDEs' help index caches (".gid") that the install deleted stay
// deleted; the keyword alias files (".als") keep the merged lines; the IDEs'
// requests to reload their options ("\Globals", "ForceEnvOptionsUpdate") are the
// IDEs' to clear. None of them is recorded for undo.
std::vector<SnapshotChange> WithoutInstallLeftovers(const std::vector<SnapshotChange>& changes);

// Success when there is no change; otherwise a failure listing one change a line
// ("+entry", "-entry", "~entry: before -> after"). Use as EXPECT_TRUE(NoChanges(...)).
testing::AssertionResult NoChanges(const std::vector<SnapshotChange>& changes);
