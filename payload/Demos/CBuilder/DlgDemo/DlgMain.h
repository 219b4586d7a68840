//---------------------------------------------------------------------------
// Tessel library 4.09 - demo project "DlgDemo"
// Copyright (c) 1998-2024 Veltrane.
// TqvSettingsDialog edits registry values; the defaults come from DlgDemo.ini.
//---------------------------------------------------------------------------
#ifndef DlgMainH
#define DlgMainH
//---------------------------------------------------------------------------
#include <Classes.hpp>
#include <Controls.hpp>
#include <Forms.hpp>
#include <StdCtrls.hpp>
#include "qvStorage.hpp"
#include "qvRegStorage.hpp"
#include "qvIniStorage.hpp"
#include "qvSettingsDlg.hpp"
//---------------------------------------------------------------------------
class TMainForm : public TForm
{
__published:	// IDE-managed Components
    TqvRegStorage *Storage;
    TqvIniStorage *Defaults;
    TqvSettingsDialog *SettingsDialog;
    TLabel *InfoLabel;
    TMemo *ValuesMemo;
    TButton *SettingsButton;
    void __fastcall FormCreate(TObject *Sender);
    void __fastcall SettingsButtonClick(TObject *Sender);
    void __fastcall SettingsDialogApply(TObject *Sender);
private:	// User declarations
    void ShowSettings();
public:		// User declarations
    __fastcall TMainForm(TComponent* Owner);
};
//---------------------------------------------------------------------------
extern PACKAGE TMainForm *MainForm;
//---------------------------------------------------------------------------
#endif
