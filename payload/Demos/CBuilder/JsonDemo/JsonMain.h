//---------------------------------------------------------------------------
// Tessel library 4.09 - demo project "JsonDemo"
// Copyright (c) 1998-2024 Veltrane.
// A JSON settings file with a list of recently opened files.
//---------------------------------------------------------------------------
#ifndef JsonMainH
#define JsonMainH
//---------------------------------------------------------------------------
#include <Classes.hpp>
#include <Controls.hpp>
#include <Forms.hpp>
#include <Dialogs.hpp>
#include <StdCtrls.hpp>
#include "qvStorage.hpp"
#include "qvJsonStorage.hpp"
#include "qvFormPlacement.hpp"
#include "qvStrHolder.hpp"
//---------------------------------------------------------------------------
class TMainForm : public TForm
{
__published:	// IDE-managed Components
    TqvJsonStorage *Storage;
    TqvFormPlacement *Placement;
    TqvStrHolder *Recent;
    TOpenDialog *OpenDialog;
    TLabel *RecentLabel;
    TListBox *RecentList;
    TButton *OpenButton;
    TButton *ClearButton;
    TLabel *JsonLabel;
    TMemo *JsonMemo;
    TButton *SaveButton;
    void __fastcall FormCreate(TObject *Sender);
    void __fastcall OpenButtonClick(TObject *Sender);
    void __fastcall ClearButtonClick(TObject *Sender);
    void __fastcall SaveButtonClick(TObject *Sender);
private:	// User declarations
    void ShowState();
public:		// User declarations
    __fastcall TMainForm(TComponent* Owner);
};
//---------------------------------------------------------------------------
extern PACKAGE TMainForm *MainForm;
//---------------------------------------------------------------------------
#endif
