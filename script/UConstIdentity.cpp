// Product identity, the names of the values below the product key, and the
// selection and run-mode state that the pages and the command line set.
#include "script/UConst.h"

const wchar_t* const CompanyName = L"Veltrane";
const wchar_t* const ProductName = L"Tessel library";
const wchar_t* const ProductVersion = L"4.09";
const wchar_t* const ShortName = L"Tessel";
const wchar_t* const ProductDescription =
    L"Tessel library - collection of components for working with the application settings.\r\n\r\n";
const wchar_t* const ProductRegKey = L"Software\\Veltrane\\Tessel library";
const wchar_t* const ProductIntName = L"qvlLib";

const wchar_t* const RegInstallVersions = L"InstallVersions";
const wchar_t* const RegInstallItems = L"InstallItems";
const wchar_t* const RegRootDir = L"RootDir";
const wchar_t* const RegVersion = L"Version";
const wchar_t* const RegInstallDate = L"InstallDate";
const wchar_t* const RegCustomizeItems = L"CustomizeItems";

std::wstring HelpDir;
uint32_t SelectedIdeMask = 0;
uint32_t SelectedItemMask = 0;
uint32_t CustomizeMask = 5;
bool CopyOnly = false;
bool EnableControls = false;
bool ShowDescription = false;
bool ExtractMode = false;
