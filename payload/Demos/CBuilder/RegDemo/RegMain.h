//---------------------------------------------------------------------------
// Tessel library 4.09 - demo project "RegDemo"
// Copyright (c) 1998-2024 Veltrane.
// Settings in the registry, read and written by the program's own code.
//---------------------------------------------------------------------------
#ifndef RegMainH
#define RegMainH
//---------------------------------------------------------------------------
#include <Classes.hpp>
#include <Controls.hpp>
#include <Forms.hpp>
#include <StdCtrls.hpp>
#include "qvStorage.hpp"
#include "qvRegStorage.hpp"
#include "qvFormPlacement.hpp"
//---------------------------------------------------------------------------
class TMainForm : public TForm
{
__published:	// IDE-managed Components
    TqvRegStorage *Storage;
    TqvFormPlacement *Placement;
    TLabel *StartsLabel;
    TLabel *LastRunLabel;
    TLabel *ValuesLabel;
    TListBox *ValueList;
    TLabel *NameLabel;
    TEdit *NameEdit;
    TLabel *ValueLabel;
    TEdit *ValueEdit;
    TButton *WriteButton;
    TButton *DeleteButton;
    TButton *ClearButton;
    void __fastcall FormCreate(TObject *Sender);
    void __fastcall WriteButtonClick(TObject *Sender);
    void __fastcall DeleteButtonClick(TObject *Sender);
    void __fastcall ClearButtonClick(TObject *Sender);
private:	// User declarations
    void ShowValues();
public:		// User declarations
    __fastcall TMainForm(TComponent* Owner);
};
//---------------------------------------------------------------------------
extern PACKAGE TMainForm *MainForm;
//---------------------------------------------------------------------------
#endif
