//---------------------------------------------------------------------------
// Tessel library 4.09 run-time package for C++Builder 4
//---------------------------------------------------------------------------
#include <vcl.h>
#pragma hdrstop
USERES("qvl40.res");
USEPACKAGE("vcl40.bpi");
USEPACKAGE("vcldb40.bpi");
USEUNIT("..\Source\qvConsts.pas");
USEUNIT("..\Source\qvResStr.pas");
USEUNIT("..\Source\qvVersion.pas");
USEUNIT("..\Source\qvUtils.pas");
USEUNIT("..\Source\qvCrypt.pas");
USEUNIT("..\Source\qvStreams.pas");
USEUNIT("..\Source\qvCmdLine.pas");
USEUNIT("..\Source\qvStorage.pas");
USEUNIT("..\Source\qvIniStorage.pas");
USEUNIT("..\Source\qvRegStorage.pas");
USEUNIT("..\Source\qvXmlStorage.pas");
USEUNIT("..\Source\qvEnvStorage.pas");
USEUNIT("..\Source\qvStrHolder.pas");
USEUNIT("..\Source\qvFormPlacement.pas");
USEUNIT("..\Source\qvPropStorage.pas");
USEFORMNS("..\Source\qvSettingsDlg.pas", Qvsettingsdlg, qvSettingsForm);
USEUNIT("..\Source\qvJsonStorage.pas");
USEUNIT("..\Source\qvCollStorage.pas");
USEUNIT("..\Source\qvDbStorage.pas");
USEUNIT("..\Source\qvAppEvents.pas");
//---------------------------------------------------------------------------
#pragma package(smart_init)
//---------------------------------------------------------------------------
//   Package source.
//---------------------------------------------------------------------------
#pragma argsused
int WINAPI DllEntryPoint(HINSTANCE hinst, unsigned long reason, void*)
{
    return 1;
}
//---------------------------------------------------------------------------
