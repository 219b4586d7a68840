# ---------------------------------------------------------------------------
# Tessel library 4.09 design-time package for C++Builder 5
# Build it with:  make -fdclqvl50.mak
# ---------------------------------------------------------------------------
!if !$d(BCB)
BCB = $(MAKEDIR)\..
!endif

# ---------------------------------------------------------------------------
# IDE SECTION
# ---------------------------------------------------------------------------
VERSION = BCB.05.03
# ---------------------------------------------------------------------------
PROJECT = dclqvl50.bpl
OBJFILES = dclqvl50.obj qvAbout.obj qvEditors.obj qvStorageEditor.obj qvReg.obj
RESFILES = dclqvl50.res ..\Source\qvReg.dcr ..\Source\qvAboutBox.res
RESDEPEN = $(RESFILES)
LIBFILES =
LIBRARIES =
SPARELIBS = vcl50.lib qvl50.lib
PACKAGES = vcl50.bpi qvl50.bpi
PASUNITS = ..\Source\qvAbout.pas ..\Source\qvEditors.pas ..\Source\qvStorageEditor.pas ..\Source\qvReg.pas
DEFFILE =
OTHERFILES =
# ---------------------------------------------------------------------------
PATHCPP = .;
PATHPAS = .;..\Source
PATHASM = .;
PATHRC = .;..\Source
DEBUGLIBPATH = $(BCB)\lib\debug
RELEASELIBPATH = $(BCB)\lib\release
USERDEFINES = NDEBUG
SYSDEFINES = NO_STRICT;_RTLDLL;USEPACKAGES
INCLUDEPATH = ..\Source;$(BCB)\include;$(BCB)\include\vcl
LIBPATH = ..\Source;$(BCB)\lib\obj;$(BCB)\lib
# ---------------------------------------------------------------------------
CFLAG1 = -O2 -H=$(BCB)\lib\vcl.csm -Hc -Vx -Ve -X- -a8 -b- -k- -vi -c -tWM
PFLAGS = -$YD -$L- -$D- -v -JPHNE -M
RFLAGS =
AFLAGS = /mx /w2 /zn
LFLAGS = -D"Tessel library 4.09 design-time package for C++Builder 5" -aa -Tpp -Gpr -x -Gn -Gl -Gi -Gpd
# ---------------------------------------------------------------------------
ALLOBJ = c0pkg32.obj $(PACKAGES) sysinit.obj $(OBJFILES)
ALLRES = $(RESFILES)
ALLLIB = $(LIBFILES) $(LIBRARIES) import32.lib cp32mti.lib
# ---------------------------------------------------------------------------
!ifdef IDEOPTIONS

[Version Info]
IncludeVerInfo=1
AutoIncBuild=0
MajorVer=4
MinorVer=9
Release=0
Build=0
Locale=1033
CodePage=1252

[Version Info Keys]
CompanyName=Veltrane
FileDescription=Tessel library 4.09 design-time package for C++Builder 5
FileVersion=4.9.0.0
InternalName=dclqvl50
OriginalFilename=dclqvl50.bpl
ProductName=Tessel library
ProductVersion=4.09

!endif

# ---------------------------------------------------------------------------
# MAKE SECTION
# ---------------------------------------------------------------------------
!if !$d(BCC32)
BCC32 = bcc32
!endif

!if !$d(DCC32)
DCC32 = dcc32
!endif

!if !$d(LINKER)
LINKER = ilink32
!endif

!if !$d(BRCC32)
BRCC32 = brcc32
!endif

!if $d(PATHCPP)
.PATH.CPP = $(PATHCPP)
.PATH.C   = $(PATHCPP)
!endif

!if $d(PATHPAS)
.PATH.PAS = $(PATHPAS)
!endif

# ---------------------------------------------------------------------------
$(PROJECT): $(OBJFILES) $(RESDEPEN) $(DEFFILE)
    $(BCB)\BIN\$(LINKER) @&&!
    $(LFLAGS) -L$(LIBPATH) +
    $(ALLOBJ), +
    $(PROJECT),, +
    $(ALLLIB), +
    $(DEFFILE), +
    $(ALLRES)
!

.pas.hpp:
    $(BCB)\BIN\$(DCC32) $(PFLAGS) -U$(INCLUDEPATH) -D$(USERDEFINES);$(SYSDEFINES) -O$(INCLUDEPATH) --BCB {$< }

.pas.obj:
    $(BCB)\BIN\$(DCC32) $(PFLAGS) -U$(INCLUDEPATH) -D$(USERDEFINES);$(SYSDEFINES) -O$(INCLUDEPATH) --BCB {$< }

.cpp.obj:
    $(BCB)\BIN\$(BCC32) $(CFLAG1) -n$(@D) -D$(USERDEFINES);$(SYSDEFINES) -o$@ {$< }

.rc.res:
    $(BCB)\BIN\$(BRCC32) $(RFLAGS) -I$(INCLUDEPATH) -D$(USERDEFINES);$(SYSDEFINES) -fo$@ $<
# ---------------------------------------------------------------------------
