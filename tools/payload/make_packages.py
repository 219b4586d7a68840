#!/usr/bin/env python3
"""Writes the package projects of the Tessel library for every supported IDE
into payload/<folder>/: the .dpk package sources, the option files (.cfg,
dcc32.cfg, dcc64.cfg), the IDE project files (.dof, .bdsproj, .dproj), the
C++Builder make files and package sources (.bpk, .mak, .cpp) and the
compiled package resources (.res).

Run from anywhere:  python3 tools/payload/make_packages.py
The output is committed; run again after changing the table or the unit
lists below. Python 3 standard library only (plus windres for the .res).
"""
import os
import sys
import uuid

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import respack  # noqa: E402

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
PAYLOAD = os.path.join(ROOT, "payload")

# One row per package folder.
#  folder, suffix, id base, flavour, compiler symbol, CompilerVersion,
#  IDE title, project file version
# flavour: d3 (dpk only), dof (Delphi 4-7), d2005, bds2006, dproj (2007-XE),
#          xe2 (XE2 and later: dcc32.cfg/dcc64.cfg, Win32 and Win64),
#          cb4, cb5 (C++Builder 5 and 6, XML .bpk plus exported .mak)
IDES = [
    ("Delphi3", "30", 90, "d3", "VER100", 10.0, "Delphi 3", ""),
    ("Delphi4", "40", 120, "dof", "VER120", 12.0, "Delphi 4", "4.0"),
    ("Delphi5", "50", 150, "dof", "VER130", 13.0, "Delphi 5", "5.0"),
    ("Delphi6", "60", 350, "dof", "VER140", 14.0, "Delphi 6", "6.0"),
    ("Delphi7", "70", 850, "dof", "VER150", 15.0, "Delphi 7", "7.0"),
    ("Delphi9", "90", 900, "d2005", "VER170", 17.0, "Delphi 2005", "9.0"),
    ("BDS2006", "2006", 1000, "bds2006", "VER180", 18.0, "Borland Developer Studio 2006", "10.0"),
    ("BDS2007", "2007", 1100, "dproj", "VER185", 18.5, "CodeGear RAD Studio 2007", "5.0"),
    ("BDS2009", "2009", 1200, "dproj", "VER200", 20.0, "CodeGear RAD Studio 2009", "12.0"),
    ("BDS2010", "2010", 1300, "dproj", "VER210", 21.0, "RAD Studio 2010", "12.0"),
    ("RADStudio8", "150", 1400, "dproj", "VER220", 22.0, "RAD Studio XE", "12.3"),
    ("RADStudio9", "160", 1500, "xe2", "VER230", 23.0, "RAD Studio XE2", "13.4"),
    ("RADStudio10", "170", 1600, "xe2", "VER240", 24.0, "RAD Studio XE3", "14.4"),
    ("RADStudio11", "180", 1700, "xe2", "VER250", 25.0, "RAD Studio XE4", "14.6"),
    ("RADStudio12", "190", 1800, "xe2", "VER260", 26.0, "RAD Studio XE5", "15.3"),
    ("RADStudio14", "200", 1900, "xe2", "VER270", 27.0, "RAD Studio XE6", "15.4"),
    ("RADStudio15", "210", 2000, "xe2", "VER280", 28.0, "RAD Studio XE7", "16.1"),
    ("RADStudio16", "220", 2100, "xe2", "VER290", 29.0, "RAD Studio XE8", "17.2"),
    ("RADStudio17", "230", 2200, "xe2", "VER300", 30.0, "RAD Studio XE10", "18.1"),
    ("RADStudio18", "240", 2300, "xe2", "VER310", 31.0, "RAD Studio XE10.1", "18.2"),
    ("RADStudio19", "250", 2400, "xe2", "VER320", 32.0, "RAD Studio XE10.2", "18.4"),
    ("RADStudio20", "260", 2500, "xe2", "VER330", 33.0, "RAD Studio XE10.3", "18.8"),
    ("RADStudio21", "270", 2600, "xe2", "VER340", 34.0, "RAD Studio XE10.4", "19.2"),
    ("RADStudio22", "280", 2700, "xe2", "VER350", 35.0, "RAD Studio 11", "19.5"),
    ("RADStudio23", "290", 2800, "xe2", "VER360", 36.0, "RAD Studio 12", "20.1"),
    ("CBuilder4", "40", 190, "cb4", "VER125", 12.5, "C++Builder 4", "BCB.04.04"),
    ("CBuilder5", "50", 220, "cb5", "VER130", 13.0, "C++Builder 5", "BCB.05.03"),
    ("CBuilder6", "60", 570, "cb5", "VER140", 14.0, "C++Builder 6", "BCB.06.00"),
]

# The run-time package's units, in dependency order; (unit, form or "").
RUNTIME_UNITS = [
    ("qvConsts", ""), ("qvResStr", ""), ("qvVersion", ""), ("qvUtils", ""),
    ("qvCrypt", ""), ("qvStreams", ""), ("qvCmdLine", ""), ("qvStorage", ""),
    ("qvIniStorage", ""), ("qvRegStorage", ""), ("qvXmlStorage", ""),
    ("qvEnvStorage", ""), ("qvStrHolder", ""), ("qvFormPlacement", ""),
    ("qvPropStorage", ""), ("qvSettingsDlg", "qvSettingsForm"),
]
# Units that need the IDE generation after Delphi 3.
RUNTIME_UNITS_D4 = [("qvJsonStorage", ""), ("qvCollStorage", ""),
                    ("qvDbStorage", ""), ("qvAppEvents", "")]
# Units that need the Variants unit and action lists of Delphi 6 and later.
RUNTIME_UNITS_D6 = [("qvVarUtils", ""), ("qvActionStorage", "")]
DESIGN_UNITS = [("qvAbout", "qvAboutForm"), ("qvEditors", ""),
                ("qvStorageEditor", "qvStorageEditorForm"), ("qvReg", "")]

CRLF = "\r\n"


def write_text(path, text):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    data = text.replace("\r\n", "\n").replace("\n", CRLF).encode("cp1252")
    with open(path, "wb") as fh:
        fh.write(data)


def guid(name):
    return "{" + str(uuid.uuid5(uuid.NAMESPACE_URL, "veltrane:tessel:" + name)).upper() + "}"


class Ide:
    def __init__(self, row):
        (self.folder, self.suffix, self.base, self.flavour, self.ver,
         self.compiler_version, self.title, self.project_version) = row
        self.rt = "qvl" + self.suffix
        self.dt = "dclqvl" + self.suffix

    @property
    def is_cpp(self):
        return self.flavour in ("cb4", "cb5")

    def runtime_units(self):
        units = list(RUNTIME_UNITS)
        if self.flavour != "d3":
            units += RUNTIME_UNITS_D4
        if self.compiler_version >= 14.0:
            units += RUNTIME_UNITS_D6
        return units

    def source_dir(self):
        return "" if self.flavour == "d3" else "..\\Source\\"

    def requires(self, design):
        v = self.compiler_version
        if v < 14.0:
            vcl = {10.0: "vcl30", 12.0: "vcl40", 12.5: "vcl40", 13.0: "vcl50"}[v]
            db = {10.0: None, 12.0: "vcldb40", 12.5: "vcldb40", 13.0: "vcldb50"}[v]
            if design:
                return [vcl, self.rt]
            return [vcl] + ([db] if db else [])
        if design:
            return ["rtl", "vcl", "designide", self.rt]
        return ["rtl", "vcl", "dbrtl"]

    def description(self, design):
        kind = "design-time" if design else "run-time"
        return f"Tessel library {respack.VERSION_TEXT} {kind} package for {self.title}"

    def path(self, name):
        return os.path.join(PAYLOAD, self.folder, name)


# ---------------------------------------------------------------- .dpk

def dpk(ide, design):
    name = ide.dt if design else ide.rt
    units = DESIGN_UNITS if design else ide.runtime_units()
    v = ide.compiler_version
    out = [f"package {name};", ""]
    out.append("{$R *.RES}" if ide.flavour == "d3" else "{$R *.res}")
    if design:
        out.append("{$R 'qvReg.dcr'}" if ide.flavour == "d3" else "{$R '..\\Source\\qvReg.dcr'}")
        if ide.flavour != "d3":
            out.append("{$R '..\\Source\\qvAboutBox.res'}")
    if v >= 23.0:
        out.append("{$IFDEF IMPLICITBUILDING This IFDEF should not be used by users}")
    out.append("{$ALIGN 8}" if v >= 15.0 else "{$ALIGN ON}")
    out += ["{$ASSERTIONS OFF}", "{$BOOLEVAL OFF}", "{$DEBUGINFO OFF}",
            "{$EXTENDEDSYNTAX ON}", "{$IMPORTEDDATA ON}", "{$IOCHECKS ON}",
            "{$LOCALSYMBOLS OFF}", "{$LONGSTRINGS ON}", "{$OPENSTRINGS ON}",
            "{$OPTIMIZATION ON}", "{$OVERFLOWCHECKS OFF}", "{$RANGECHECKS OFF}",
            "{$REFERENCEINFO OFF}", "{$SAFEDIVIDE OFF}", "{$STACKFRAMES OFF}",
            "{$TYPEDADDRESS OFF}", "{$VARSTRINGCHECKS ON}",
            "{$WRITEABLECONST OFF}" if v >= 15.0 else "{$WRITEABLECONST ON}",
            "{$MINENUMSIZE 1}", "{$IMAGEBASE $400000}"]
    if v >= 20.0:
        out.append("{$DEFINE RELEASE}")
    if v >= 23.0:
        out.append("{$ENDIF IMPLICITBUILDING}")
    out.append(f"{{$DESCRIPTION '{ide.description(design)}'}}")
    out.append("{$DESIGNONLY}" if design else "{$RUNONLY}")
    if v >= 12.0:
        out.append("{$IMPLICITBUILD OFF}")
    out += ["", "requires"]
    req = ide.requires(design)
    out += [f"  {r}," for r in req[:-1]] + [f"  {req[-1]};", "", "contains"]
    src = ide.source_dir()
    lines = []
    for unit, form in units:
        line = f"  {unit} in '{src}{unit}.pas'"
        if form:
            line += f" {{{form}}}"
        lines.append(line)
    out += [line + "," for line in lines[:-1]] + [lines[-1] + ";", "", "end.", ""]
    return "\n".join(out)


# ---------------------------------------------------------------- option files

SWITCHES = ["-$A8", "-$B-", "-$C-", "-$D-", "-$E-", "-$F-", "-$G+", "-$H+",
            "-$I+", "-$J-", "-$K-", "-$L-", "-$M-", "-$N+", "-$O+", "-$P+",
            "-$Q-", "-$R-", "-$S-", "-$T-", "-$U-", "-$V+", "-$W-", "-$X+",
            "-$YD", "-$Z1"]


def project_cfg(ide, design):
    """<project>.cfg of Delphi 4 to RAD Studio XE."""
    v = ide.compiler_version
    out = list(SWITCHES)
    if v < 15.0:
        out = [s.replace("-$A8", "-$A+").replace("-$J-", "-$J+") for s in out]
    out += ["-cg", "-AWinTypes=Windows;WinProcs=Windows;DbiTypes=BDE;DbiProcs=BDE;DbiErrs=BDE;",
            "-H+", "-W+", "-M", "-$M16384,1048576", "-K$00400000"]
    out += ["-LE.", "-LN.", "-N."]
    out += ['-U"..\\Source"', '-O"..\\Source"', '-I"..\\Source"', '-R"..\\Source"']
    if v >= 18.0:
        # Borland Developer Studio 2006 to XE also serve C++: the headers of
        # the units are written back into Source and collected from there.
        out += ["-JL", "-NH..\\Source"]
    if v >= 15.0:
        out += ["-w-UNSAFE_TYPE", "-w-UNSAFE_CODE", "-w-UNSAFE_CAST"]
    if v >= 20.0:
        out += ["-w-SYMBOL_PLATFORM", "-w-UNIT_PLATFORM"]
    return "\n".join(out) + "\n"


NAMESPACES = "System;Xml;Data;Datasnap;Web;Soap;Winapi;Vcl;System.Win;Vcl.Imaging"


def dcc_cfg(ide, platform):
    """The compiler's own option file that XE2 and later read from the package
    folder; one per target platform."""
    out = ["-B", "-Q", "-$D-", "-$L-", "-$Y-", "-$O+",
           f"-NS{NAMESPACES}",
           f"-LE.\\{platform}", f"-LN.\\{platform}", f"-N0.\\{platform}",
           "-U..\\Source", "-I..\\Source", "-R..\\Source",
           "-JL", f"-NH.\\{platform}",
           "-DRELEASE", "-W-SYMBOL_PLATFORM", "-W-UNIT_PLATFORM"]
    return "\n".join(out) + "\n"


# ---------------------------------------------------------------- .dof

def dof(ide, design):
    name = ide.dt if design else ide.rt
    v = ide.compiler_version
    s = [f"[FileVersion]", f"Version={ide.project_version}", "[Compiler]"]
    comp = {"A": "8" if v >= 15.0 else "1", "B": "0", "C": "0", "D": "0", "E": "0",
            "F": "0", "G": "1", "H": "1", "I": "1", "J": "0" if v >= 15.0 else "1",
            "K": "0", "L": "0", "M": "0", "N": "1", "O": "1", "P": "1", "Q": "0",
            "R": "0", "S": "0", "T": "0", "U": "0", "V": "1", "W": "0", "X": "1",
            "Y": "1", "Z": "1"}
    s += [f"{k}={val}" for k, val in comp.items()]
    s += ["ShowHints=1", "ShowWarnings=1", "UnitAliases=WinTypes=Windows;WinProcs=Windows;DbiTypes=BDE;DbiProcs=BDE;DbiErrs=BDE;"]
    if v >= 15.0:
        s += ["NamespacePrefix=", "SymbolDeprecated=1", "SymbolLibrary=1",
              "SymbolPlatform=0", "UnitLibrary=1", "UnitPlatform=0",
              "UnitDeprecated=1", "UnsafeType=0", "UnsafeCode=0", "UnsafeCast=0"]
    elif v >= 14.0:
        s += ["SymbolDeprecated=1", "SymbolLibrary=1", "SymbolPlatform=0",
              "UnitLibrary=1", "UnitPlatform=0", "UnitDeprecated=1"]
    s += ["[Linker]", "MapFile=0", "OutputObjs=0", "ConsoleApp=1", "DebugInfo=0",
          "RemoteSymbols=0", "MinStackSize=16384", "MaxStackSize=1048576",
          "ImageBase=4194304", f"ExeDescription={ide.description(design)}"]
    s += ["[Directories]", "OutputDir=", "UnitOutputDir=.", "PackageDLLOutputDir=.",
          "PackageDCPOutputDir=.", "SearchPath=..\\Source", "Packages=",
          "Conditionals=", "DebugSourceDirs=", "UsePackages=0"]
    s += ["[Parameters]", "RunParams=", "HostApplication="]
    if v >= 14.0:
        s += ["Launcher=", "UseLauncher=0", "DebugCWD="]
    s += ["[Language]", "ActiveLang=", "ProjectLang=", "RootDir="]
    s += ["[Version Info]", "IncludeVerInfo=1", "AutoIncBuild=0", "MajorVer=4",
          "MinorVer=9", "Release=0", "Build=0", "Debug=0", "PreRelease=0",
          "Special=0", "Private=0", "DLL=0", "Locale=1033", "CodePage=1252"]
    s += ["[Version Info Keys]", f"CompanyName={respack.COMPANY}",
          f"FileDescription={ide.description(design)}", "FileVersion=4.9.0.0",
          f"InternalName={name}", f"LegalCopyright={respack.COPYRIGHT}",
          "LegalTrademarks=", f"OriginalFilename={name}.bpl",
          f"ProductName={respack.PRODUCT}", "ProductVersion=4.09", "Comments="]
    return "\n".join(s) + "\n"


# ---------------------------------------------------------------- .bdsproj

def bdsproj(ide, design):
    name = ide.dt if design else ide.rt
    x = ['<?xml version="1.0" encoding="utf-8"?>', "<BorlandProject>",
         "  <PersonalityInfo>", "    <Option>",
         '      <Option Name="Personality">Delphi.Personality</Option>',
         '      <Option Name="ProjectType">VCLPackage</Option>',
         '      <Option Name="Version">1.0</Option>',
         f'      <Option Name="GUID">{guid(ide.folder + name)}</Option>',
         "    </Option>", "  </PersonalityInfo>", "  <Delphi.Personality>",
         "    <Source>",
         f'      <Source Name="MainSource">{name}.dpk</Source>',
         "    </Source>", "    <FileVersion>",
         '      <FileVersion Name="Version">7.0</FileVersion>',
         "    </FileVersion>", "    <Compiler>"]
    for key, val in [("A", "8"), ("B", "0"), ("C", "0"), ("D", "0"), ("H", "1"),
                     ("I", "1"), ("J", "0"), ("L", "0"), ("O", "1"), ("Q", "0"),
                     ("R", "0"), ("T", "0"), ("W", "0"), ("X", "1"),
                     ("UnitAliases", "WinTypes=Windows;WinProcs=Windows;DbiTypes=BDE;DbiProcs=BDE;DbiErrs=BDE"),
                     ("GenerateCppFiles", "True")]:
        x.append(f'      <Compiler Name="{key}">{val}</Compiler>')
    x += ["    </Compiler>", "    <Linker>",
          f'      <Linker Name="ExeDescription">{ide.description(design)}</Linker>',
          '      <Linker Name="ImageBase">4194304</Linker>',
          "    </Linker>", "    <Directories>",
          '      <Directories Name="OutputDir"></Directories>',
          '      <Directories Name="UnitOutputDir">.</Directories>',
          '      <Directories Name="PackageDLLOutputDir">.</Directories>',
          '      <Directories Name="PackageDCPOutputDir">.</Directories>',
          '      <Directories Name="SearchPath">..\\Source</Directories>',
          '      <Directories Name="HppOutputDir">..\\Source</Directories>',
          '      <Directories Name="Conditionals">RELEASE</Directories>',
          "    </Directories>", "    <Parameters>",
          '      <Parameters Name="RunParams"></Parameters>',
          '      <Parameters Name="HostApplication"></Parameters>',
          "    </Parameters>", "    <Package_Options>",
          f'      <Package_Options Name="PackageDescription">{ide.description(design)}</Package_Options>',
          '      <Package_Options Name="ImplicitBuild">False</Package_Options>',
          f'      <Package_Options Name="DesigntimeOnly">{design}</Package_Options>',
          f'      <Package_Options Name="RuntimeOnly">{not design}</Package_Options>',
          "    </Package_Options>"]
    x += version_xml("      ", "VersionInfo", "VersionInfoKeys", name, design, ide)
    x += ["  </Delphi.Personality>", "  <ModelSupport>False</ModelSupport>", "</BorlandProject>", ""]
    return "\n".join(x)


def version_xml(ind, tag, keytag, name, design, ide):
    x = [f"{ind[:-2]}<{tag}>"]
    for key, val in [("IncludeVerInfo", "True"), ("AutoIncBuild", "False"),
                     ("MajorVer", "4"), ("MinorVer", "9"), ("Release", "0"),
                     ("Build", "0"), ("Locale", "1033"), ("CodePage", "1252")]:
        x.append(f'{ind}<{tag} Name="{key}">{val}</{tag}>')
    x += [f"{ind[:-2]}</{tag}>", f"{ind[:-2]}<{keytag}>"]
    for key, val in [("CompanyName", respack.COMPANY),
                     ("FileDescription", ide.description(design)),
                     ("FileVersion", "4.9.0.0"), ("InternalName", name),
                     ("LegalCopyright", respack.COPYRIGHT),
                     ("OriginalFilename", name + ".bpl"),
                     ("ProductName", respack.PRODUCT), ("ProductVersion", "4.09")]:
        x.append(f'{ind}<{keytag} Name="{key}">{val}</{keytag}>')
    x.append(f"{ind[:-2]}</{keytag}>")
    return x


# ---------------------------------------------------------------- .dproj

def dproj(ide, design):
    name = ide.dt if design else ide.rt
    units = DESIGN_UNITS if design else ide.runtime_units()
    v = ide.compiler_version
    xe2 = v >= 23.0
    platforms = ["Win32", "Win64"] if xe2 and not design else ["Win32"]
    x = ['<Project xmlns="http://schemas.microsoft.com/developer/msbuild/2003">',
         "  <PropertyGroup>",
         f"    <ProjectGuid>{guid(ide.folder + name)}</ProjectGuid>",
         f"    <MainSource>{name}.dpk</MainSource>",
         "    <Configuration Condition=\" '$(Configuration)' == '' \">Release</Configuration>"]
    if v < 20.0:
        # RAD Studio 2007: one configuration per build type, no platforms yet.
        x += ["    <Platform Condition=\" '$(Platform)' == '' \">AnyCPU</Platform>",
              "    <DCC_DCCCompiler>DCC32</DCC_DCCCompiler>",
              f"    <DCC_DependencyCheckOutputName>{name}.bpl</DCC_DependencyCheckOutputName>",
              "  </PropertyGroup>",
              "  <PropertyGroup Condition=\" '$(Configuration)|$(Platform)' == 'Release|AnyCPU' \">",
              "    <Version>7.0</Version>",
              "    <DCC_DebugInformation>False</DCC_DebugInformation>",
              "    <DCC_LocalDebugSymbols>False</DCC_LocalDebugSymbols>",
              "    <DCC_SymbolReferenceInfo>0</DCC_SymbolReferenceInfo>",
              "    <DCC_Define>RELEASE</DCC_Define>",
              "    <DCC_BplOutput>.</DCC_BplOutput>",
              "    <DCC_DcpOutput>.</DCC_DcpOutput>",
              "    <DCC_DcuOutput>.</DCC_DcuOutput>",
              "    <DCC_UnitSearchPath>..\\Source</DCC_UnitSearchPath>",
              "    <DCC_ResourcePath>..\\Source</DCC_ResourcePath>",
              "    <DCC_IncludePath>..\\Source</DCC_IncludePath>",
              "    <DCC_HppOutput>..\\Source</DCC_HppOutput>",
              "  </PropertyGroup>"]
    else:
        x += [f"    <ProductVersion>{ide.project_version}</ProductVersion>"]
        if v >= 22.0:
            x.append("    <FrameworkType>VCL</FrameworkType>")
        if xe2:
            x += ["    <Base>True</Base>",
                  "    <Platform Condition=\" '$(Platform)' == '' \">Win32</Platform>",
                  f"    <TargetedPlatforms>{3 if not design else 1}</TargetedPlatforms>",
                  "    <AppType>Package</AppType>"]
        x += ["  </PropertyGroup>",
              "  <PropertyGroup Condition=\"'$(Config)'=='Base' or '$(Base)'!=''\">",
              "    <Base>true</Base>", "  </PropertyGroup>"]
        for p in platforms if xe2 else []:
            x += [f"  <PropertyGroup Condition=\"('$(Platform)'=='{p}' and '$(Base)'=='true') or '$(Base_{p})'!=''\">",
                  f"    <Base_{p}>true</Base_{p}>", "    <CfgParent>Base</CfgParent>",
                  "    <Base>true</Base>", "  </PropertyGroup>"]
        x += ["  <PropertyGroup Condition=\"'$(Config)'=='Release' or '$(Cfg_1)'!=''\">",
              "    <Cfg_1>true</Cfg_1>", "    <CfgParent>Base</CfgParent>",
              "    <Base>true</Base>", "  </PropertyGroup>",
              "  <PropertyGroup Condition=\"'$(Base)'!=''\">",
              f"    <DCC_Description>{ide.description(design)}</DCC_Description>",
              "    <GenPackage>true</GenPackage>",
              "    <DesignOnlyPackage>true</DesignOnlyPackage>" if design else "    <RuntimeOnlyPackage>true</RuntimeOnlyPackage>",
              "    <DCC_ImageBase>00400000</DCC_ImageBase>",
              "    <DCC_OutputNeverBuildDcps>true</DCC_OutputNeverBuildDcps>",
              "    <DCC_UnitSearchPath>..\\Source;$(DCC_UnitSearchPath)</DCC_UnitSearchPath>",
              "    <DCC_ResourcePath>..\\Source;$(DCC_ResourcePath)</DCC_ResourcePath>",
              "    <DCC_IncludePath>..\\Source;$(DCC_IncludePath)</DCC_IncludePath>"]
        if xe2:
            x += [f"    <DCC_Namespace>{NAMESPACES};$(DCC_Namespace)</DCC_Namespace>",
                  "    <DCC_BplOutput>.\\$(Platform)</DCC_BplOutput>",
                  "    <DCC_DcpOutput>.\\$(Platform)</DCC_DcpOutput>",
                  "    <DCC_DcuOutput>.\\$(Platform)</DCC_DcuOutput>",
                  "    <DCC_HppOutput>.\\$(Platform)</DCC_HppOutput>",
                  "    <DCC_CBuilderOutput>All</DCC_CBuilderOutput>"]
        else:
            x += ["    <DCC_BplOutput>.</DCC_BplOutput>",
                  "    <DCC_DcpOutput>.</DCC_DcpOutput>",
                  "    <DCC_DcuOutput>.</DCC_DcuOutput>",
                  "    <DCC_HppOutput>..\\Source</DCC_HppOutput>",
                  "    <DCC_CBuilderOutput>All</DCC_CBuilderOutput>",
                  "    <DCC_UnitAlias>WinTypes=Windows;WinProcs=Windows;DbiTypes=BDE;DbiProcs=BDE;$(DCC_UnitAlias)</DCC_UnitAlias>"]
        x += ["    <DCC_SymbolReferenceInfo>0</DCC_SymbolReferenceInfo>",
              "    <DCC_DebugInformation>false</DCC_DebugInformation>" if xe2 else "    <DCC_DebugInformation>False</DCC_DebugInformation>",
              "    <DCC_LocalDebugSymbols>false</DCC_LocalDebugSymbols>",
              "    <DCC_Define>RELEASE;$(DCC_Define)</DCC_Define>",
              "    <VerInfo_Locale>1033</VerInfo_Locale>",
              "    <VerInfo_MajorVer>4</VerInfo_MajorVer>",
              "    <VerInfo_MinorVer>9</VerInfo_MinorVer>",
              "    <VerInfo_IncludeVerInfo>true</VerInfo_IncludeVerInfo>",
              f"    <VerInfo_Keys>CompanyName={respack.COMPANY};FileDescription={ide.description(design)};FileVersion=4.9.0.0;InternalName={name};LegalCopyright={respack.COPYRIGHT};OriginalFilename={name}.bpl;ProductName={respack.PRODUCT};ProductVersion=4.09</VerInfo_Keys>",
              "  </PropertyGroup>"]
        for p in platforms if xe2 else []:
            x += [f"  <PropertyGroup Condition=\"'$(Base_{p})'!=''\">",
                  "    <DCC_Namespace>Winapi;System.Win;Data.Win;Datasnap.Win;Web.Win;Soap.Win;Xml.Win;Bde;$(DCC_Namespace)</DCC_Namespace>",
                  "    <VerInfo_IncludeVerInfo>true</VerInfo_IncludeVerInfo>"
                  if p == "Win64" else "    <VerInfo_IncludeVerInfo>true</VerInfo_IncludeVerInfo>",
                  "  </PropertyGroup>"]
        x += ["  <PropertyGroup Condition=\"'$(Cfg_1)'!=''\">",
              "    <DCC_Optimize>true</DCC_Optimize>",
              "  </PropertyGroup>"]
    x += ["  <ItemGroup>",
          f"    <DelphiCompile Include=\"{name}.dpk\">",
          "      <MainSource>MainSource</MainSource>",
          "    </DelphiCompile>"]
    for r in ide.requires(design):
        x.append(f'    <DCCReference Include="{r}.dcp"/>')
    for unit, form in units:
        if form:
            x += [f'    <DCCReference Include="..\\Source\\{unit}.pas">',
                  f"      <Form>{form}</Form>", "    </DCCReference>"]
        else:
            x.append(f'    <DCCReference Include="..\\Source\\{unit}.pas"/>')
    if v >= 20.0:
        x += ["    <BuildConfiguration Include=\"Base\">", "      <Key>Base</Key>",
              "    </BuildConfiguration>",
              "    <BuildConfiguration Include=\"Release\">", "      <Key>Cfg_1</Key>",
              "      <CfgParent>Base</CfgParent>", "    </BuildConfiguration>"]
    x.append("  </ItemGroup>")
    if v < 20.0:
        x.append('  <Import Project="$(MSBuildBinPath)\\Borland.Delphi.Targets"/>')
    x += ["  <ProjectExtensions>",
          "    <Borland.Personality>Delphi.Personality</Borland.Personality>",
          "    <Borland.ProjectType>Package</Borland.ProjectType>",
          "    <BorlandProject>", "      <Delphi.Personality>",
          "        <Source>",
          f'          <Source Name="MainSource">{name}.dpk</Source>',
          "        </Source>", "        <Package_Options>",
          f'          <Package_Options Name="PackageDescription">{ide.description(design)}</Package_Options>',
          '          <Package_Options Name="ImplicitBuild">False</Package_Options>',
          f'          <Package_Options Name="DesigntimeOnly">{design}</Package_Options>',
          f'          <Package_Options Name="RuntimeOnly">{not design}</Package_Options>',
          "        </Package_Options>"]
    if v < 20.0:
        x += version_xml("          ", "VersionInfo", "VersionInfoKeys", name, design, ide)
    x.append("      </Delphi.Personality>")
    if xe2:
        x.append("      <Platforms>")
        for p in ["Win32", "Win64"]:
            x.append(f'        <Platform value="{p}">{"True" if p in platforms else "False"}</Platform>')
        x.append("      </Platforms>")
    x += ["    </BorlandProject>"]
    if v >= 20.0:
        x.append(f"    <ProjectFileVersion>12</ProjectFileVersion>")
    x.append("  </ProjectExtensions>")
    if v >= 20.0:
        x.append("  <Import Project=\"$(BDS)\\Bin\\CodeGear.Delphi.Targets\" Condition=\"Exists('$(BDS)\\Bin\\CodeGear.Delphi.Targets')\"/>")
    if v >= 22.0:
        x.append("  <Import Project=\"$(APPDATA)\\Embarcadero\\$(BDSAPPDATABASEDIR)\\$(PRODUCTVERSION)\\UserTools.proj\" Condition=\"Exists('$(APPDATA)\\Embarcadero\\$(BDSAPPDATABASEDIR)\\$(PRODUCTVERSION)\\UserTools.proj')\"/>")
    x += ["</Project>", ""]
    return "\n".join(x)


# ---------------------------------------------------------------- C++Builder

def cpp_requires(ide, design):
    return [r + ".bpi" for r in ide.requires(design)]


def bpk_make(ide, design, exported):
    """The make file form: C++Builder 4's .bpk, and the .mak that C++Builder
    5 and 6 export from their XML project."""
    name = ide.dt if design else ide.rt
    units = DESIGN_UNITS if design else ide.runtime_units()
    objs = " ".join(f"{u}.obj" for u, _ in units)
    pas = " ".join(f"..\\Source\\{u}.pas" for u, _ in units)
    res = f"{name}.res" + (" ..\\Source\\qvReg.dcr ..\\Source\\qvAboutBox.res" if design else "")
    out = ["# ---------------------------------------------------------------------------",
           f"# {ide.description(design)}",
           "# Build it with:  make -f" + name + (".mak" if exported else ".bpk"),
           "# ---------------------------------------------------------------------------",
           "!if !$d(BCB)", "BCB = $(MAKEDIR)\\..", "!endif", "",
           "# ---------------------------------------------------------------------------",
           "# IDE SECTION",
           "# ---------------------------------------------------------------------------",
           f"VERSION = {ide.project_version}",
           "# ---------------------------------------------------------------------------",
           f"PROJECT = {name}.bpl",
           f"OBJFILES = {name}.obj {objs}",
           f"RESFILES = {res}",
           "RESDEPEN = $(RESFILES)",
           "LIBFILES =", "LIBRARIES =", "SPARELIBS = " + " ".join(r[:-4] + ".lib" for r in cpp_requires(ide, design)),
           f"PACKAGES = {' '.join(cpp_requires(ide, design))}",
           f"PASUNITS = {pas}",
           "DEFFILE =", "OTHERFILES =",
           "# ---------------------------------------------------------------------------",
           "PATHCPP = .;", "PATHPAS = .;..\\Source", "PATHASM = .;", "PATHRC = .;..\\Source",
           "DEBUGLIBPATH = $(BCB)\\lib\\debug", "RELEASELIBPATH = $(BCB)\\lib\\release",
           "USERDEFINES = NDEBUG", "SYSDEFINES = NO_STRICT;_RTLDLL;USEPACKAGES",
           "INCLUDEPATH = ..\\Source;$(BCB)\\include;$(BCB)\\include\\vcl",
           "LIBPATH = ..\\Source;$(BCB)\\lib\\obj;$(BCB)\\lib",
           "# ---------------------------------------------------------------------------",
           "CFLAG1 = -O2 -H=$(BCB)\\lib\\vcl.csm -Hc -Vx -Ve -X- -a8 -b- -k- -vi -c -tWM",
           "PFLAGS = -$YD -$L- -$D- -v -JPHNE -M",
           "RFLAGS =",
           "AFLAGS = /mx /w2 /zn",
           "LFLAGS = -D\"" + ide.description(design) + "\" -aa -Tpp -Gpr -x -Gn -Gl -Gi"
           + (" -Gpd" if design else ""),
           "# ---------------------------------------------------------------------------",
           "ALLOBJ = c0pkg32.obj $(PACKAGES) sysinit.obj $(OBJFILES)",
           "ALLRES = $(RESFILES)",
           "ALLLIB = $(LIBFILES) $(LIBRARIES) import32.lib cp32mti.lib",
           "# ---------------------------------------------------------------------------",
           "!ifdef IDEOPTIONS", "", "[Version Info]", "IncludeVerInfo=1",
           "AutoIncBuild=0", "MajorVer=4", "MinorVer=9", "Release=0", "Build=0",
           "Locale=1033", "CodePage=1252", "", "[Version Info Keys]",
           f"CompanyName={respack.COMPANY}",
           f"FileDescription={ide.description(design)}",
           "FileVersion=4.9.0.0", f"InternalName={name}",
           f"OriginalFilename={name}.bpl", f"ProductName={respack.PRODUCT}",
           "ProductVersion=4.09", "", "!endif", "",
           "# ---------------------------------------------------------------------------",
           "# MAKE SECTION",
           "# ---------------------------------------------------------------------------",
           "!if !$d(BCC32)", "BCC32 = bcc32", "!endif", "",
           "!if !$d(DCC32)", "DCC32 = dcc32", "!endif", "",
           "!if !$d(LINKER)", "LINKER = ilink32", "!endif", "",
           "!if !$d(BRCC32)", "BRCC32 = brcc32", "!endif", "",
           "!if $d(PATHCPP)", ".PATH.CPP = $(PATHCPP)", ".PATH.C   = $(PATHCPP)", "!endif", "",
           "!if $d(PATHPAS)", ".PATH.PAS = $(PATHPAS)", "!endif", "",
           "# ---------------------------------------------------------------------------",
           "$(PROJECT): $(OBJFILES) $(RESDEPEN) $(DEFFILE)",
           "    $(BCB)\\BIN\\$(LINKER) @&&!",
           "    $(LFLAGS) -L$(LIBPATH) +", "    $(ALLOBJ), +", "    $(PROJECT),, +",
           "    $(ALLLIB), +", "    $(DEFFILE), +", "    $(ALLRES)", "!", "",
           ".pas.hpp:", "    $(BCB)\\BIN\\$(DCC32) $(PFLAGS) -U$(INCLUDEPATH) -D$(USERDEFINES);$(SYSDEFINES) -O$(INCLUDEPATH) --BCB {$< }", "",
           ".pas.obj:", "    $(BCB)\\BIN\\$(DCC32) $(PFLAGS) -U$(INCLUDEPATH) -D$(USERDEFINES);$(SYSDEFINES) -O$(INCLUDEPATH) --BCB {$< }", "",
           ".cpp.obj:", "    $(BCB)\\BIN\\$(BCC32) $(CFLAG1) -n$(@D) -D$(USERDEFINES);$(SYSDEFINES) -o$@ {$< }", "",
           ".rc.res:", "    $(BCB)\\BIN\\$(BRCC32) $(RFLAGS) -I$(INCLUDEPATH) -D$(USERDEFINES);$(SYSDEFINES) -fo$@ $<",
           "# ---------------------------------------------------------------------------", ""]
    return "\n".join(out)


def bpk_xml(ide, design):
    """C++Builder 5 and 6 keep the project as XML; the .mak beside it is the
    exported make file that the command-line build runs."""
    name = ide.dt if design else ide.rt
    units = DESIGN_UNITS if design else ide.runtime_units()
    objs = " ".join(f"{u}.obj" for u, _ in units)
    pas = " ".join(f"..\\Source\\{u}.pas" for u, _ in units)
    res = f"{name}.res" + (" ..\\Source\\qvReg.dcr ..\\Source\\qvAboutBox.res" if design else "")
    pk = " ".join(cpp_requires(ide, design))
    x = ["<?xml version='1.0' encoding='utf-8' ?>", "<!-- C++Builder XML Project -->",
         "<PROJECT>", "  <MACROS>",
         f'    <VERSION value="{ide.project_version}"/>',
         f'    <PROJECT value="{name}.bpl"/>',
         f'    <OBJFILES value="{name}.obj {objs}"/>',
         f'    <RESFILES value="{res}"/>',
         '    <IDLFILES value=""/>', '    <IDLGENFILES value=""/>', '    <DEFFILE value=""/>',
         '    <RESDEPEN value="$(RESFILES)"/>', '    <LIBFILES value=""/>',
         '    <LIBRARIES value=""/>',
         f'    <SPARELIBS value="{" ".join(r[:-4] + ".lib" for r in cpp_requires(ide, design))}"/>',
         f'    <PACKAGES value="{pk}"/>',
         f'    <PASUNITS value="{pas}"/>',
         '    <PATHCPP value=".;"/>', '    <PATHPAS value=".;..\\Source"/>',
         '    <PATHRC value=".;..\\Source"/>', '    <PATHASM value=".;"/>',
         '    <DEBUGLIBPATH value="$(BCB)\\lib\\debug"/>',
         '    <RELEASELIBPATH value="$(BCB)\\lib\\release"/>',
         '    <LINKER value="ilink32"/>',
         '    <USERDEFINES value="NDEBUG"/>',
         '    <SYSDEFINES value="NO_STRICT;_RTLDLL;USEPACKAGES"/>',
         '    <MAINSOURCE value="' + name + '.cpp"/>',
         '    <INCLUDEPATH value="..\\Source;$(BCB)\\include;$(BCB)\\include\\vcl"/>',
         '    <LIBPATH value="..\\Source;$(BCB)\\lib\\obj;$(BCB)\\lib"/>',
         '    <WARNINGS value="-w-par"/>']
    if ide.compiler_version >= 14.0:
        x.append('    <OTHERFILES value=""/>')
    x += ["  </MACROS>", "  <OPTIONS>",
          '    <CFLAG1 value="-O2 -H=$(BCB)\\lib\\vcl.csm -Hc -Vx -Ve -X- -a8 -b- -k- -vi -c -tWM"/>',
          '    <PFLAGS value="-$YD -$L- -$D- -v -JPHNE -M"/>',
          '    <RFLAGS value=""/>', '    <AFLAGS value="/mx /w2 /zn"/>',
          f'    <LFLAGS value="-D&quot;{ide.description(design)}&quot; -aa -Tpp -Gpr -x -Gn -Gl -Gi{" -Gpd" if design else ""}"/>',
          "  </OPTIONS>", "  <LINKER>",
          '    <ALLOBJ value="c0pkg32.obj $(PACKAGES) Memmgr.Lib sysinit.obj $(OBJFILES)"/>',
          '    <ALLRES value="$(RESFILES)"/>',
          '    <ALLLIB value="$(LIBFILES) $(LIBRARIES) import32.lib cp32mti.lib"/>',
          "  </LINKER>", "  <FILELIST>",
          f'      <FILE FILENAME="{name}.res" FORMNAME="" UNITNAME="{name}.res" CONTAINERID="ResTool" DESIGNCLASS="" LOCALCOMMAND=""/>',
          f'      <FILE FILENAME="{name}.cpp" FORMNAME="" UNITNAME="{name}" CONTAINERID="CCompiler" DESIGNCLASS="" LOCALCOMMAND=""/>']
    for r in cpp_requires(ide, design):
        x.append(f'      <FILE FILENAME="{r}" FORMNAME="" UNITNAME="{r[:-4]}" CONTAINERID="BPITool" DESIGNCLASS="" LOCALCOMMAND=""/>')
    for unit, form in units:
        x.append(f'      <FILE FILENAME="..\\Source\\{unit}.pas" FORMNAME="{form}" UNITNAME="{unit}" CONTAINERID="PascalCompiler" DESIGNCLASS="" LOCALCOMMAND=""/>')
    x += ["  </FILELIST>", "  <BUILDTOOLS>", "  </BUILDTOOLS>", "",
          "  <IDEOPTIONS>", "[Version Info]", "IncludeVerInfo=1", "AutoIncBuild=0",
          "MajorVer=4", "MinorVer=9", "Release=0", "Build=0", "Locale=1033",
          "CodePage=1252", "", "[Version Info Keys]",
          f"CompanyName={respack.COMPANY}", f"FileDescription={ide.description(design)}",
          "FileVersion=4.9.0.0", f"InternalName={name}",
          f"OriginalFilename={name}.bpl", f"ProductName={respack.PRODUCT}",
          "ProductVersion=4.09", "", "[Compiler]", "ShowInfoMsgs=0",
          "LinkDebugVcl=0", "LinkCGLIB=0", "  </IDEOPTIONS>", "</PROJECT>", ""]
    return "\n".join(x)


def cpp_source(ide, design):
    name = ide.dt if design else ide.rt
    units = DESIGN_UNITS if design else ide.runtime_units()
    out = ["//---------------------------------------------------------------------------",
           f"// {ide.description(design)}",
           "//---------------------------------------------------------------------------"]
    if ide.compiler_version >= 14.0:
        # C++Builder 6 keeps the file list in the project; the package source
        # only carries the entry point.
        out += ["#include <basepch.h>", "#pragma hdrstop",
                "#pragma package(smart_init)",
                "//---------------------------------------------------------------------------",
                "//   Package source.",
                "//---------------------------------------------------------------------------",
                "", "#pragma argsused",
                "int WINAPI DllEntryPoint(HINSTANCE hinst, unsigned long reason, void*)",
                "{", "    return 1;", "}",
                "//---------------------------------------------------------------------------", ""]
        return "\n".join(out)
    out += ["#include <vcl.h>", "#pragma hdrstop",
            f'USERES("{name}.res");']
    if design:
        out += ['USERES("..\\Source\\qvReg.dcr");', 'USERES("..\\Source\\qvAboutBox.res");']
    for r in cpp_requires(ide, design):
        out.append(f'USEPACKAGE("{r}");')
    for unit, form in units:
        if form:
            out.append(f'USEFORMNS("..\\Source\\{unit}.pas", {unit[0].upper() + unit[1:].lower()}, {form});')
        else:
            out.append(f'USEUNIT("..\\Source\\{unit}.pas");')
    out += ["//---------------------------------------------------------------------------",
            "#pragma package(smart_init)",
            "//---------------------------------------------------------------------------",
            "//   Package source.",
            "//---------------------------------------------------------------------------",
            "#pragma argsused",
            "int WINAPI DllEntryPoint(HINSTANCE hinst, unsigned long reason, void*)",
            "{", "    return 1;", "}",
            "//---------------------------------------------------------------------------", ""]
    return "\n".join(out)


# ---------------------------------------------------------------- .res

def package_res(ide, design):
    name = ide.dt if design else ide.rt
    ext = ".dpl" if ide.flavour == "d3" else ".bpl"
    text = respack.version_block(ide.description(design), name, name + ext)
    respack.compile_res(ide.path(name + ".res"), text)


# ---------------------------------------------------------------- driver

def write_ide(ide):
    for design in (False, True):
        name = ide.dt if design else ide.rt
        if ide.is_cpp:
            if ide.flavour == "cb4":
                write_text(ide.path(name + ".bpk"), bpk_make(ide, design, False))
            else:
                write_text(ide.path(name + ".bpk"), bpk_xml(ide, design))
                write_text(ide.path(name + ".mak"), bpk_make(ide, design, True))
            write_text(ide.path(name + ".cpp"), cpp_source(ide, design))
            package_res(ide, design)
            continue
        write_text(ide.path(name + ".dpk"), dpk(ide, design))
        package_res(ide, design)
        if ide.flavour == "xe2":
            write_text(ide.path("dcc64.cfg" if design else "dcc32.cfg"),
                       dcc_cfg(ide, "Win64" if design else "Win32"))
            write_text(ide.path(name + ".dproj"), dproj(ide, design))
            continue
        if ide.flavour != "d3":
            write_text(ide.path(name + ".cfg"), project_cfg(ide, design))
        if ide.flavour == "dof":
            write_text(ide.path(name + ".dof"), dof(ide, design))
        elif ide.flavour == "bds2006":
            write_text(ide.path(name + ".bdsproj"), bdsproj(ide, design))
        elif ide.flavour == "dproj":
            write_text(ide.path(name + ".dproj"), dproj(ide, design))


def main():
    for row in IDES:
        write_ide(Ide(row))
    print(f"make_packages: wrote the package projects of {len(IDES)} folders")


if __name__ == "__main__":
    main()
