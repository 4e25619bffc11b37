#pragma once

// Command ids of the workbench. The numbers are those of the menus and the
// toolbar; actions carry them as their data.
namespace cmd {

// File
constexpr int FileNew = 57600;
constexpr int FileOpen = 57601;
constexpr int FileClose = 57602;
constexpr int FileSave = 57603;
constexpr int FileSaveAs = 57604;
constexpr int FilePrint = 57607;
constexpr int FilePrintPreview = 57609;
constexpr int FileMru1 = 57616; // and the three after it
constexpr int AppExit = 57665;
constexpr int AppAbout = 57664;

// Edit
constexpr int EditCopy = 57634;

// View
constexpr int ViewToolbar = 59392;
constexpr int ViewStatusBar = 59393;
constexpr int ViewAxisScales = 32798;
// The zoom of the picture, handled by the view.
constexpr int ViewZoomOut = 32820;
constexpr int ViewFullView = 32821;

// Window
constexpr int WindowNew = 57648;
constexpr int WindowArrange = 57649;
constexpr int WindowCascade = 57650;
constexpr int WindowTile = 57651;

// Document commands handled by the view
constexpr int ImportDatabase = 32772;
constexpr int ShowSeriesGraph = 32774;
constexpr int ShowHGraph = 32775;
constexpr int HParameters = 32776;
constexpr int ShowLegend = 32778;
constexpr int DeleteTabAt = 32781;
constexpr int DeleteAllTabs = 32784;
constexpr int AutoTab = 32785;
constexpr int ExtractData = 32786;
constexpr int TabSettings = 32787;
constexpr int SetSlidingWindows = 32788;
constexpr int ClearSlidingWindows = 32789;
constexpr int ImportTextFile = 32790;
constexpr int ViewMetaHData = 32791;
constexpr int ExtractHDataDocument = 32792;
constexpr int ExtractHDataText = 32793;
constexpr int SetSlopeWindows = 32794;
constexpr int Correlation = 32795;
constexpr int SetPlotPoint = 32796;
constexpr int ExportPicture = 32797;
// The profile of the series as a new document (File menu, beside Extract
// Data) and the manual (Help menu, handled by the application).
constexpr int Profile = 32810;
constexpr int HelpManual = 32811;

} // namespace cmd
