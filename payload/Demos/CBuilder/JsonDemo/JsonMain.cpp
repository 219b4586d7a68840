//---------------------------------------------------------------------------
// Tessel library 4.09 - demo project "JsonDemo"
// Copyright (c) 1998-2024 Veltrane.
// A JSON settings file with a list of recently opened files.
//---------------------------------------------------------------------------
#include <vcl.h>
#pragma hdrstop

#include "JsonMain.h"
//---------------------------------------------------------------------------
#pragma package(smart_init)
#pragma link "qvStorage"
#pragma link "qvJsonStorage"
#pragma link "qvFormPlacement"
#pragma link "qvStrHolder"
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
    ShowState();
}
//---------------------------------------------------------------------------
void TMainForm::ShowState()
{
    RecentList->Items->Assign(Recent->Strings);
    JsonMemo->Lines->Text = Storage->AsJson;
}
//---------------------------------------------------------------------------
void __fastcall TMainForm::OpenButtonClick(TObject *Sender)
{
    if (OpenDialog->Execute())
    {
        Recent->AddRecent(OpenDialog->FileName);
        ShowState();
    }
}
//---------------------------------------------------------------------------
void __fastcall TMainForm::ClearButtonClick(TObject *Sender)
{
    Recent->Strings->Clear();
    ShowState();
}
//---------------------------------------------------------------------------
void __fastcall TMainForm::SaveButtonClick(TObject *Sender)
{
    Storage->Save();
    ShowState();
}
//---------------------------------------------------------------------------
