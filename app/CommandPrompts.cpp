#include "CommandPrompts.h"

#include "CommandIds.h"

const char* CommandPrompt(int id)
{
    switch (id) {
    case cmd::FileNew: return "Create a new document\nNew";
    case cmd::FileOpen: return "Open an existing document\nOpen";
    case cmd::FileClose: return "Close the active document\nClose";
    case cmd::FileSave: return "Save the active document\nSave";
    case cmd::FileSaveAs: return "Save the active document with a new name\nSave As";
    case cmd::ExportPicture: return "Write the picture to a PNG, SVG or PDF file\nExport Picture";
    case cmd::FilePrint: return "Print the picture\nPrint";
    case cmd::FilePrintPreview: return "Show the printed page\nPrint Preview";
    case cmd::EditCopy: return "Copy the picture to the clipboard\nCopy";
    case cmd::ViewAxisScales: return "Show or hide the ticks, numbers and grid of the axes and the H scale\nAxis Scales";
    case cmd::AppExit: return "Quit the application; prompts to save documents\nExit";
    case cmd::AppAbout: return "Display program information, version number and copyright\nAbout";
    case cmd::ViewToolbar: return "Show or hide the toolbar\nToggle ToolBar";
    case cmd::ViewStatusBar: return "Show or hide the status bar\nToggle StatusBar";
    case cmd::WindowNew: return "Open another window for the active document\nNew Window";
    case cmd::WindowArrange: return "Arrange icons at the bottom of the window\nArrange Icons";
    case cmd::WindowCascade: return "Arrange windows so they overlap\nCascade Windows";
    case cmd::WindowTile: return "Arrange windows as non-overlapping tiles\nTile Windows";
    case cmd::ImportDatabase: return "Select Data\nSelect Data";
    case cmd::ShowSeriesGraph: return "Toggle the Series Graph\nSeries Graph";
    case cmd::ShowHGraph: return "Toggle the H Graph\nShow H Graph";
    case cmd::HParameters: return "Show the Parameters Dialog\nParameters";
    case cmd::ShowLegend: return "Toggle the Legend\nShow Legend";
    case cmd::DeleteTabAt: return "Delete tab at...\nDelete tab at...";
    case cmd::DeleteAllTabs: return "Delete All Tabs\nDelete All Tabs";
    case cmd::AutoTab: return "Automatically set tabs at interval\nAuto-Tab";
    case cmd::ExtractData: return "Extract Range from Current Data\nExtract Data";
    case cmd::TabSettings: return "Change Tab Settings\nTab Settings";
    case cmd::SetSlidingWindows: return "Configure Sliding H Windows\nSliding Window";
    case cmd::ClearSlidingWindows: return "Clear Sliding Windows\nClear Sliding Window";
    case cmd::ImportTextFile: return "Import data from a text file\nImport Text File";
    case cmd::ViewMetaHData: return "Set Meta H Values\nMeta H";
    case cmd::ExtractHDataDocument: return "Use H data as Kestrin Document\nKestrin data";
    case cmd::ExtractHDataText: return "Extract H Data as a Text File\nText File";
    case cmd::SetSlopeWindows: return "Set sliding slope windows\nSlope Windows";
    case cmd::Correlation: return "Look for Correlation\nCorrelation";
    case cmd::SetPlotPoint: return "Set Plot Point for Sliding Windows\nSet Plot Point";
    case cmd::Profile: return "Running sum of the departures from the mean as a new document\nProfile";
    case cmd::HelpManual: return "Open the Kestrin manual\nKestrin Help";
    default:
        if (id >= cmd::FileMru1 && id < cmd::FileMru1 + 4)
            return "Open this document";
        return nullptr;
    }
}
