#include "views/CommandTable.h"

#include <algorithm>

const std::vector<CCommandInfo>& CommandInfos()
{
    using enum CommandIcon;
    static const std::vector<CCommandInfo> commands = {
        // File
        {cmd::FileNew, "&New", "Create a new document\nNew", "Ctrl+N", page},
        {cmd::FileOpen, "&Open...", "Open an existing document\nOpen", "Ctrl+O", folder},
        {cmd::FileClose, "&Close", "Close the active document\nClose"},
        {cmd::FileSave, "&Save", "Save the active document\nSave", "Ctrl+S", disk},
        {cmd::FileSaveAs, "Save &As...", "Save the active document with a new name\nSave As"},
        {cmd::ExportPicture, "Expor&t Picture...", "Write the picture to a PNG, SVG or PDF file\nExport Picture"},
        {cmd::FilePrint, "&Print...", "Print the picture\nPrint", "Ctrl+P"},
        {cmd::FilePrintPreview, "Print Pre&view...", "Show the printed page\nPrint Preview"},
        {cmd::ImportTextFile, "&Text File", "Import data from a text file\nImport Text File"},
        {cmd::ImportDatabase, "&Database Data", "Select Data\nSelect Data"},
        {cmd::ExtractData, "&Extract Data", "Extract Range from Current Data\nExtract Data"},
        {cmd::Profile, "&Profile", "Running sum of the departures from the mean as a new document\nProfile"},
        {cmd::FileMru1, "Recent File", "Open this document"},
        {cmd::AppExit, "E&xit", "Quit the application; prompts to save documents\nExit"},
        // Edit: no menu shows it, the shortcut does.
        {cmd::EditCopy, "&Copy", "Copy the picture to the clipboard\nCopy", "Ctrl+C"},
        // View
        {cmd::ViewToolbar, "&Toolbar", "Show or hide the toolbar\nToggle ToolBar"},
        {cmd::ViewStatusBar, "Status &Bar", "Show or hide the status bar\nToggle StatusBar"},
        {cmd::ShowSeriesGraph, "Show &Series Graph", "Toggle the Series Graph\nSeries Graph", nullptr, series},
        {cmd::ShowHGraph, "Show &H Graph", "Toggle the H Graph\nShow H Graph", nullptr, hGraph},
        {cmd::ShowLegend, "Show &Legend", "Toggle the Legend\nShow Legend"},
        {cmd::ViewAxisScales, "&Axis Scales",
         "Show or hide the ticks, numbers and grid of the axes and the H scale\nAxis Scales"},
        {cmd::ViewZoomOut, "Zoom &Out", "Show the range shown before the last zoom\nZoom Out"},
        {cmd::ViewFullView, "&Full View", "Show the whole series\nFull View", "Home"},
        // H Config
        {cmd::DeleteTabAt, "&Delete tab at...", "Delete tab at...\nDelete tab at..."},
        {cmd::DeleteAllTabs, "Delete &All Tabs", "Delete All Tabs\nDelete All Tabs"},
        {cmd::AutoTab, "Auto-&Tab", "Automatically set tabs at interval\nAuto-Tab"},
        {cmd::TabSettings, "Tab &Settings", "Change Tab Settings\nTab Settings"},
        {cmd::SetSlidingWindows, "Set Sliding &Windows", "Configure Sliding H Windows\nSliding Window"},
        {cmd::SetPlotPoint, "Set P&lot Point", "Set Plot Point for Sliding Windows\nSet Plot Point"},
        {cmd::ViewMetaHData, "View &Meta H Data", "Set Meta H Values\nMeta H"},
        {cmd::ClearSlidingWindows, "&Clear Sliding Windows", "Clear Sliding Windows\nClear Sliding Window"},
        {cmd::ExtractHDataDocument, "&Kestrin Data", "Use H data as Kestrin Document\nKestrin data"},
        {cmd::ExtractHDataText, "Text &File", "Extract H Data as a Text File\nText File"},
        {cmd::SetSlopeWindows, "Set &Slope Windows", "Set sliding slope windows\nSlope Windows"},
        {cmd::Correlation, "&Correlation", "Look for Correlation\nCorrelation"},
        {cmd::HParameters, "H &Parameters", "Show the Parameters Dialog\nParameters"},
        // Window
        {cmd::WindowNew, "&New Window", "Open another window for the active document\nNew Window"},
        {cmd::WindowCascade, "&Cascade", "Arrange windows so they overlap\nCascade Windows"},
        {cmd::WindowTile, "&Tile", "Arrange windows as non-overlapping tiles\nTile Windows"},
        {cmd::WindowArrange, "&Arrange Icons", "Arrange icons at the bottom of the window\nArrange Icons"},
        // Help
        {cmd::AppAbout, "&About Kestrin...", "Display program information, version number and copyright\nAbout",
         nullptr, about},
        {cmd::HelpManual, "Kestrin &Help", "Open the Kestrin manual\nKestrin Help", "F1"},
    };
    return commands;
}

const CCommandInfo* FindCommandInfo(int id)
{
    if (id > cmd::FileMru1 && id < cmd::FileMru1 + 4)
        id = cmd::FileMru1;
    const std::vector<CCommandInfo>& all = CommandInfos();
    const auto it = std::find_if(all.begin(), all.end(), [id](const CCommandInfo& c) { return c.id == id; });
    return it == all.end() ? nullptr : &*it;
}
