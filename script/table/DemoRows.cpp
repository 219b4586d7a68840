// The demo projects: a "Demos" folder when either demo set is ticked, then the
// Delphi demos and the C++Builder demos, each a folder per project.
#include <string>
#include "common/Locations.h"
#include "script/table/TableParts.h"

namespace tessel::script {
// The tables here are laid out by hand, in columns.
// clang-format off

using namespace tessel::common;

namespace {

struct DemoFile {
    uint32_t Id;
    const wchar_t* Name;  // relative to the project folder
};

struct DemoProject {
    const wchar_t* Folder;
    ConstList<DemoFile> Files;
};

const DemoFile IniDemo[] = {
    { 251, L"IniDemo.dpr" }, { 252, L"IniDemo.res" }, { 253, L"IniMain.pas" },
    { 254, L"IniMain.dfm" }, { 255, L"Sample.ini" },
};
const DemoFile RegDemo[] = {
    { 256, L"RegDemo.dpr" }, { 257, L"RegDemo.res" }, { 258, L"RegMain.pas" },
    { 259, L"RegMain.dfm" },
};
const DemoFile XmlDemo[] = {
    { 288, L"XmlDemo.dpr" }, { 289, L"XmlDemo.res" }, { 290, L"XmlMain.pas" },
    { 291, L"XmlMain.dfm" }, { 292, L"Settings.xml" },
};
const DemoFile PlaceDemo[] = {
    { 293, L"PlaceDemo.dpr" }, { 294, L"PlaceDemo.res" }, { 295, L"PlaceMain.pas" },
    { 296, L"PlaceMain.dfm" },
};
const DemoFile PropDemo[] = {
    { 400, L"PropDemo.dpr" }, { 401, L"PropDemo.res" }, { 402, L"PropMain.pas" },
    { 403, L"PropMain.dfm" },
};
const DemoFile DlgDemo[] = {
    { 404, L"DlgDemo.dpr" }, { 405, L"DlgDemo.res" }, { 406, L"DlgMain.pas" },
    { 407, L"DlgMain.dfm" },
};
const DemoFile JsonDemo[] = {
    { 408, L"JsonDemo.dpr" }, { 409, L"JsonDemo.res" }, { 410, L"JsonMain.pas" },
    { 411, L"JsonMain.dfm" }, { 412, L"Settings.json" },
};
const DemoFile Profiles[] = {
    { 413, L"Profiles.dpr" }, { 414, L"Profiles.res" }, { 415, L"ProfMain.pas" },
    { 416, L"ProfMain.dfm" }, { 417, L"Default.ini" }, { 418, L"Office.ini" },
};

const DemoProject DelphiDemos[] = {
    { L"IniDemo",   List(IniDemo) },
    { L"RegDemo",   List(RegDemo) },
    { L"XmlDemo",   List(XmlDemo) },
    { L"PlaceDemo", List(PlaceDemo) },
    { L"PropDemo",  List(PropDemo) },
    { L"DlgDemo",   List(DlgDemo) },
    { L"JsonDemo",  List(JsonDemo) },
    { L"Profiles",  List(Profiles) },
};

const DemoFile CppIniDemo[] = {
    { 650, L"IniDemo.bpr" }, { 651, L"IniDemo.cpp" }, { 652, L"IniDemo.res" },
    { 653, L"IniMain.cpp" }, { 654, L"IniMain.h" },   { 655, L"IniMain.dfm" },
    { 255, L"Sample.ini" },  // the same sample file as the Delphi demo's
};
const DemoFile CppRegDemo[] = {
    { 656, L"RegDemo.bpr" }, { 657, L"RegDemo.cpp" }, { 658, L"RegDemo.res" },
    { 659, L"RegMain.cpp" }, { 660, L"RegMain.h" },   { 661, L"RegMain.dfm" },
    { 662, L"Defaults.reg" },
};
const DemoFile CppXmlDemo[] = {
    { 663, L"XmlDemo.bpr" }, { 664, L"XmlDemo.cpp" }, { 665, L"XmlDemo.res" },
    { 666, L"XmlMain.cpp" }, { 667, L"XmlMain.h" },   { 668, L"XmlMain.dfm" },
    { 669, L"Settings.xml" },
};
const DemoFile CppPlaceDemo[] = {
    { 670, L"PlaceDemo.bpr" }, { 671, L"PlaceDemo.cpp" }, { 672, L"PlaceDemo.res" },
    { 673, L"PlaceMain.cpp" }, { 674, L"PlaceMain.h" },   { 675, L"PlaceMain.dfm" },
    { 676, L"ChildForm.cpp" }, { 677, L"ChildForm.h" },   { 678, L"ChildForm.dfm" },
};
const DemoFile CppPropDemo[] = {
    { 679, L"PropDemo.bpr" }, { 680, L"PropDemo.cpp" }, { 681, L"PropDemo.res" },
    { 682, L"PropMain.cpp" }, { 683, L"PropMain.h" },   { 684, L"PropMain.dfm" },
};
const DemoFile CppDlgDemo[] = {
    { 685, L"DlgDemo.bpr" }, { 686, L"DlgDemo.cpp" }, { 687, L"DlgDemo.res" },
    { 688, L"DlgMain.cpp" }, { 689, L"DlgMain.h" },   { 690, L"DlgMain.dfm" },
    { 691, L"DlgDemo.ini" },
};
const DemoFile CppJsonDemo[] = {
    { 750, L"JsonDemo.bpr" }, { 751, L"JsonDemo.cpp" }, { 752, L"JsonDemo.res" },
    { 753, L"JsonMain.cpp" }, { 754, L"JsonMain.h" },   { 755, L"JsonMain.dfm" },
    { 756, L"Settings.json" },
};

const DemoProject CBuilderDemos[] = {
    { L"IniDemo",   List(CppIniDemo) },
    { L"RegDemo",   List(CppRegDemo) },
    { L"XmlDemo",   List(CppXmlDemo) },
    { L"PlaceDemo", List(CppPlaceDemo) },
    { L"PropDemo",  List(CppPropDemo) },
    { L"DlgDemo",   List(CppDlgDemo) },
    { L"JsonDemo",  List(CppJsonDemo) },
};

// The set's root folder is recorded for the uninstaller; the project folders
// inside it go with it.
void AddDemoSet(ScriptBuilder& s, uint64_t item, const std::wstring& root,
                const ConstList<DemoProject>& projects) {
    s.IfItem(item);
    s.CreateDir(root, LocationCode::Install, RowFlag::Undo);
    for (const DemoProject& p : projects) {
        const std::wstring folder = root + L"\\" + p.Folder;
        s.CreateDir(folder, LocationCode::Install, RowFlag::None);
        for (const DemoFile& f : p.Files) s.ExtractFile(folder + L"\\" + f.Name, f.Id, LocationCode::Install);
    }
    s.EndIfItem(item);
}

}  // namespace

void AddDemoProjects(ScriptBuilder& s) {
    const uint64_t eitherSet = ItemBit::DelphiDemos | ItemBit::CBuilderDemos;
    s.IfItem(eitherSet);
    s.CreateDir(L"Demos", LocationCode::Install, RowFlag::Undo);
    s.EndIfItem(eitherSet);
    AddDemoSet(s, ItemBit::DelphiDemos, L"Demos\\Delphi", List(DelphiDemos));
    AddDemoSet(s, ItemBit::CBuilderDemos, L"Demos\\CBuilder", List(CBuilderDemos));
}

// clang-format on
}  // namespace tessel::script
