//---------------------------------------------------------------------------
// Tessel library 4.09 - demo project "IniDemo"
// Copyright (c) 1998-2024 Veltrane.
// An ini file in the program folder keeps the window and the controls.
//---------------------------------------------------------------------------
#ifndef IniMainH
#define IniMainH
//---------------------------------------------------------------------------
#include <Classes.hpp>
#include <Controls.hpp>
#include <Forms.hpp>
#include <ComCtrls.hpp>
#include <StdCtrls.hpp>
#include "qvStorage.hpp"
#include "qvIniStorage.hpp"
#include "qvFormPlacement.hpp"
#include "qvPropStorage.hpp"
//---------------------------------------------------------------------------
class TMainForm : public TForm
{
__published:	// IDE-managed Components
    TqvIniStorage *Storage;
    TqvFormPlacement *Placement;
    TqvPropStorage *Props;
    TLabel *NameLabel;
    TEdit *NameEdit;
    TLabel *ColorLabel;
    TComboBox *ColorCombo;
    TCheckBox *SoundCheck;
    TLabel *VolumeLabel;
    TTrackBar *VolumeBar;
    TLabel *NotesLabel;
    TMemo *NotesMemo;
    TButton *SaveButton;
    TButton *ReloadButton;
    TButton *ShowFileButton;
    void __fastcall FormCreate(TObject *Sender);
    void __fastcall SaveButtonClick(TObject *Sender);
    void __fastcall ReloadButtonClick(TObject *Sender);
    void __fastcall ShowFileButtonClick(TObject *Sender);
private:	// User declarations
public:		// User declarations
    __fastcall TMainForm(TComponent* Owner);
};
//---------------------------------------------------------------------------
extern PACKAGE TMainForm *MainForm;
//---------------------------------------------------------------------------
#endif
