#pragma once

#include <functional>

#include <QWidget>

#include "core/EstimatorSetting.h"
#include "views/CommandTable.h"
#include "platform/Document.h"
#include "views/HGraph.h"
#include "views/HRuler.h"
#include "views/Legend.h"
#include "dialogs/ParamsDlgOwner.h"
#include "views/PictureLayout.h"
#include "views/PictureRender.h"
#include "views/PictureSource.h"
#include "core/PlotExtents.h"
#include "core/PlotMapping.h"
#include "views/SeriesGraph.h"
#include "views/WindowState.h"

class CKestrinDoc;
class CHParamsDlg;
struct CTabInterval;
struct CHPoint;

// The one view of a document window. It lays out its four child windows
// (series graph, ruler, H graph, legend), keeps the plot extents that turn
// values into pixels and the window's own state, gathers what the child
// windows paint, hands the ruler's tabs to the document, and receives the
// document's analysis commands. It draws nothing itself.
class CKestrinView : public QWidget, public CView, public IParamsDlgOwner, public IPictureSource
{
    Q_OBJECT

public:
    explicit CKestrinView(CKestrinDoc& doc, QWidget* parent = nullptr);
    ~CKestrinView() override;

    CKestrinDoc& GetDocument() const override { return m_doc; }
    void RegenerateSeriesGraph() override;
    void RepaintNow() override;

    // Creates the child windows and runs the first update.
    void OnInitialUpdate();
    // The document changed: new extents, a fresh series drawing, the legend's
    // data, and an immediate repaint.
    void OnUpdate(CView* sender, long hint, void* hintObject) override;

    // Margins: left 40, top 25, right 10, bottom 40. The plot rectangle of a client area of cx by cy pixels.
    static QRect PlotRect(int cx, int cy) { return PicturePlotRect(cx, cy); }
    static QRect RulerRect(int cx) { return PictureRulerRect(cx); }

    const CPlotExtents& GetPlotExtents() const override { return m_extents; }
    // The mappings, for a rectangle given as a window's client rectangle.
    CPixel ValueToPixel(const QRect& rect, double x, double y) const;
    double PixelToValue(const QRect& rect, int px) const;
    int HToPixel(const QRect& rect, double h) const;
    CPixel SlidingResultToPixel(const QRect& rect, const CHPoint& result) const;
    static CPlotRect ToPlotRect(const QRect& rect);

    // Whether the view routes the command, and if so its state.
    bool RoutesCommand(int id) const;
    CCommandState GetCommandState(int id) const;
    // Runs a routed command. Returns false for ids the view does not route.
    bool OnCommand(int id);

    CSeriesGraph& SeriesGraph() { return m_seriesGraph; }
    CHRuler& Ruler() { return m_ruler; }
    CHGraph& HGraph() { return m_hGraph; }
    CLegend& Legend() { return m_legend; }

    bool HasTabs() const { return m_ruler.GetTabCount() > 0; }
    // This window's ruler's tab positions as last calculated, ascending.
    const std::vector<std::int32_t>& TabPositions() const { return m_window.m_tabPositions; }
    // What belongs to this window: the plot point, the width and the Meta H
    // of its sliding-window computations.
    const CWindowState& WindowState() const { return m_window; }

    // What the layers draw, gathered from the document, the ruler and the
    // window's state; the window and every copy of the picture use them.
    bool HasData() const override;
    CSeriesGraphData SeriesGraphData() const override;
    CHGraphData HGraphData() const override;
    CLegendData LegendData() const override;
    IUiServices& PictureUi() const override;
    CPictureData PictureData() const;

    // The sliding-window operations on the document, with this window's
    // plot point (KestrinViewAnalysisCommands.cpp).
    //
    // Replaces the document's sliding results by a fresh computation plotted
    // at the window's plot point. Parameters that cannot be computed (a
    // negative width or spacing, say) are refused with a message before
    // anything changes; returns whether the computation ran.
    bool ComputeSlidingWindows(std::int32_t width, std::int32_t spacing, CEstimatorSetting setting, bool useBestM);

    // Round ticks with their numbers, a grid and an H scale on the picture.
    // Off unless the application turns it on.
    void SetAxisScales(bool on);
    bool AxisScales() const { return m_bAxisScales; }

    // The modeless H parameters dialog, created hidden at the initial update.
    CHParamsDlg* ParamsDlg() const { return m_pParamsDlg; }
    // Has the parameters dialog rebuild its list of estimators; the ruler
    // calls it after every recalculation.
    void RefreshParamsDlg();
    // Sets M and/or D of every interval estimator, recomputes each, repaints.
    void SetAllTabParameters(bool modifyM, bool modifyD, CEstimatorSetting setting, bool useOptimumM);

    // Makes a new, empty document shown in a window of its own, as the
    // File menu's New does, and returns it; null when none can be made. The
    // application that holds the view's window supplies it; the extraction
    // commands fill the document it gives.
    using NewDocumentFactory = std::function<CKestrinDoc*()>;
    void SetNewDocumentFactory(NewDocumentFactory factory) { m_newDocument = std::move(factory); }

signals:
    // The facts behind the commands' enable and check rules may have changed.
    void commandStateChanged();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // The view's part of the command table: the enable and check rule (none:
    // always enabled) and the handler of each command the view runs
    // (ViewCommands.cpp).
    struct CViewCommand
    {
        int id;
        CCommandState (*state)(const CKestrinView&);
        void (CKestrinView::*run)();
    };
    static const std::vector<CViewCommand>& ViewCommands();
    static const CViewCommand* FindViewCommand(int id);

    void RecalculateExtents();
    // The ruler's tabs changed: the document rebuilds its intervals from
    // values (with the saved intervals' D and M when given) and updates its
    // views, which repaint at once.
    void OnTabsChanged(const std::vector<double>& values, const std::vector<CTabInterval>* intervals);
    // Keeps plotPoint for the next computation and moves every stored result
    // to it; with results, the view is repainted at once.
    void ResetPlotPoints(double plotPoint);
    // Meta H over the document's sliding results into the window's state.
    void ComputeMetaH(CEstimatorSetting setting, bool useBestM);
    void OnImportTextFile();
    void OnShowSeriesGraph();
    void OnShowHGraph();
    void OnShowLegend();
    // Tab and parameter commands (KestrinViewTabCommands.cpp).
    void CreateParamsDlg();
    void DestroyParamsDlg();
    void OnHParameters();
    void OnDeleteTabAt();
    void OnDeleteAllTabs();
    void OnAutoTab();
    void OnTabSettings();
    // Database import (KestrinViewDatabase.cpp).
    void OnImportDatabase();
    // Window analyses, exports and extractions (KestrinViewAnalysisCommands.cpp).
    void OnSetSlidingWindows();
    void OnClearSlidingWindows();
    void OnSetPlotPoint();
    void OnViewMetaHData();
    void OnSetSlopeWindows();
    void OnCorrelation();
    void OnExtractHDataText();
    void OnExtractHDataDocument();
    void OnExtractData();
    void OnProfile();
    CKestrinDoc* NewDocument();
    // The picture as a file, on paper and on the clipboard
    // (KestrinViewPictureCommands.cpp).
    void OnExportPicture();
    void OnPrint();
    void OnPrintPreview();
    void OnCopyPicture();

    CKestrinDoc& m_doc;
    // Declared in creation order; destroyed in reverse.
    CSeriesGraph m_seriesGraph;
    CHRuler m_ruler;
    CHGraph m_hGraph;
    CLegend m_legend;
    CPlotExtents m_extents;
    CWindowState m_window;
    CHParamsDlg* m_pParamsDlg = nullptr;
    NewDocumentFactory m_newDocument;
    bool m_bAxisScales = false;
};
