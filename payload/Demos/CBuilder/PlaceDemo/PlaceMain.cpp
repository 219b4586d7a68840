//---------------------------------------------------------------------------
// Tessel library 4.09 - demo project "PlaceDemo"
// Copyright (c) 1998-2024 Veltrane.
// TqvFormPlacement keeps the position, size and state of the window.
//---------------------------------------------------------------------------
#include <vcl.h>
#pragma hdrstop

#include "PlaceMain.h"
#include "ChildForm.h"
//---------------------------------------------------------------------------
#pragma package(smart_init)
#pragma link "qvStorage"
#pragma link "qvIniStorage"
#pragma link "qvFormPlacement"
#pragma resource "*.dfm"
TMainForm *MainForm;
//---------------------------------------------------------------------------
__fastcall TMainForm::TMainForm(TComponent* Owner)
    : TForm(Owner)
{
}
//---------------------------------------------------------------------------
void __fastcall TMainForm::FormCreate(TObject *Sender)
{
    FormResize(NULL);
}
//---------------------------------------------------------------------------
void __fastcall TMainForm::FormResize(TObject *Sender)
{
    BoundsLabel->Caption = Format("Left %d, top %d, width %d, height %d",
        ARRAYOFCONST((Left, Top, Width, Height)));
}
//---------------------------------------------------------------------------
void __fastcall TMainForm::OptionClick(TObject *Sender)
{
    TqvPlacementOptions options;
    if (PositionCheck->Checked)
        options << plPosition;
    if (SizeCheck->Checked)
        options << plSize;
    if (StateCheck->Checked)
        options << plState;
    Placement->Options = options;
}
//---------------------------------------------------------------------------
void __fastcall TMainForm::ResetButtonClick(TObject *Sender)
{
    // Forget what was stored and keep nothing when the window closes.
    Storage->EraseSection("MainForm\\Placement");
    Placement->Enabled = false;
}
//---------------------------------------------------------------------------
void __fastcall TMainForm::ChildButtonClick(TObject *Sender)
{
    TChildForm *child = new TChildForm(this);
    try
    {
        child->ShowModal();
    }
    __finally
    {
        delete child;
    }
}
//---------------------------------------------------------------------------
