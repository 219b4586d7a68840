// The wizard's texts and decisions as plain functions of values, so they are
// tested without windows.
#pragma once
#include <windows.h>
#include <cstdint>
#include <string>
#include "script/runner/InstallContext.h"

namespace tessel::setup {

// Window title: "Installation Wizard for <product> v<version>".
std::wstring WizardTitle();
std::wstring WelcomeText();
std::wstring SelectDelphiText(bool previousFound);
std::wstring DirectoryText();
std::wstring ReadyText();
std::wstring ProgressText();
std::wstring FinishText();
// The finish page after a run that was not refused: FinishText() when every
// row succeeded, the previous installation went and the choices were stored;
// otherwise what went wrong: a run stopped by an undo record it could not
// write, failed rows, what is left of the previous installation, choices
// that were not stored (install as the run left it).
std::wstring RunFinishText(const script::InstallContext& install);
// The finish page after a run that was refused before it changed anything:
// nothing was installed, and why (dir as typed, error as the runner gave it).
std::wstring RefusedFinishText(const std::wstring& dir, DWORD error);

// A click on the maker's link opens the site unless one was accepted less than
// 500 ms before; lastClick (0 = none) is updated. Tick counts wrap at 32 bits.
bool LinkClickAccepted(DWORD& lastClick, DWORD now);

// The folder the directory page proposes: the previous install folder as it is;
// else <parent of the first preselected IDE's root>\<short name>; else
// <program files>\<short name>; else empty.
std::wstring ProposeDirectory(const std::wstring& previous, const std::wstring& firstSelectedRoot,
                              const std::wstring& programFiles, const std::wstring& shortName);
// What the edit box shows after the folder browser returned chosen.
std::wstring BrowsedDirectory(const std::wstring& chosen, const std::wstring& previous, const std::wstring& shortName);
// The edit box's text as stored in InstallDir: one trailing "\" or "/" removed.
std::wstring StripOneTrailingSeparator(std::wstring text);

// Message of a failed script row, cut to fit a buffer of 262 characters
// (261 characters of text).
constexpr size_t RowErrorLimit = 261;
std::wstring FormatRowError(int current, int err, uint32_t word0, const std::wstring& logText);
// The progress page's status line while compilers run for the IDEs named.
inline std::wstring BuildingStatusText(const std::wstring& ideNames) { return L"Building packages for " + ideNames; }

// Preselection of the IDE page from the stored masks (0 = none stored), after
// discovery has filled Exists: sets install's PreselectedIdeMask and CheckedLines.
// prevItemsHigh holds the item bits above the first 32.
void ApplyPreviousSelection(script::InstallContext& install, int32_t prevInstallSelected, int32_t prevInstallItems,
                            uint32_t prevItemsHigh = 0);
// Whether the IDE page offers install item index (0..31): an item of no IDE,
// or of an IDE that discovery found usable.
bool ItemAvailable(const script::InstallContext& install, int index);
// Whether install item index has a line on the IDE page: all do but the newer
// IDE's, which has one only when discovery found such an IDE.
bool ItemShown(const script::InstallContext& install, int index);
// The line's text: the item's caption, for an IDE the one that names its version.
std::wstring ItemCaption(const script::InstallContext& install, int index);
// Masks of the ticked lines (bit i = list position i = install item i).
void SelectionMasks(common::LineMask checkedLines, common::IdeMask& ideMask, common::ItemMask& itemMask);

}  // namespace tessel::setup
