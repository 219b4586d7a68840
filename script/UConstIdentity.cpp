// Product identity and the names of the values below the product key.
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
