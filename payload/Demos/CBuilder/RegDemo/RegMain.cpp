//---------------------------------------------------------------------------
// Tessel library 4.09 - demo project "RegDemo"
// Copyright (c) 1998-2024 Veltrane.
// Settings in the registry, read and written by the program's own code.
//---------------------------------------------------------------------------
#include <vcl.h>
#pragma hdrstop

#include "RegMain.h"
//---------------------------------------------------------------------------
#pragma package(smart_init)
#pragma link "qvStorage"
#pragma link "qvRegStorage"
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
    int starts = Storage->ReadInteger("Statistics\\Starts", 0) + 1;
    TDateTime lastRun = Storage->ReadDateTime("Statistics\\LastRun", 0);
    Storage->WriteInteger("Statistics\\Starts", starts);
    Storage->WriteDateTime("Statistics\\LastRun", Now());
    StartsLabel->Caption = "Started " + IntToStr(starts) + " times";
    if (double(lastRun) != 0)
        LastRunLabel->Caption = "Last run: " + DateTimeToStr(lastRun);
    else
        LastRunLabel->Caption = "First run";
    ShowValues();
}
//---------------------------------------------------------------------------
void TMainForm::ShowValues()
{
    TStringList *names = new TStringList;
    try
    {
        Storage->ReadValueNames("User", names);
        ValueList->Items->Clear();
        for (int i = 0; i < names->Count; i++)
            ValueList->Items->Add(names->Strings[i] + " = " +
                Storage->ReadString("User\\" + names->Strings[i], ""));
    }
    __finally
    {
        delete names;
    }
}
//---------------------------------------------------------------------------
void __fastcall TMainForm::WriteButtonClick(TObject *Sender)
{
    if (Trim(NameEdit->Text).IsEmpty())
        return;
    Storage->WriteString("User\\" + Trim(NameEdit->Text), ValueEdit->Text);
    ShowValues();
}
//---------------------------------------------------------------------------
void __fastcall TMainForm::DeleteButtonClick(TObject *Sender)
{
    if (!Trim(NameEdit->Text).IsEmpty())
        Storage->DeleteValue("User\\" + Trim(NameEdit->Text));
    ShowValues();
}
//---------------------------------------------------------------------------
void __fastcall TMainForm::ClearButtonClick(TObject *Sender)
{
    Storage->EraseSection("User");
    ShowValues();
}
//---------------------------------------------------------------------------
