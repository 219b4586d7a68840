//---------------------------------------------------------------------------
// Tessel library 4.09 - demo project "PlaceDemo"
// Copyright (c) 1998-2024 Veltrane.
// A second window whose placement is kept in its own section.
//---------------------------------------------------------------------------
#ifndef ChildFormH
#define ChildFormH
//---------------------------------------------------------------------------
#include <Classes.hpp>
#include <Controls.hpp>
#include <Forms.hpp>
#include <StdCtrls.hpp>
#include "qvStorage.hpp"
#include "qvFormPlacement.hpp"
//---------------------------------------------------------------------------
class TChildForm : public TForm
{
__published:	// IDE-managed Components
    TqvFormPlacement *Placement;
    TLabel *InfoLabel;
    TButton *CloseButton;
    void __fastcall FormCreate(TObject *Sender);
private:	// User declarations
public:		// User declarations
    __fastcall TChildForm(TComponent* Owner);
};
//---------------------------------------------------------------------------
extern PACKAGE TChildForm *ChildForm;
//---------------------------------------------------------------------------
#endif
