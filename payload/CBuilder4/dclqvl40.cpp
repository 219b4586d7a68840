//---------------------------------------------------------------------------
// Tessel library 4.09 design-time package for C++Builder 4
//---------------------------------------------------------------------------
#include <vcl.h>
#pragma hdrstop
USERES("dclqvl40.res");
USERES("..\Source\qvReg.dcr");
USERES("..\Source\qvAboutBox.res");
USEPACKAGE("vcl40.bpi");
USEPACKAGE("qvl40.bpi");
USEFORMNS("..\Source\qvAbout.pas", Qvabout, qvAboutForm);
USEUNIT("..\Source\qvEditors.pas");
USEFORMNS("..\Source\qvStorageEditor.pas", Qvstorageeditor, qvStorageEditorForm);
USEUNIT("..\Source\qvReg.pas");
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
