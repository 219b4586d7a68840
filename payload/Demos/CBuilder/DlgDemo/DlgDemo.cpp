//---------------------------------------------------------------------------
// Tessel library 4.09 - demo project "DlgDemo"
// Copyright (c) 1998-2024 Veltrane.
// Tessel library - settings dialog demo
//---------------------------------------------------------------------------
#include <vcl.h>
#pragma hdrstop
USERES("DlgDemo.res");
USEFORM("DlgMain.cpp", MainForm);
//---------------------------------------------------------------------------
WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    try
    {
        Application->Initialize();
        Application->Title = "Tessel library - settings dialog demo";
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
