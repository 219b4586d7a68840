//---------------------------------------------------------------------------
// Tessel library 4.09 - demo project "XmlDemo"
// Copyright (c) 1998-2024 Veltrane.
// Tessel library - XML demo
//---------------------------------------------------------------------------
#include <vcl.h>
#pragma hdrstop
USERES("XmlDemo.res");
USEFORM("XmlMain.cpp", MainForm);
//---------------------------------------------------------------------------
WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    try
    {
        Application->Initialize();
        Application->Title = "Tessel library - XML demo";
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
