{******************************************************************************}
{                                                                              }
{  Tessel library 4.09                                                         }
{  Copyright (c) 1998-2024 Veltrane. All rights reserved.                      }
{                                                                              }
{  qvAbout - the library's about box, shown from the components' context menu  }
{                                                                              }
{******************************************************************************}

unit qvAbout;

{$I qvTessel.inc}

interface

uses
  Windows, SysUtils, Classes, Graphics, Controls, Forms, StdCtrls, ExtCtrls;

type
  TqvAboutForm = class(TForm)
    LogoImage: TImage;
    ProductLabel: TLabel;
    VersionLabel: TLabel;
    CopyrightLabel: TLabel;
    DescriptionLabel: TLabel;
    HomePageLabel: TLabel;
    Bevel: TBevel;
    OKButton: TButton;
    procedure FormCreate(Sender: TObject);
    procedure HomePageLabelClick(Sender: TObject);
  end;

procedure qvShowAbout;

implementation

uses
  ShellAPI, qvConsts, qvVersion;

{$R *.DFM}

procedure qvShowAbout;
begin
  with TqvAboutForm.Create(Application) do
  try
    ShowModal;
  finally
    Free;
  end;
end;

procedure TqvAboutForm.FormCreate(Sender: TObject);
begin
  ProductLabel.Caption := qvProductName;
  VersionLabel.Caption := 'Version ' + qvLibraryVersion;
  CopyrightLabel.Caption := qvCopyright;
  HomePageLabel.Caption := qvHomePage;
  { The logo comes from qvAboutBox.res, linked into the design-time
    package; without it the box simply shows no picture. }
  if FindResource(HInstance, qvResAboutLogo, RT_BITMAP) <> 0 then
    LogoImage.Picture.Bitmap.LoadFromResourceName(HInstance, qvResAboutLogo);
end;

procedure TqvAboutForm.HomePageLabelClick(Sender: TObject);
begin
  ShellExecute(Handle, 'open', PChar(qvHomePage), nil, nil, SW_SHOWNORMAL);
end;

end.
