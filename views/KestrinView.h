#pragma once

#include <functional>
#include <memory>
#include <optional>

#include <QWidget>

#include "core/EstimatorSetting.h"
#include "views/CommandTable.h"
#include "views/EstimateStatus.h"
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
class CSeriesSummary;
class QRubberBand;
struct CTabInterval;
struct CHPoint;
struct SlidingWindowParams;

// The one view of a document window. It lays out its four child windows
// (series graph, ruler, H graph, legend), keeps the plot extents that turn
// values into pixels and the window's own state (its tabs among it), gathers
// what the child windows paint, turns the ruler's reports into changes of the
// window's tabs, hands the tabs to the document, and receives the document's
// analysis commands. It draws nothing itself.
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
    CPlotExtents ShownExtents() const override;
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

    bool HasTabs() const { return !m_window.m_tabs.empty(); }
    // This window's ruler's tab positions as last calculated, ascending.
    const std::vector<std::int32_t>& TabPositions() const { return m_window.m_tabPositions; }
    // What belongs to this window: its tabs, the plot point, the width and
    // the Meta H of its sliding-window computations.
    const CWindowState& WindowState() const { return m_window; }

    // The window's tabs (KestrinViewRulerTabs.cpp). Each change but
    // AddTabAt(x, false) ends in RecalculateWindows.
    //
    // Every tab's current value (a tab that follows its column takes that
    // column's value), in order of creation ("Recalculating Windows..."
    // while it reads them), handed to the document, which rebuilds its
    // intervals and updates its views.
    void RecalculateWindows();
    // A tab that keeps the value x; none while the document holds no series.
    void AddTabAt(double x, bool recalculate);
    // Puts tabs at the given X values, in that order, without recalculating
    // (the tabs of an opened document). Returns whether any were placed.
    bool PlaceTabs(const std::vector<double>& values);
    // Auto-Tab: replaces every tab by tabs at min + interval, min + 2
    // interval, ... below the X maximum. Refuses (with a message, placing
    // none) an interval of 0 or less, and one that would make more than
    // kMaxGeneratedTabs tabs. Returns whether the tabs were generated.
    bool GenerateTabs(double interval);
    void DeleteAllTabs();
    // Deletes the first tab whose label equals label; recalculates always.
    void DeleteTabByLabel(const std::string& label);
    // Every tab's current value printed with "%.2f": the labels in lists.
    std::vector<std::string> TabLabels();

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
    // With intervalBand, the results' interval band too (KestrinViewBand.cpp).
    bool ComputeSlidingWindows(std::int32_t width, std::int32_t spacing, CEstimatorSetting setting, bool useBestM,
                               bool intervalBand = false);
    // Computes the interval band of the document's sliding-window results,
    // computed with params, with a progress window that can cancel it;
    // a band that cannot be computed is refused with a message.
    void ComputeIntervalBand(const SlidingWindowParams& params);

    // The zoom of the window's display (KestrinViewZoom.cpp). It changes what
    // is drawn only: the analyses, the tabs' calculation and the exports of
    // numbers read the series' extents. Each change repaints once the events
    // waiting have been handled, so that a run of wheel steps draws once.
    //
    // Whether the window shows a part of the series.
    bool IsZoomed() const { return !m_window.m_zoom.empty(); }
    // Shows the plot's pixels r (plot coordinates): its X and Y range.
    // Refused (false) for a rectangle less than 3 pixels wide or high.
    bool ZoomToRect(const QRect& r);
    // Zooms X by 0.8 per step (fewer for negative steps) around plot column
    // px; within the series' X extremes.
    void ZoomAround(int px, double steps);
    // Moves the X range shown by a tenth of it per step, toward smaller X for
    // positive steps; within the series' X extremes.
    void Pan(double steps);
    // One step back; the whole series after the first.
    void ZoomOut();
    void FullView();
    // The readout of plot pixel (px, py): "X: ..., Y: ..." and, with
    // sliding-window results, ", H: ..." of the window nearest to that X.
    QString ReadoutAt(int px, int py) const;
    // What the whole series' estimate must be read with (fewer than 128
    // values, smoother than any fractional Brownian motion); empty when
    // nothing. The status bar shows it while this window is the active one.
    QString EstimateWarning() const { return QString::fromStdString(m_estimateStatus.Text()); }

    // Round ticks with their numbers, a grid and an H scale on the picture.
    // Off unless the application turns it on.
    void SetAxisScales(bool on);
    bool AxisScales() const { return m_bAxisScales; }

    // The modeless H parameters dialog, created hidden at the initial update.
    CHParamsDlg* ParamsDlg() const { return m_pParamsDlg; }
    // Has the parameters dialog rebuild its list of estimators; the ruler
    // calls it after every recalculation.
    void RefreshParamsDlg();
    // Sets M and/or D of every interval estimator through the document, which
    // recomputes each and tells every window.
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
    // The text of the status bar's readout: the values under the pointer;
    // empty while the pointer is outside the plot.
    void readoutChanged(const QString& text);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void leaveEvent(QEvent* event) override;

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
    // The ruler's reports of the user's changes, and the tabs kept in step
    // with its markers (KestrinViewRulerTabs.cpp).
    void ConnectRulerTabs();
    void AppendTab(CWindowTab tab, int left);
    void EraseTab(int index);
    // Puts every tab's column at its value's column (after a resize) and
    // its marker there.
    void MoveRulerTabsToValues();
    // Puts every marker where the range shown has its tab: at its column at
    // full view, at its value's column when zoomed.
    void PlaceRulerTabs();
    int ShownTabLeft(const CWindowTab& tab) const;
    // A tab placed at ruler column left: at full view it follows its column;
    // zoomed, it keeps the X under the pointer.
    CWindowTab TabAtColumn(int left) const;
    // The column of x on the ruler at full view.
    int FullColumn(double x) const;
    // A tab that follows its column takes that column's value.
    void DeriveTabValues();
    std::vector<double> CollectTabValues();
    // The window's tabs changed: the document rebuilds its intervals from
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
    // The zoom (KestrinViewZoom.cpp).
    void OnZoomOut() { ZoomOut(); }
    void OnFullView() { FullView(); }
    // Shows range: a new step, or in place of the last one while a run of
    // wheel steps goes on. The whole series ends the zoom.
    void ShowRange(const CShownRange& range, bool wheel);
    // The range shown changed: markers, a fresh series drawing and one
    // repaint once the events waiting are handled, the readout.
    void ZoomChanged();
    // Drops that many steps of the zoom (all of them: the whole series).
    void ZoomBack(std::size_t steps);
    std::optional<CPlotExtents> ZoomedExtents() const;
    std::shared_ptr<const CSeriesSummary> Summary() const;
    void UpdateReadout(const QPoint& pos);
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
    // The whole series' estimate whose warnings the status bar last said.
    CEstimateStatus m_estimateStatus;
    // The series' Y extremes by blocks, made at the first zoomed drawing of
    // a series and dropped when it changes.
    mutable std::shared_ptr<const CSeriesSummary> m_summary;
    // The rectangle being dragged over the plot.
    QRubberBand* m_rubberBand = nullptr;
    std::optional<QPoint> m_dragStart;
    // The last zoom step came from the wheel: the next wheel step continues it.
    bool m_bWheelRun = false;
    // The readout last sent.
    QString m_readout;
};
