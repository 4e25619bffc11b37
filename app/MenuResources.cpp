#include "app/MenuResources.h"

#include "views/CommandTable.h"

namespace {

// The command's item with the text and shortcut of its description, or
// with another text where one menu set words it differently.
CMenuItem Item(int id, const char* text = nullptr)
{
    const CCommandInfo* info = FindCommandInfo(id);
    return CMenuItem{text ? text : info->text, id, info->shortcut, {}};
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
         {Item(cmd::FileNew), Item(cmd::FileOpen), Separator(), Item(cmd::FileMru1), Separator(), Item(cmd::AppExit)}},
        {"&View", {Item(cmd::ViewToolbar), Item(cmd::ViewStatusBar, "&Status Bar")}},
        {"&Help", {Item(cmd::AppAbout), Item(cmd::HelpManual)}},
    };
    return menus;
}

const std::vector<CMenuDef>& DocumentMenus()
{
    static const std::vector<CMenuDef> menus = {
        {"&File",
         {Item(cmd::FileNew), Item(cmd::FileOpen), Item(cmd::FileClose), Item(cmd::FileSave), Item(cmd::FileSaveAs),
          Separator(), Item(cmd::ExportPicture), Separator(), Item(cmd::FilePrint), Item(cmd::FilePrintPreview),
          Separator(), Submenu("&Import Data", {Item(cmd::ImportTextFile), Item(cmd::ImportDatabase)}),
          Item(cmd::ExtractData), Item(cmd::Profile), Separator(), Item(cmd::FileMru1), Separator(),
          Item(cmd::AppExit)}},
        {"&View",
         {Item(cmd::ViewToolbar), Item(cmd::ViewStatusBar), Separator(), Item(cmd::ShowSeriesGraph),
          Item(cmd::ShowHGraph), Item(cmd::ShowLegend), Separator(), Item(cmd::ViewAxisScales), Separator(),
          Item(cmd::ViewZoomOut), Item(cmd::ViewFullView)}},
        {"H &Config",
         {Item(cmd::DeleteTabAt), Item(cmd::DeleteAllTabs), Item(cmd::AutoTab), Item(cmd::TabSettings), Separator(),
          Item(cmd::SetSlidingWindows), Item(cmd::SetPlotPoint), Item(cmd::ViewMetaHData),
          Item(cmd::ClearSlidingWindows),
          Submenu("&Extract H Data", {Item(cmd::ExtractHDataDocument), Item(cmd::ExtractHDataText)}), Separator(),
          Submenu("Co&rrelation Analysis", {Item(cmd::SetSlopeWindows), Item(cmd::Correlation)}), Separator(),
          Item(cmd::HParameters)}},
        {"&Window", {Item(cmd::WindowNew), Item(cmd::WindowCascade), Item(cmd::WindowTile), Item(cmd::WindowArrange)}},
        {"&Help", {Item(cmd::AppAbout), Item(cmd::HelpManual)}},
    };
    return menus;
}

const std::vector<int>& ToolbarCommands()
{
    static const std::vector<int> buttons = {cmd::FileNew,         cmd::FileOpen,   cmd::FileSave, 0,
                                             cmd::ShowSeriesGraph, cmd::ShowHGraph, cmd::AppAbout};
    return buttons;
}
