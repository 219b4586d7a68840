//---------------------------------------------------------------------------
// Tessel library 4.09 - demo project "IniDemo"
// Copyright (c) 1998-2024 Veltrane.
// An ini file in the program folder keeps the window and the controls.
//---------------------------------------------------------------------------
#include <vcl.h>
#include <shellapi.h>
#pragma hdrstop

#include "IniMain.h"
//---------------------------------------------------------------------------
#pragma package(smart_init)
#pragma link "qvStorage"
#pragma link "qvIniStorage"
#pragma link "qvFormPlacement"
#pragma link "qvPropStorage"
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
    // Values the program reads and writes itself, next to the ones the
    // components keep.
    int runs = Storage->ReadInteger("Statistics\\RunCount", 0) + 1;
    Storage->WriteInteger("Statistics\\RunCount", runs);
    Storage->WriteDateTime("Statistics\\LastRun", Now());
    Caption = Caption + " (run " + IntToStr(runs) + ")";
}
//---------------------------------------------------------------------------
void __fastcall TMainForm::SaveButtonClick(TObject *Sender)
{
    Storage->Save();
}
//---------------------------------------------------------------------------
void __fastcall TMainForm::ReloadButtonClick(TObject *Sender)
{
    // Close drops what is cached, so the file is read again.
    Storage->Close();
    Storage->Restore();
}
//---------------------------------------------------------------------------
void __fastcall TMainForm::ShowFileButtonClick(TObject *Sender)
{
    Storage->Flush();
    ShellExecute(Handle, "open", "notepad.exe", Storage->FullFileName().c_str(),
        NULL, SW_SHOWNORMAL);
}
//---------------------------------------------------------------------------
