//---------------------------------------------------------------------------
// Tessel library 4.09 - demo project "PlaceDemo"
// Copyright (c) 1998-2024 Veltrane.
// A second window whose placement is kept in its own section.
//---------------------------------------------------------------------------
#include <vcl.h>
#pragma hdrstop

#include "ChildForm.h"
#include "PlaceMain.h"
//---------------------------------------------------------------------------
#pragma package(smart_init)
#pragma link "qvStorage"
#pragma link "qvFormPlacement"
#pragma resource "*.dfm"
TChildForm *ChildForm;
//---------------------------------------------------------------------------
__fastcall TChildForm::TChildForm(TComponent* Owner)
    : TForm(Owner)
{
}
//---------------------------------------------------------------------------
void __fastcall TChildForm::FormCreate(TObject *Sender)
{
    // The child shares the main form's storage. Its placement restores the
    // window when it is shown and saves it when it is destroyed, in the
    // section of its own form.
    Placement->Storage = MainForm->Storage;
}
//---------------------------------------------------------------------------
