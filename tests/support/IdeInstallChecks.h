// What an install must leave for an IDE, checked the same way by the tests
// that drive the wizard, the unattended install and the headless runner.
#pragma once
#include <string>

// RAD Studio 13 with its 64-bit IDE, installed into installDir: the install
// log names both packages built for Win32 and for Win64, each IDE lists its
// design package ("Known Packages" the Win32 one, "Known Packages x64" the
// Win64 one), the run-time packages are in the common "Bpl" and "Bpl\Win64"
// folders, and the Delphi and C++ paths of both platforms name the package
// folders. Failures are test failures.
void ExpectStudio13With64BitIde(const std::wstring& installDir);
