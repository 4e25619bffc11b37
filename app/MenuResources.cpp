#include "MenuResources.h"

#include "CommandIds.h"

namespace {

CMenuItem Item(const char* text, int id, const char* shortcut = nullptr)
{
    return CMenuItem{text, id, shortcut, {}};
}

CMenuItem Separator()
{
    return CMenuItem{};
}

CMenuItem Submenu(const char* text, std::vector<CMenuItem> items)
{
    return CMenuItem{text, 0, nullptr, std::move(items)};
}

} // namespace

const std::vector<CMenuDef>& NoDocumentMenus()
{
    static const std::vector<CMenuDef> menus = {
        {"&File",
         {Item("&New", cmd::FileNew, "Ctrl+N"), Item("&Open...", cmd::FileOpen, "Ctrl+O"), Separator(),
          Item("Recent File", cmd::FileMru1), Separator(), Item("E&xit", cmd::AppExit)}},
        {"&View", {Item("&Toolbar", cmd::ViewToolbar), Item("&Status Bar", cmd::ViewStatusBar)}},
        {"&Help", {Item("&About Kestrin...", cmd::AppAbout), Item("Kestrin &Help", cmd::HelpManual, "F1")}},
    };
    return menus;
}

const std::vector<CMenuDef>& DocumentMenus()
{
    static const std::vector<CMenuDef> menus = {
        {"&File",
         {Item("&New", cmd::FileNew, "Ctrl+N"), Item("&Open...", cmd::FileOpen, "Ctrl+O"),
          Item("&Close", cmd::FileClose), Item("&Save", cmd::FileSave, "Ctrl+S"),
          Item("Save &As...", cmd::FileSaveAs), Separator(), Item("Expor&t Picture...", cmd::ExportPicture),
          Separator(), Item("&Print...", cmd::FilePrint, "Ctrl+P"), Item("Print Pre&view...", cmd::FilePrintPreview),
          Separator(),
          Submenu("&Import Data",
                  {Item("&Text File", cmd::ImportTextFile), Item("&Database Data", cmd::ImportDatabase)}),
          Item("&Extract Data", cmd::ExtractData), Item("&Profile", cmd::Profile), Separator(), Item("Recent File", cmd::FileMru1), Separator(),
          Item("E&xit", cmd::AppExit)}},
        {"&View",
         {Item("&Toolbar", cmd::ViewToolbar), Item("Status &Bar", cmd::ViewStatusBar), Separator(),
          Item("Show &Series Graph", cmd::ShowSeriesGraph), Item("Show &H Graph", cmd::ShowHGraph),
          Item("Show &Legend", cmd::ShowLegend), Separator(), Item("&Axis Scales", cmd::ViewAxisScales)}},
        {"H &Config",
         {Item("&Delete tab at...", cmd::DeleteTabAt), Item("Delete &All Tabs", cmd::DeleteAllTabs),
          Item("Auto-&Tab", cmd::AutoTab), Item("Tab &Settings", cmd::TabSettings), Separator(),
          Item("Set Sliding &Windows", cmd::SetSlidingWindows), Item("Set P&lot Point", cmd::SetPlotPoint),
          Item("View &Meta H Data", cmd::ViewMetaHData), Item("&Clear Sliding Windows", cmd::ClearSlidingWindows),
          Submenu("&Extract H Data",
                  {Item("&Kestrin Data", cmd::ExtractHDataDocument), Item("Text &File", cmd::ExtractHDataText)}),
          Separator(),
          Submenu("Co&rrelation Analysis",
                  {Item("Set &Slope Windows", cmd::SetSlopeWindows), Item("&Correlation", cmd::Correlation)}),
          Separator(), Item("H &Parameters", cmd::HParameters)}},
        {"&Window",
         {Item("&New Window", cmd::WindowNew), Item("&Cascade", cmd::WindowCascade), Item("&Tile", cmd::WindowTile),
          Item("&Arrange Icons", cmd::WindowArrange)}},
        {"&Help", {Item("&About Kestrin...", cmd::AppAbout), Item("Kestrin &Help", cmd::HelpManual, "F1")}},
    };
    return menus;
}

const std::vector<int>& ToolbarCommands()
{
    static const std::vector<int> buttons = {cmd::FileNew,         cmd::FileOpen,    cmd::FileSave, 0,
                                             cmd::ShowSeriesGraph, cmd::ShowHGraph, cmd::AppAbout};
    return buttons;
}
