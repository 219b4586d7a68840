// The wizard's decisions without windows, so the tests check them directly.
#include "setup/WizardLogic.h"
#include <cwchar>
#include <vector>
#include "common/PathText.h"
#include "common/SystemText.h"
#include "script/manifest/Manifest.h"

namespace tessel::setup {

using namespace tessel::common;
using namespace tessel::changes;
using namespace tessel::script;

namespace {
constexpr const wchar_t* ParagraphBreak = L"\r\n\r\n";
std::wstring ProductAndVersion() { return std::wstring(ProductName) + L" v" + ProductVersion; }
}  // namespace

std::wstring WizardTitle() { return L"Installation Wizard for " + ProductAndVersion(); }

std::wstring WelcomeText() {
    return L"Welcome to the " + std::wstring(ProductName) + L" Setup program. This program will install " +
           ProductAndVersion() + L" on you computer." + ParagraphBreak + ProductDescription +
           L"It is strongly recommended that you exit all version of Delphi and CBuilder "
           L"before running this Setup program." +
           ParagraphBreak + L"Click Next to continue with the Setup program.";
}

std::wstring SelectDelphiText(bool previousFound) {
    if (previousFound)
        return L"The previous version of " + std::wstring(ProductName) +
               L" was found. Click to \"Next\" button for update it.";
    return L"Which versions of Delphi and/or CBuilder will you be installing " + std::wstring(ProductName) + L" to ?";
}

std::wstring DirectoryText() {
    return L"Setup will install " + std::wstring(ProductName) +
           L" into following folder, click Browse, and select another folder." + ParagraphBreak +
           L"You can choose not to install " + ProductName + L" by clicking Cancel to exit Setup.";
}

std::wstring ReadyText() {
    return L"You are now ready to install " + ProductAndVersion() + L" on you computer." + ParagraphBreak +
           L"Press the Start button to begin the installation or the Back button to reenter the "
           L"installation information.";
}

std::wstring ProgressText() {
    return L"Performing install of the " + ProductAndVersion() + L" on you computer." + ParagraphBreak +
           L"Please wait...";
}

std::wstring FinishText() {
    return L"Setup has finished installing " + ProductAndVersion() + L" on you computer." + ParagraphBreak +
           L"Click Finish to exit Setup.";
}

std::wstring RunFinishText(const script::InstallContext& install) {
    const std::wstring log = L"\"" + JoinPath(install.Plan.InstallDir, L"install.log") + L"\"";
    std::wstring text;
    if (install.Outcome.RunStopped())
        text = L"Setup stopped installing " + ProductAndVersion() +
               L" on you computer: a change could not be "
               L"recorded for the uninstall (" +
               SystemErrorText(install.Outcome.RunStop) + L"). Nothing after it was installed." + ParagraphBreak +
               L"Remove what was installed with its uninstall entry, or run Setup again.";
    else if (install.Outcome.FailedRows > 0)
        text = L"Setup has installed " + ProductAndVersion() + L" on you computer, but " +
               std::to_wstring(install.Outcome.FailedRows) + (install.Outcome.FailedRows == 1 ? L" step" : L" steps") +
               L" failed. The install log " + log + L" names each with \"...Fail\".";
    if (install.Outcome.PreviousRemovalFailed)
        text += (text.empty() ? L"" : ParagraphBreak) +
                std::wstring(L"The previous installation was not removed "
                             L"completely; what is left of it stays. The install log ") +
                log + L" says why.";
    if (install.StoreFailure != 0)
        text += (text.empty() ? L"" : ParagraphBreak) + std::wstring(L"Your choices could not be stored (") +
                SystemErrorText(install.StoreFailure) + L"); the next Setup will not start from them.";
    if (text.empty()) return FinishText();
    return text + ParagraphBreak + L"Click Finish to exit Setup.";
}

std::wstring RefusedFinishText(const std::wstring& dir, DWORD error) {
    std::wstring why;
    if (dir.empty())
        why = L"No destination folder was given.";
    else if (error == ERROR_BAD_PATHNAME)
        why = L"The destination folder \"" + dir + L"\" is not a full path, such as C:\\Program Files\\" + ShortName +
              L".";
    else
        why = L"The destination folder \"" + dir + L"\" cannot be used: " + SystemErrorText(error);
    return L"Setup has not installed " + ProductAndVersion() + L" on you computer. Nothing was installed." +
           ParagraphBreak + why + ParagraphBreak +
           L"Click Finish to exit Setup, then run Setup again and choose another folder.";
}

bool LinkClickAccepted(DWORD& lastClick, DWORD now) {
    if (lastClick != 0 && static_cast<DWORD>(now - lastClick) > 500) lastClick = 0;
    if (lastClick != 0) return false;
    // A tick count of exactly 0 would read as "none"; the next click is then accepted too.
    lastClick = now;
    return true;
}

namespace {
std::wstring WithShortName(std::wstring base, const std::wstring& shortName) {
    if (base.empty() || base.back() != L'\\') base += L'\\';
    return base + shortName;
}
}  // namespace

std::wstring ProposeDirectory(const std::wstring& previous, const std::wstring& firstSelectedRoot,
                              const std::wstring& programFiles, const std::wstring& shortName) {
    std::wstring base = firstSelectedRoot;
    if (!base.empty() && base.back() == L'\\') base.pop_back();
    size_t slash = base.rfind(L'\\');
    if (slash != std::wstring::npos) base.erase(slash);
    if (!previous.empty()) return previous;
    if (base.empty()) base = programFiles;
    if (base.empty()) return base;
    return WithShortName(base, shortName);
}

std::wstring BrowsedDirectory(const std::wstring& chosen, const std::wstring& previous, const std::wstring& shortName) {
    if (chosen == previous || chosen.empty()) return chosen;
    return WithShortName(chosen, shortName);
}

std::wstring StripOneTrailingSeparator(std::wstring text) {
    if (!text.empty() && (text.back() == L'\\' || text.back() == L'/')) text.pop_back();
    return text;
}

std::wstring FormatRowError(int current, int err, uint32_t word0, const std::wstring& logText) {
    // Formatted into a buffer of the full length, then cut: a long log text
    // (a deep path) must not run past the message buffer.
    std::vector<wchar_t> buf(128 + logText.size(), L'\0');
    int n =
        std::swprintf(buf.data(), buf.size(), L"Error in ScriptItem=%d, ErrorCode=%xh ScriptItemId=%x with text\r\n%ls",
                      current, static_cast<unsigned>(err), static_cast<unsigned>(word0), logText.c_str());
    std::wstring text = n > 0 ? std::wstring(buf.data(), static_cast<size_t>(n)) : std::wstring();
    if (text.size() > RowErrorLimit) text.resize(RowErrorLimit);
    return text;
}

bool ItemShown(const script::InstallContext& install, int index) {
    const IdeIndex ide = IdeIndexByMask(InstallItems[index].IdeMask);
    return !IsNewerIdeSlot(ide) || FoundOf(install.Plan.Ides, ide).Exists;
}

std::wstring ItemCaption(const script::InstallContext& install, int index) {
    const IdeIndex ide = IdeIndexByMask(InstallItems[index].IdeMask);
    if (!ide.IsValid()) return InstallItems[index].Caption;
    return IdeCaption(ide, FoundOf(install.Plan.Ides, ide).BdsVersion);
}

bool ItemAvailable(const script::InstallContext& install, int index) {
    const IdeIndex ide = IdeIndexByMask(InstallItems[index].IdeMask);  // none: the item belongs to no IDE
    return !ide.IsValid() || FoundOf(install.Plan.Ides, ide).Exists;
}

void ApplyPreviousSelection(script::InstallContext& install, int32_t prevInstallSelected, int32_t prevInstallItems,
                            uint32_t prevItemsHigh) {
    install.Plan.PreselectedIdeMask = IdeMask();
    const IdeMask storedIdes(static_cast<uint32_t>(prevInstallSelected));
    for (int i = 1; i <= IdeCount; ++i) {
        const IdeVersion& ide = IdeTable[i];
        const bool found = install.Plan.Ides[i].Exists;
        const bool selected =
            prevInstallSelected < 1 ? found : found && static_cast<int32_t>((ide.InternalId & storedIdes).Bits()) > 0;
        if (selected) install.Plan.PreselectedIdeMask |= ide.InternalId;
    }
    install.Plan.CheckedLines = LineMask();
    // The item mask is read as a set of bits, not as a signed number: RAD
    // Studio 13's item has the top bit, which makes the stored value negative.
    const ItemMask storedItems = ItemMaskOf(static_cast<uint32_t>(prevInstallItems), prevItemsHigh);
    for (int i = 0; i < InstallItemCount; ++i) {
        const InstallItem& item = InstallItems[i];
        const IdeIndex ide = IdeIndexByMask(item.IdeMask);  // none: the item belongs to no IDE
        bool checked = false;
        if (!storedItems.Empty()) {
            if (storedItems.Has(item.Bit)) checked = ItemAvailable(install, i);
        } else {
            checked = !ide.IsValid() || install.Plan.PreselectedIdeMask.Has(IdeOf(ide).InternalId);
        }
        if (checked) install.Plan.CheckedLines |= LineBit(i);
    }
}

void SelectionMasks(LineMask checkedLines, IdeMask& ideMask, ItemMask& itemMask) {
    ideMask = IdeMask();
    itemMask = ItemMask();
    for (int i = 0; i < InstallItemCount; ++i) {
        if (checkedLines.Has(LineBit(i))) {
            ideMask |= InstallItems[i].IdeMask;
            itemMask |= InstallItems[i].Bit;
        }
    }
}

}  // namespace tessel::setup
