// The commands a document window's view runs: imports, extractions, the
// layers, the tabs, the window analyses and the copies of the picture.
#include <algorithm>

#include "document/KestrinDoc.h"
#include "views/KestrinView.h"

namespace {

CCommandState Enabled(bool on)
{
    return CCommandState{on, false, false};
}

CCommandState Checked(bool on)
{
    return CCommandState{true, true, on};
}

} // namespace

const std::vector<CKestrinView::CViewCommand>& CKestrinView::ViewCommands()
{
    const auto hasData = [](const CKestrinView& v) { return Enabled(v.m_doc.m_bHasData != 0); };
    const auto hasTabs = [](const CKestrinView& v) { return Enabled(v.HasTabs()); };
    const auto hasWindows = [](const CKestrinView& v) { return Enabled(!v.m_doc.m_windows.IsEmpty()); };
    const auto zoomed = [](const CKestrinView& v) { return Enabled(v.IsZoomed()); };
    static const std::vector<CViewCommand> commands = {
        {cmd::ImportTextFile, nullptr, &CKestrinView::OnImportTextFile},
        {cmd::ImportDatabase, nullptr, &CKestrinView::OnImportDatabase},
        {cmd::ExtractData, hasData, &CKestrinView::OnExtractData},
        {cmd::Profile, hasData, &CKestrinView::OnProfile},
        {cmd::ExportPicture, hasData, &CKestrinView::OnExportPicture},
        {cmd::FilePrint, hasData, &CKestrinView::OnPrint},
        {cmd::FilePrintPreview, hasData, &CKestrinView::OnPrintPreview},
        {cmd::EditCopy, hasData, &CKestrinView::OnCopyPicture},
        {cmd::ShowSeriesGraph, [](const CKestrinView& v) { return Checked(v.m_seriesGraph.isVisibleTo(&v)); },
         &CKestrinView::OnShowSeriesGraph},
        {cmd::ShowHGraph, [](const CKestrinView& v) { return Checked(v.m_hGraph.isVisibleTo(&v)); },
         &CKestrinView::OnShowHGraph},
        {cmd::ShowLegend, [](const CKestrinView& v) { return Checked(v.m_legend.isVisibleTo(&v)); },
         &CKestrinView::OnShowLegend},
        {cmd::ViewZoomOut, zoomed, &CKestrinView::OnZoomOut},
        {cmd::ViewFullView, zoomed, &CKestrinView::OnFullView},
        {cmd::HParameters, hasData, &CKestrinView::OnHParameters},
        {cmd::DeleteTabAt, hasTabs, &CKestrinView::OnDeleteTabAt},
        {cmd::DeleteAllTabs, hasTabs, &CKestrinView::OnDeleteAllTabs},
        {cmd::AutoTab, hasData, &CKestrinView::OnAutoTab},
        {cmd::TabSettings, hasTabs, &CKestrinView::OnTabSettings},
        {cmd::SetSlidingWindows, hasData, &CKestrinView::OnSetSlidingWindows},
        {cmd::ClearSlidingWindows, hasWindows, &CKestrinView::OnClearSlidingWindows},
        {cmd::SetPlotPoint, nullptr, &CKestrinView::OnSetPlotPoint},
        {cmd::ViewMetaHData, hasWindows, &CKestrinView::OnViewMetaHData},
        {cmd::ExtractHDataDocument, hasWindows, &CKestrinView::OnExtractHDataDocument},
        {cmd::ExtractHDataText, hasWindows, &CKestrinView::OnExtractHDataText},
        {cmd::SetSlopeWindows, hasData, &CKestrinView::OnSetSlopeWindows},
        {cmd::Correlation,
         [](const CKestrinView& v) {
             const CKestrinDoc& doc = v.m_doc;
             return Enabled(doc.m_bHasData != 0 && !doc.m_slopes.IsEmpty() && !doc.m_windows.IsEmpty());
         },
         &CKestrinView::OnCorrelation},
    };
    return commands;
}

const CKestrinView::CViewCommand* CKestrinView::FindViewCommand(int id)
{
    const std::vector<CViewCommand>& all = ViewCommands();
    const auto it = std::find_if(all.begin(), all.end(), [id](const CViewCommand& c) { return c.id == id; });
    return it == all.end() ? nullptr : &*it;
}

bool CKestrinView::RoutesCommand(int id) const
{
    return FindViewCommand(id) != nullptr;
}

CCommandState CKestrinView::GetCommandState(int id) const
{
    const CViewCommand* command = FindViewCommand(id);
    return command && command->state ? command->state(*this) : CCommandState{};
}

bool CKestrinView::OnCommand(int id)
{
    const CViewCommand* command = FindViewCommand(id);
    if (!command)
        return false;
    // A command may arrive from a shortcut or a stale toolbar: obey the rules.
    if (!GetCommandState(id).enabled)
        return true;
    (this->*command->run)();
    emit commandStateChanged();
    return true;
}
