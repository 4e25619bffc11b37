// The first lag in the workbench: the H Parameters dialog's "First lag"
// field and its check, the fit plot's hollow points for the lags left out,
// the drag across the points that chooses r_min and M, and the field of the
// Sliding Windows dialog.
#include <memory>
#include <vector>

#include <QComboBox>
#include <QImage>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <gtest/gtest.h>

#include "analysis/SlidingWindows.h"
#include "analysis/ui/SlidingWindowsDlg.h"
#include "dialogs/FitPlotWnd.h"
#include "dialogs/HParamsDlg.h"
#include "dialogs/ParamsDlgOwner.h"
#include "document/KestrinDoc.h"
#include "platform/HeadlessUi.h"
#include "tests/support/SeriesBuilders.h"
#include "tests/support/gui/DialogTestSupport.h"

namespace first_lag_dlg_test {

namespace {

class FakeOwner : public IParamsDlgOwner
{
public:
    explicit FakeOwner(CKestrinDoc& doc) : m_doc(doc) {}
    CKestrinDoc& GetDocument() const override { return m_doc; }
    void RegenerateSeriesGraph() override {}
    void RepaintNow() override {}

private:
    CKestrinDoc& m_doc;
};

double Estimate(const CKestrinDoc& doc, CEstimatorSetting setting)
{
    CHDataSet set(setting);
    set.m_bAutoCompute = 0;
    for (const CSeriesPoint& p : doc.m_points)
        set.Values().Add(p.m_dY);
    set.Compute();
    return set.GetH();
}

class FirstLagDlgTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        doc.OnNewDocument();
        doc.m_points = MakeSeriesFrom(0.0, RandomWalk(400, 3));
        doc.m_bHasData = 1;
        doc.SetHParameters({.nD = 4, .nM = 8});
        doc.SetTabs({200.0});
        dlg = std::make_unique<CHParamsDlg>(&owner, nullptr);
        dlg->show();
        spin = Control<QSpinBox>(*dlg, "spinFirstLag");
    }

    CHeadlessUi ui;
    CKestrinDoc doc{ui};
    FakeOwner owner{doc};
    std::unique_ptr<CHParamsDlg> dlg;
    QSpinBox* spin = nullptr;
};

} // namespace

TEST_F(FirstLagDlgTest, FieldAppliesTheFirstLagAndRefusesOneTooLate)
{
    EXPECT_EQ(spin->text(), "First lag 1");
    EXPECT_LE(spin->fontMetrics().horizontalAdvance(spin->text()) + 8, spin->width());
    spin->setValue(3);
    Click(Control<QPushButton>(*dlg, "button1026"));
    EXPECT_EQ(doc.m_globalSet.GetRMin(), 3);
    EXPECT_EQ(doc.m_nRMin, 3);
    EXPECT_EQ(doc.m_globalSet.GetH(), Estimate(doc, {.nD = 4, .nM = 8, .nRMin = 3}));
    EXPECT_EQ(spin->value(), 3); // "Global" shown again, with its first lag
    EXPECT_TRUE(ui.messages.empty());

    const double before = doc.m_globalSet.GetH();
    spin->setValue(8);
    Click(Control<QPushButton>(*dlg, "button1026"));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, FirstLagRangeMessage(8));
    EXPECT_EQ(doc.m_globalSet.GetRMin(), 3);
    EXPECT_EQ(doc.m_globalSet.GetH(), before);

    // An interval takes its own through the document.
    ui.messages.clear();
    auto* combo = Control<QComboBox>(*dlg, "combo1015");
    QTest::keyClick(combo, Qt::Key_Down);
    EXPECT_EQ(spin->value(), 1); // made before the document's first lag changed
    spin->setValue(2);
    Click(Control<QPushButton>(*dlg, "button1026"));
    EXPECT_EQ(doc.m_tabSets[0]->GetRMin(), 2);
    EXPECT_EQ(doc.m_tabSets[1]->GetRMin(), 1);
}

TEST_F(FirstLagDlgTest, FitPlotDrawsTheLagsLeftOutHollow)
{
    doc.SetHParameters({.nD = 4, .nM = 8, .nRMin = 3});
    CFitPlot plot;
    plot.resize(480, 360);
    plot.SetData(FitPlotDataOf(doc.m_globalSet, "Global"));
    QImage image(plot.size(), QImage::Format_RGB32);
    QPainter painter(&image);
    plot.Draw(painter, plot.size());
    painter.end();
    for (std::size_t i = 0; i < 8; ++i) {
        const std::optional<QPointF> at = plot.PointPosition(i);
        ASSERT_TRUE(at.has_value());
        const QColor centre = image.pixelColor(at->toPoint());
        if (i < 2)
            EXPECT_EQ(centre, QColor(Qt::white)) << "lag " << i + 1;
        else
            EXPECT_EQ(centre, QColor(200, 0, 0)) << "lag " << i + 1;
        // The red ring is drawn either way: some pixel about 3 from the centre is red.
        bool ring = false;
        for (int dx = -4; dx <= 4; ++dx)
            for (int dy = -4; dy <= 4; ++dy) {
                const int d2 = dx * dx + dy * dy;
                const QColor c = image.pixelColor(at->toPoint() + QPoint(dx, dy));
                ring = ring || (d2 >= 6 && d2 <= 14 && c.red() > c.green() + 100);
            }
        EXPECT_TRUE(ring) << "lag " << i + 1;
    }
}

TEST_F(FirstLagDlgTest, DragAcrossThePointsChoosesFirstLagAndM)
{
    Click(Control<QPushButton>(*dlg, "buttonFitPlot"));
    auto* wnd = dlg->findChild<CFitPlotWnd*>();
    ASSERT_NE(wnd, nullptr);
    CFitPlot& plot = wnd->Plot();
    const auto x = [&](std::size_t i) { return plot.PointPosition(i)->toPoint().x(); };
    const int y = plot.height() / 2;
    // From just before lag 2 to just past lag 6.
    QTest::mousePress(&plot, Qt::LeftButton, Qt::NoModifier, QPoint(x(1) - 2, y));
    QTest::mouseMove(&plot, QPoint(x(3), y));
    QTest::mouseRelease(&plot, Qt::LeftButton, Qt::NoModifier, QPoint(x(5) + 2, y));
    EXPECT_EQ(doc.m_globalSet.GetRMin(), 2);
    EXPECT_EQ(doc.m_globalSet.GetM(), 6);
    EXPECT_EQ(doc.m_globalSet.GetH(), Estimate(doc, {.nD = 4, .nM = 6, .nRMin = 2}));
    EXPECT_EQ(plot.Data().firstFitted, 1);
    EXPECT_EQ(plot.Data().x.size(), 6u);
    EXPECT_TRUE(ui.messages.empty());

    // A drag over one point chooses nothing and says why; a click is no drag.
    QTest::mousePress(&plot, Qt::LeftButton, Qt::NoModifier, QPoint(x(2) - 4, y));
    QTest::mouseRelease(&plot, Qt::LeftButton, Qt::NoModifier, QPoint(x(2) + 4, y));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Drag across at least two points: the line is fitted through two lags or more.");
    QTest::mouseClick(&plot, Qt::LeftButton, Qt::NoModifier, QPoint(x(2), y));
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(doc.m_globalSet.GetSetting(), (CEstimatorSetting{.nD = 4, .nM = 6, .nRMin = 2}));
}

TEST_F(FirstLagDlgTest, SlidingWindowsFieldIsCheckedAgainstTheWindowsM)
{
    CSlidingWindowsDlg sliding(ui);
    sliding.show();
    auto* field = Control<QSpinBox>(sliding, "spinFirstLag");
    EXPECT_EQ(field->value(), 1);
    field->setValue(10); // width 100: best M 10
    sliding.accept();
    EXPECT_EQ(sliding.result(), QDialog::Rejected);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, FirstLagRangeMessage(10));
    field->setValue(9);
    sliding.accept();
    EXPECT_EQ(sliding.result(), QDialog::Accepted);
    EXPECT_EQ(sliding.m_nRMin, 9);
}

} // namespace first_lag_dlg_test
