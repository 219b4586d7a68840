//---------------------------------------------------------------------------
// Tessel library 4.09 - demo project "IniDemo"
// Copyright (c) 1998-2024 Veltrane.
// Tessel library - ini file demo
//---------------------------------------------------------------------------
#include <vcl.h>
#pragma hdrstop
USERES("IniDemo.res");
USEFORM("IniMain.cpp", MainForm);
//---------------------------------------------------------------------------
WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    try
    {
        Application->Initialize();
        Application->Title = "Tessel library - ini file demo";
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
