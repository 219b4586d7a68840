//---------------------------------------------------------------------------
// Tessel library 4.09 - demo project "DlgDemo"
// Copyright (c) 1998-2024 Veltrane.
// TqvSettingsDialog edits registry values; the defaults come from DlgDemo.ini.
//---------------------------------------------------------------------------
#include <vcl.h>
#pragma hdrstop

#include "DlgMain.h"
//---------------------------------------------------------------------------
#pragma package(smart_init)
#pragma link "qvStorage"
#pragma link "qvRegStorage"
#pragma link "qvIniStorage"
#pragma link "qvSettingsDlg"
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
    ShowSettings();
}
//---------------------------------------------------------------------------
void TMainForm::ShowSettings()
{
    // Values not written yet fall back to DlgDemo.ini beside the program.
    ValuesMemo->Lines->Clear();
    ValuesMemo->Lines->Add("Font: " +
        Storage->ReadString("Editor\\FontName", Defaults->ReadString("Editor\\FontName", "")) + ", " +
        IntToStr(Storage->ReadInteger("Editor\\FontSize", Defaults->ReadInteger("Editor\\FontSize", 10))) + " pt");
    ValuesMemo->Lines->Add("Tab width: " +
        IntToStr(Storage->ReadInteger("Editor\\TabWidth", Defaults->ReadInteger("Editor\\TabWidth", 4))));
    ValuesMemo->Lines->Add("Backup folder: " +
        Storage->ReadString("Backup\\Folder", Defaults->ReadString("Backup\\Folder", "")));
}
//---------------------------------------------------------------------------
void __fastcall TMainForm::SettingsButtonClick(TObject *Sender)
{
    SettingsDialog->Execute();
}
//---------------------------------------------------------------------------
void __fastcall TMainForm::SettingsDialogApply(TObject *Sender)
{
    ShowSettings();
}
//---------------------------------------------------------------------------
