// Where the product's registry keys are, for tests that look them up.
#pragma once
#include <string>
#include "changes/uninstallentry/UninstallEntry.h"
#include "common/RowKinds.h"

// The product's Windows uninstall entry, below HKEY_LOCAL_MACHINE.
inline const std::wstring kUninstallEntryKey =
    tessel::changes::uninstall_entry::EntryKeyPath();
