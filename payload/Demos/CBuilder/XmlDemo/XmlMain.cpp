//---------------------------------------------------------------------------
// Tessel library 4.09 - demo project "XmlDemo"
// Copyright (c) 1998-2024 Veltrane.
// An XML settings file, a stored search history and stored options.
//---------------------------------------------------------------------------
#include <vcl.h>
#pragma hdrstop

#include "XmlMain.h"
//---------------------------------------------------------------------------
#pragma package(smart_init)
#pragma link "qvStorage"
#pragma link "qvXmlStorage"
#pragma link "qvPropStorage"
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
    SearchCombo->Items->Assign(History->Strings);
    ShowFile();
}
//---------------------------------------------------------------------------
void TMainForm::ShowFile()
{
    XmlMemo->Lines->Text = Storage->AsXml;
}
//---------------------------------------------------------------------------
void __fastcall TMainForm::FindButtonClick(TObject *Sender)
{
    if (Trim(SearchCombo->Text).IsEmpty())
        return;
    History->AddRecent(Trim(SearchCombo->Text));
    SearchCombo->Items->Assign(History->Strings);
    SearchCombo->ItemIndex = 0;
}
//---------------------------------------------------------------------------
void __fastcall TMainForm::SaveButtonClick(TObject *Sender)
{
    Storage->Save();
    ShowFile();
}
//---------------------------------------------------------------------------
