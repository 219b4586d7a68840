//---------------------------------------------------------------------------
// Tessel library 4.09 - demo project "PlaceDemo"
// Copyright (c) 1998-2024 Veltrane.
// TqvFormPlacement keeps the position, size and state of the window.
//---------------------------------------------------------------------------
#ifndef PlaceMainH
#define PlaceMainH
//---------------------------------------------------------------------------
#include <Classes.hpp>
#include <Controls.hpp>
#include <Forms.hpp>
#include <StdCtrls.hpp>
#include "qvStorage.hpp"
#include "qvIniStorage.hpp"
#include "qvFormPlacement.hpp"
//---------------------------------------------------------------------------
class TMainForm : public TForm
{
__published:	// IDE-managed Components
    TqvIniStorage *Storage;
    TqvFormPlacement *Placement;
    TLabel *HintLabel;
    TCheckBox *PositionCheck;
    TCheckBox *SizeCheck;
    TCheckBox *StateCheck;
    TLabel *BoundsLabel;
    TButton *ResetButton;
    TButton *ChildButton;
    void __fastcall FormCreate(TObject *Sender);
    void __fastcall FormResize(TObject *Sender);
    void __fastcall OptionClick(TObject *Sender);
    void __fastcall ResetButtonClick(TObject *Sender);
    void __fastcall ChildButtonClick(TObject *Sender);
private:	// User declarations
public:		// User declarations
    __fastcall TMainForm(TComponent* Owner);
};
//---------------------------------------------------------------------------
extern PACKAGE TMainForm *MainForm;
//---------------------------------------------------------------------------
#endif
