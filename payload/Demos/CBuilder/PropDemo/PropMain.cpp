//---------------------------------------------------------------------------
// Tessel library 4.09 - demo project "PropDemo"
// Copyright (c) 1998-2024 Veltrane.
// TqvPropStorage and TqvCollectionStorage keep chosen properties.
//---------------------------------------------------------------------------
#include <vcl.h>
#pragma hdrstop

#include "PropMain.h"
//---------------------------------------------------------------------------
#pragma package(smart_init)
#pragma link "qvStorage"
#pragma link "qvIniStorage"
#pragma link "qvFormPlacement"
#pragma link "qvPropStorage"
#pragma link "qvCollStorage"
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
    TListItem *item = FileList->Items->Add();
    item->Caption = "Sample.ini";
    item->SubItems->Add("1 KB");
    item->SubItems->Add(DateToStr(Date()));
    item = FileList->Items->Add();
    item->Caption = "Settings.xml";
    item->SubItems->Add("2 KB");
    item->SubItems->Add(DateToStr(Date()));
    StatusCheck->Checked = StatusBar->Visible;
}
//---------------------------------------------------------------------------
void __fastcall TMainForm::StatusCheckClick(TObject *Sender)
{
    StatusBar->Visible = StatusCheck->Checked;
}
//---------------------------------------------------------------------------
