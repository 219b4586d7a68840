//---------------------------------------------------------------------------
// Tessel library 4.09 - demo project "PropDemo"
// Copyright (c) 1998-2024 Veltrane.
// Tessel library - stored properties demo
//---------------------------------------------------------------------------
#include <vcl.h>
#pragma hdrstop
USERES("PropDemo.res");
USEFORM("PropMain.cpp", MainForm);
//---------------------------------------------------------------------------
WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    try
    {
        Application->Initialize();
        Application->Title = "Tessel library - stored properties demo";
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
