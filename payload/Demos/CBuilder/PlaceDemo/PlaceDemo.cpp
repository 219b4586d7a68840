//---------------------------------------------------------------------------
// Tessel library 4.09 - demo project "PlaceDemo"
// Copyright (c) 1998-2024 Veltrane.
// Tessel library - form placement demo
//---------------------------------------------------------------------------
#include <vcl.h>
#pragma hdrstop
USERES("PlaceDemo.res");
USEFORM("PlaceMain.cpp", MainForm);
USEFORM("ChildForm.cpp", ChildForm);
//---------------------------------------------------------------------------
WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    try
    {
        Application->Initialize();
        Application->Title = "Tessel library - form placement demo";
        Application->CreateForm(__classid(TMainForm), &MainForm);
        Application->Run();
    }
    catch (Exception &exception)
    {
        Application->ShowException(&exception);
    }
    return 0;
}
//---------------------------------------------------------------------------
