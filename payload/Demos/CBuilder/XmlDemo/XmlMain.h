//---------------------------------------------------------------------------
// Tessel library 4.09 - demo project "XmlDemo"
// Copyright (c) 1998-2024 Veltrane.
// An XML settings file, a stored search history and stored options.
//---------------------------------------------------------------------------
#ifndef XmlMainH
#define XmlMainH
//---------------------------------------------------------------------------
#include <Classes.hpp>
#include <Controls.hpp>
#include <Forms.hpp>
#include <ExtCtrls.hpp>
#include <StdCtrls.hpp>
#include "qvStorage.hpp"
#include "qvXmlStorage.hpp"
#include "qvPropStorage.hpp"
#include "qvStrHolder.hpp"
//---------------------------------------------------------------------------
class TMainForm : public TForm
{
__published:	// IDE-managed Components
    TqvXmlStorage *Storage;
    TqvPropStorage *Props;
    TqvStrHolder *History;
    TRadioGroup *UnitsGroup;
    TLabel *DecimalsLabel;
    TEdit *DecimalsEdit;
    TCheckBox *GridCheck;
    TLabel *SearchLabel;
    TComboBox *SearchCombo;
    TButton *FindButton;
    TLabel *XmlLabel;
    TMemo *XmlMemo;
    TButton *SaveButton;
    void __fastcall FormCreate(TObject *Sender);
    void __fastcall FindButtonClick(TObject *Sender);
    void __fastcall SaveButtonClick(TObject *Sender);
private:	// User declarations
    void ShowFile();
public:		// User declarations
    __fastcall TMainForm(TComponent* Owner);
};
//---------------------------------------------------------------------------
extern PACKAGE TMainForm *MainForm;
//---------------------------------------------------------------------------
#endif
