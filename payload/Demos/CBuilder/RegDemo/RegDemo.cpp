//---------------------------------------------------------------------------
// Tessel library 4.09 - demo project "RegDemo"
// Copyright (c) 1998-2024 Veltrane.
// Tessel library - registry demo
//---------------------------------------------------------------------------
#include <vcl.h>
#pragma hdrstop
USERES("RegDemo.res");
USEFORM("RegMain.cpp", MainForm);
//---------------------------------------------------------------------------
WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    try
    {
        Application->Initialize();
        Application->Title = "Tessel library - registry demo";
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
