//---------------------------------------------------------------------------
// Tessel library 4.09 - demo project "JsonDemo"
// Copyright (c) 1998-2024 Veltrane.
// Tessel library - JSON demo
//---------------------------------------------------------------------------
#include <vcl.h>
#pragma hdrstop
USERES("JsonDemo.res");
USEFORM("JsonMain.cpp", MainForm);
//---------------------------------------------------------------------------
WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    try
    {
        Application->Initialize();
        Application->Title = "Tessel library - JSON demo";
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
