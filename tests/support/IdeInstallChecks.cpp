#include "IdeInstallChecks.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "common/IdeTable.h"
#include "common/PathText.h"
#include "common/Files.h"
#include "common/TextConversion.h"
#include "standin/Machine.h"
#include "support/TestFiles.h"

using namespace tessel::common;

namespace {

constexpr int kStudio13 = 30;

size_t CountOf(const std::wstring& text, const std::wstring& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::wstring::npos; at = text.find(part, at + part.size())) ++n;
    return n;
}

}  // namespace

void ExpectStudio13With64BitIde(const std::wstring& installDir) {
    const std::wstring log = InstallLogText(installDir);
    const std::wstring folder = installDir + L"\\RADStudio37";
    for (const wchar_t* project : {L"qvl370.dpk", L"dclqvl370.dpk"})
        EXPECT_EQ(2u, CountOf(log, std::wstring(L"Compiling package: ") + project + L"...Success\r\n"))
            << ToUtf8(project);
    for (const wchar_t* package :
         {L"\\Win32\\qvl370.bpl", L"\\Win64\\qvl370.bpl", L"\\Win32\\dclqvl370.bpl", L"\\Win64\\dclqvl370.bpl"})
        EXPECT_EQ(1u, CountOf(log, L"Check file: " + folder + package + L"...Success\r\n")) << ToUtf8(package);

    const std::wstring key = IdeTable[kStudio13].RegKey;
    EXPECT_EQ(RegText(HKEY_CURRENT_USER, key + KnownPackagesKey, folder + L"\\Win32\\dclqvl370.bpl"),
              L"Tessel library v4.09");
    EXPECT_EQ(RegText(HKEY_CURRENT_USER, key + KnownPackagesX64Key, folder + L"\\Win64\\dclqvl370.bpl"),
              L"Tessel library v4.09");
    EXPECT_EQ(RegText(HKEY_CURRENT_USER, key + KnownPackagesKey, folder + L"\\Win64\\dclqvl370.bpl"), L"<missing>");
    for (const wchar_t* bpl : {L"\\Bpl\\qvl370.bpl", L"\\Bpl\\Win64\\qvl370.bpl"})
        EXPECT_TRUE(PathExists(StandinCommonDir(kStudio13) + bpl)) << ToUtf8(bpl);
    for (const std::wstring platform : {L"Win32", L"Win64"}) {
        const std::wstring entry = L";" + folder + L"\\" + platform;
        EXPECT_NE(std::wstring::npos,
                  RegText(HKEY_CURRENT_USER, key + L"\\Library\\" + platform, L"Search Path").find(entry))
            << ToUtf8(platform);
        EXPECT_NE(std::wstring::npos,
                  RegText(HKEY_CURRENT_USER, key + L"\\C++\\Paths\\" + platform, L"LibraryPath").find(entry))
            << ToUtf8(platform);
    }
}
