//---------------------------------------------------------------------------
// Tessel library 4.09 - demo project "PropDemo"
// Copyright (c) 1998-2024 Veltrane.
// TqvPropStorage and TqvCollectionStorage keep chosen properties.
//---------------------------------------------------------------------------
#ifndef PropMainH
#define PropMainH
//---------------------------------------------------------------------------
#include <Classes.hpp>
#include <Controls.hpp>
#include <Forms.hpp>
#include <ComCtrls.hpp>
#include <ExtCtrls.hpp>
#include <StdCtrls.hpp>
#include "qvStorage.hpp"
#include "qvIniStorage.hpp"
#include "qvFormPlacement.hpp"
#include "qvPropStorage.hpp"
#include "qvCollStorage.hpp"
//---------------------------------------------------------------------------
class TMainForm : public TForm
{
__published:	// IDE-managed Components
    TqvIniStorage *Storage;
    TqvFormPlacement *Placement;
    TqvPropStorage *Props;
    TPanel *LeftPanel;
    TRadioGroup *ThemeGroup;
    TLabel *ZoomLabel;
    TTrackBar *ZoomBar;
    TCheckBox *WrapCheck;
    TCheckBox *StatusCheck;
    TSplitter *Splitter;
    TListView *FileList;
    TqvCollectionStorage *Columns;
    TStatusBar *StatusBar;
    void __fastcall FormCreate(TObject *Sender);
    void __fastcall StatusCheckClick(TObject *Sender);
private:	// User declarations
public:		// User declarations
    __fastcall TMainForm(TComponent* Owner);
};
//---------------------------------------------------------------------------
extern PACKAGE TMainForm *MainForm;
//---------------------------------------------------------------------------
#endif
