// The H parameters dialog: the selector, the details of the selection, Apply
// on an interval and on the whole series, the optimum M, the data dialog,
// and the dialog as the view owns it.
#include <memory>
#include <string>
#include <vector>

#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTableWidget>
#include <QToolButton>
#include <QTreeView>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "analysis/BootstrapText.h"
#include "analysis/IntervalBootstraps.h"
#include "dialogs/BootstrapAllDlg.h"
#include "dialogs/BootstrapDlg.h"
#include "views/CommandIds.h"
#include "dialogs/CompareMethodsDlg.h"
#include "tests/support/gui/DialogTestSupport.h"
#include "dialogs/FitPlotWnd.h"
#include "core/Format.h"
#include "core/PlotMapping.h"
#include "dialogs/HDataDlg.h"
#include "dialogs/HParamsDlg.h"
#include "platform/HeadlessUi.h"
#include "document/KestrinDoc.h"
#include "views/HGraph.h"
#include "views/KestrinView.h"
#include "dialogs/ParamsDlgOwner.h"
#include "platform/ui/SpinButton.h"

namespace h_params_dlg_test {

namespace {

class FakeOwner : public IParamsDlgOwner
{
public:
    explicit FakeOwner(CKestrinDoc& doc) : m_doc(doc) {}
    CKestrinDoc& GetDocument() const override { return m_doc; }
    void RegenerateSeriesGraph() override { ++regenerations; }
    void RepaintNow() override { ++repaints; }

    int regenerations = 0;
    int repaints = 0;

private:
    CKestrinDoc& m_doc;
};

struct Snapshot
{
    int d, m, count;
    double h;
    bool operator==(const Snapshot&) const = default;
};

Snapshot Take(const CHDataSet& s)
{
    return {s.GetD(), s.GetM(), s.GetCount(), s.GetH()};
}

std::vector<Snapshot> TakeAll(const CKestrinDoc& doc)
{
    std::vector<Snapshot> v;
    for (const auto& set : doc.m_tabSets)
        v.push_back(Take(*set));
    return v;
}

// Loads Y values at X = 0, 1, 2, ... as an import would, with the
// document's D and M.
void Load(CKestrinDoc& doc, const std::vector<double>& ys, int nD, int nM)
{
    doc.OnNewDocument();
    doc.m_nD = nD;
    doc.m_nM = nM;
    for (std::size_t i = 0; i < ys.size(); ++i) {
        CSeriesPoint p{};
        p.m_dX = static_cast<double>(i);
        p.m_dY = ys[i];
        doc.m_points.Add(p);
    }
    doc.RecalculateH();
    doc.m_bHasData = 1;
    doc.SetModifiedFlag(false);
}

// The selector's entries.
std::vector<std::string> Entries(QComboBox* combo)
{
    std::vector<std::string> v;
    for (int i = 0; i < combo->count(); ++i)
        v.push_back(combo->itemText(i).toStdString());
    return v;
}

// Chooses an entry with the keyboard, as a user would: one key press per
// entry passed. (Choosing the second of two equal labels lands on the first.)
void ChooseIndex(QComboBox* combo, int index)
{
    const int from = combo->currentIndex();
    for (int i = from; i < index; ++i)
        QTest::keyClick(combo, Qt::Key_Down);
    for (int i = from; i > index; --i)
        QTest::keyClick(combo, Qt::Key_Up);
}

std::vector<std::string> Row(QTreeWidget* list, int i)
{
    std::vector<std::string> v;
    QTreeWidgetItem* item = list->topLevelItem(i);
    for (int c = 0; c < 4; ++c)
        v.push_back(item ? item->text(c).toStdString() : std::string("<none>"));
    return v;
}

std::string Fixed2(double v)
{
    return FormatFixed(v, 2);
}

// Values 0..9 make the first interval (tab at 10) the estimator whose
// numbers are known for D = 1, M = 2: L = 9, 8; b = -1.169925, H = 0.830075,
// r = -1.
const std::vector<double> kSeries = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 3, 1, 4, 1, 5, 9, 2, 6, 5, 3};

struct Controls
{
    explicit Controls(QWidget& dlg)
        : combo(Control<QComboBox>(dlg, "combo1015")), h(Control<QLineEdit>(dlg, "edit1016")),
          r(Control<QLineEdit>(dlg, "edit1017")), b(Control<QLineEdit>(dlg, "edit1018")),
          optimumM(Control<QPushButton>(dlg, "button1039")), m(Control<QLineEdit>(dlg, "edit1019")),
          spinM(Control<CSpinButton>(dlg, "spin1020")), d(Control<QLineEdit>(dlg, "edit1021")),
          spinD(Control<CSpinButton>(dlg, "spin1022")), list(Control<QTreeWidget>(dlg, "list1023")),
          dismiss(Control<QPushButton>(dlg, "button1")), apply(Control<QPushButton>(dlg, "button1026")),
          viewData(Control<QPushButton>(dlg, "button1038"))
    {
    }

    QComboBox* combo;
    QLineEdit* h;
    QLineEdit* r;
    QLineEdit* b;
    QPushButton* optimumM;
    QLineEdit* m;
    CSpinButton* spinM;
    QLineEdit* d;
    CSpinButton* spinD;
    QTreeWidget* list;
    QPushButton* dismiss;
    QPushButton* apply;
    QPushButton* viewData;
};

class HParamsDlgTest : public ::testing::Test
{
protected:
    // The dialog over the series with tabs at 10 and 15, shown.
    void Open(const std::vector<std::int32_t>& tabs = {10, 15})
    {
        Load(doc, kSeries, 1, 2);
        doc.CalculateTabH(tabs);
        dlg = std::make_unique<CHParamsDlg>(&owner, nullptr);
        dlg->show();
        c = std::make_unique<Controls>(*dlg);
        ui.statusTexts.clear();
        ui.m_waitBegins = 0;
    }

    // Intervals of 0, 3, 300 and 1 values, each with D 1 and M 2.
    void LoadFourIntervals()
    {
        std::vector<double> ys;
        for (int i = 0; i < 305; ++i)
            ys.push_back((i * 37) % 11);
        Load(doc, ys, 1, 2);
        doc.CalculateTabH({0, 3, 303});
    }

    CHeadlessUi ui;
    CKestrinDoc doc{ui};
    FakeOwner owner{doc};
    std::unique_ptr<CHParamsDlg> dlg;
    std::unique_ptr<Controls> c;
};

} // namespace

TEST_F(HParamsDlgTest, ControlsAndColumns)
{
    doc.OnNewDocument();
    CHParamsDlg fresh(&owner);
    // Created hidden: only the view's command shows it.
    EXPECT_FALSE(fresh.isVisible());
    EXPECT_FALSE(fresh.isModal());
    fresh.show();
    Controls k(fresh);
    EXPECT_EQ(fresh.windowTitle(), "Hurst Parameters and Variables");
    EXPECT_EQ(k.optimumM->text(), "&M");
    EXPECT_EQ(k.dismiss->text(), "&Dismiss");
    EXPECT_TRUE(k.dismiss->isDefault());
    EXPECT_EQ(k.apply->text(), "&Apply");
    EXPECT_EQ(k.viewData->text(), "&View Data");
    EXPECT_EQ(Control<QPushButton>(fresh, "buttonCompareMethods")->text(), "&Compare Methods...");
    EXPECT_FALSE(k.combo->isEditable());
    std::vector<QString> labels;
    for (QLabel* label : fresh.findChildren<QLabel*>())
        labels.push_back(label->text());
    // The last two, empty until a bootstrap has run and for an empty series,
    // hold the bootstrap's result and the warnings of the estimate.
    EXPECT_EQ(labels, (std::vector<QString>{"H Tab at X:", "H:", "r:", "b:", "D", "", ""}));
    auto* group = fresh.findChild<QGroupBox*>();
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->title(), "H Parameters");
    for (QLineEdit* e : {k.h, k.r, k.b, k.m, k.d})
        EXPECT_TRUE(e->isReadOnly()) << e->objectName().toStdString();
    for (QLineEdit* e : {k.h, k.r, k.b})
        EXPECT_TRUE(e->alignment() & Qt::AlignRight);
    // M and D sit in their group; every text fits its control.
    for (QWidget* w : std::vector<QWidget*>{k.optimumM, k.m, k.spinM, k.d, k.spinD})
        EXPECT_TRUE(group->geometry().contains(w->geometry())) << w->objectName().toStdString();
    ExpectTextsFit(fresh);

    EXPECT_EQ(k.spinM->Lower(), 1);
    EXPECT_EQ(k.spinM->Upper(), 500);
    EXPECT_EQ(k.spinD->Lower(), 1);
    EXPECT_EQ(k.spinD->Upper(), 500);

    ASSERT_EQ(k.list->columnCount(), 4);
    const char* titles[] = {"L(r)", "Value", "X", "Y"};
    const int widths[] = {50, 100, 50, 50};
    for (int col = 0; col < 4; ++col) {
        EXPECT_EQ(k.list->headerItem()->text(col), titles[col]);
        EXPECT_EQ(k.list->columnWidth(col), widths[col]) << col;
        const Qt::Alignment align = Qt::Alignment(k.list->headerItem()->textAlignment(col));
        EXPECT_EQ(bool(align & Qt::AlignRight), col != 0) << col;
    }
}

TEST_F(HParamsDlgTest, WithoutTabsOnlyGlobal)
{
    // A new document: the global estimator is reset to D 4, M 5 and not
    // computed, so everything reads zero.
    doc.OnNewDocument();
    CHParamsDlg fresh(&owner);
    Controls k(fresh);
    EXPECT_EQ(Entries(k.combo), (std::vector<std::string>{"Global"}));
    EXPECT_EQ(k.combo->currentText(), "Global");
    EXPECT_EQ(fresh.m_strSelection, "Global");
    EXPECT_EQ(k.d->text(), "4");
    EXPECT_EQ(k.m->text(), "5");
    EXPECT_EQ(k.spinD->GetPos(), 4);
    EXPECT_EQ(k.spinM->GetPos(), 5);
    EXPECT_EQ(k.h->text(), "0.00");
    EXPECT_EQ(k.r->text(), "0.00");
    EXPECT_EQ(k.b->text(), "0.00");
    ASSERT_EQ(k.list->topLevelItemCount(), 5);
    EXPECT_EQ(Row(k.list, 0), (std::vector<std::string>{"1", "0.00", "0.00", "0.00"}));
    EXPECT_EQ(Row(k.list, 4), (std::vector<std::string>{"5", "0.00", "0.00", "0.00"}));

    // Loaded data with no tabs: still only "Global", now with its numbers.
    Load(doc, kSeries, 1, 2);
    fresh.RefreshTabList();
    EXPECT_EQ(Entries(k.combo), (std::vector<std::string>{"Global"}));
    EXPECT_EQ(k.h->text().toStdString(), Fixed2(doc.m_globalSet.GetH()));
    EXPECT_EQ(k.list->topLevelItemCount(), 2);
}

TEST_F(HParamsDlgTest, ChoosingAnIntervalShowsItsEstimate)
{
    Open();
    EXPECT_EQ(Entries(c->combo), (std::vector<std::string>{"Global", "10.000000", "15.000000", "19.000000"}));
    EXPECT_EQ(c->combo->currentText(), "Global");
    ChooseIndex(c->combo, 1);
    EXPECT_EQ(dlg->m_strSelection, "10.000000");
    EXPECT_EQ(c->h->text(), "0.83");
    EXPECT_EQ(c->r->text(), "-1.00");
    EXPECT_EQ(c->b->text(), "-1.17");
    EXPECT_EQ(c->m->text(), "2");
    EXPECT_EQ(c->d->text(), "1");
    ASSERT_EQ(c->list->topLevelItemCount(), 2);
    // Lags counted from 1: L(r), log10 r, log10(L(r)/r).
    EXPECT_EQ(Row(c->list, 0), (std::vector<std::string>{"1", "9.00", "0.00", "0.95"}));
    EXPECT_EQ(Row(c->list, 1), (std::vector<std::string>{"2", "8.00", "0.30", "0.60"}));
    EXPECT_TRUE(c->list->topLevelItem(0)->textAlignment(1) & Qt::AlignRight);

    // Another interval replaces the table.
    ChooseIndex(c->combo, 3);
    const CHDataSet& last = *doc.m_tabSets[2];
    EXPECT_EQ(c->h->text().toStdString(), Fixed2(last.GetH()));
    EXPECT_EQ(Row(c->list, 1)[1], Fixed2(last.GetL(1)));
    EXPECT_EQ(owner.repaints, 0);
}

// The words H must be read with are shown in the window, below the
// bootstrap's line, for the estimate chosen; no message box opens.
TEST_F(HParamsDlgTest, WarningsOfTheEstimateChosenAreShownBelowIt)
{
    std::vector<double> quadratic, walk{0.0};
    for (int i = 0; i < 400; ++i)
        quadratic.push_back(1e-3 * i * i);
    for (int i = 1; i < 400; ++i)
        walk.push_back(walk.back() + ((i * 7919) % 13 < 6 ? 1.0 : -1.0));
    const QString smooth =
        "The series is smoother than any fractional Brownian motion: a trend or a smooth signal dominates.";
    const QString few = "Estimates from fewer than 128 values vary by 0.1 or more; use the bootstrap to see how far.";
    const struct
    {
        const char* name;
        std::vector<double> values;
        int entry; // 0 Global, 1 the interval ending at 10
        QString shown;
    } cases[] = {
        {"quadratic", quadratic, 0, smooth},
        {"walk", walk, 0, ""},
        {"its first ten values", walk, 1, few},
        {"quadratic, first ten", quadratic, 1, smooth + "\n" + few},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Load(doc, c.values, 4, 3);
        doc.CalculateTabH({10});
        CHParamsDlg shown(&owner);
        shown.show();
        Controls k(shown);
        ChooseIndex(k.combo, c.entry);
        auto* label = Control<QLabel>(shown, "labelHWarnings");
        EXPECT_EQ(label->text().toStdString(), c.shown.toStdString());
        EXPECT_GE(label->y(), Control<QLabel>(shown, "labelBootstrap")->geometry().bottom());
        EXPECT_LE(label->heightForWidth(label->width()), label->height());
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    }
}

TEST_F(HParamsDlgTest, RowsPastTheTablesShowZero)
{
    Open();
    // M raised without a computation: the tables still hold two lags.
    doc.m_tabSets[0]->SetM(5);
    ChooseIndex(c->combo, 1);
    EXPECT_EQ(c->m->text(), "5");
    ASSERT_EQ(c->list->topLevelItemCount(), 5);
    EXPECT_EQ(Row(c->list, 1), (std::vector<std::string>{"2", "8.00", "0.30", "0.60"}));
    for (int i = 2; i < 5; ++i)
        EXPECT_EQ(Row(c->list, i), (std::vector<std::string>{std::to_string(i + 1), "0.00", "0.00", "0.00"}));
}

TEST_F(HParamsDlgTest, ApplyOnAnIntervalRecomputesOnlyIt)
{
    Open();
    const Snapshot global = Take(doc.m_globalSet);
    const std::vector<Snapshot> before = TakeAll(doc);
    ChooseIndex(c->combo, 3);
    // M 2 -> 4 and D 1 -> 2 with the spins' arrows.
    Click(c->spinM->UpButton());
    Click(c->spinM->UpButton());
    Click(c->spinD->UpButton());
    EXPECT_EQ(c->m->text(), "4");
    EXPECT_EQ(c->d->text(), "2");
    // Nothing happens until Apply.
    EXPECT_EQ(TakeAll(doc), before);
    Click(c->apply);

    const CHDataSet& changed = *doc.m_tabSets[2];
    EXPECT_EQ(changed.GetM(), 4);
    EXPECT_EQ(changed.GetD(), 2);
    CHDataSet fresh({.nD = 2, .nM = 4});
    for (int i = 0; i < changed.GetValueCount(); ++i)
        fresh.AddValue(changed.GetValue(i));
    EXPECT_EQ(changed.GetH(), fresh.GetH());
    EXPECT_EQ(Take(*doc.m_tabSets[0]), before[0]);
    EXPECT_EQ(Take(*doc.m_tabSets[1]), before[1]);
    EXPECT_EQ(Take(doc.m_globalSet), global);
    EXPECT_EQ(doc.m_nM, 2);
    EXPECT_EQ(doc.m_nD, 1);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(owner.repaints, 1);
    EXPECT_EQ(owner.regenerations, 0);

    // The selector is back on "Global", with the global numbers.
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(c->combo->currentText(), "Global");
    EXPECT_EQ(Entries(c->combo).size(), 4u);
    EXPECT_EQ(c->h->text().toStdString(), Fixed2(global.h));
    EXPECT_EQ(c->m->text(), "2");
    EXPECT_EQ(c->list->topLevelItemCount(), 2);
    EXPECT_EQ(Row(c->list, 0)[1], Fixed2(doc.m_globalSet.GetL(0)));
}

TEST_F(HParamsDlgTest, ApplyOnGlobalGoesThroughTheDocument)
{
    Open();
    const std::vector<Snapshot> before = TakeAll(doc);
    Click(c->spinM->UpButton());
    Click(c->spinD->UpButton());
    Click(c->spinD->UpButton());
    Click(c->apply);

    EXPECT_EQ(doc.m_nM, 3);
    EXPECT_EQ(doc.m_nD, 3);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.m_globalSet.GetM(), 3);
    EXPECT_EQ(doc.m_globalSet.GetD(), 3);
    CHDataSet fresh({.nD = 3, .nM = 3});
    for (double y : kSeries)
        fresh.AddValue(y);
    EXPECT_EQ(doc.m_globalSet.GetH(), fresh.GetH());
    EXPECT_EQ(ui.statusTexts, (std::vector<std::string>{"Recalculating H...", "Ready"}));
    EXPECT_EQ(owner.regenerations, 1);
    // The intervals keep their own M and D; intervals made later use the new.
    EXPECT_EQ(TakeAll(doc), before);
    EXPECT_EQ(c->combo->currentText(), "Global");
    EXPECT_EQ(c->h->text().toStdString(), Fixed2(fresh.GetH()));
    EXPECT_EQ(c->list->topLevelItemCount(), 3);
    doc.CalculateTabH({10});
    EXPECT_EQ(doc.m_tabSets[0]->GetM(), 3);
    EXPECT_EQ(doc.m_tabSets[0]->GetD(), 3);
}

TEST_F(HParamsDlgTest, OptimumMFromTheCountOfValues)
{
    LoadFourIntervals();
    CHParamsDlg k(&owner);
    k.show();
    Controls ctl(k);
    EXPECT_EQ(Entries(ctl.combo),
              (std::vector<std::string>{"Global", "0.000000", "3.000000", "303.000000", "304.000000"}));
    // At least 2 for the intervals of 0, 3 and 1 values: an M the saved
    // intervals keep.
    const int expected[] = {2, 2, 17, 2};
    for (int i = 0; i < 4; ++i) {
        ChooseIndex(ctl.combo, i + 1);
        Click(ctl.optimumM);
        EXPECT_EQ(ctl.m->text().toStdString(), std::to_string(expected[i])) << i;
        EXPECT_EQ(k.m_nM, expected[i]);
        EXPECT_EQ(ctl.spinM->GetPos(), expected[i]);
        // Shown only: nothing is recomputed until Apply.
        EXPECT_EQ(doc.m_tabSets[static_cast<std::size_t>(i)]->GetM(), 2);
    }
    ChooseIndex(ctl.combo, 3);
    Click(ctl.optimumM);
    Click(ctl.apply);
    EXPECT_EQ(doc.m_tabSets[2]->GetM(), 17);
    EXPECT_EQ(doc.m_tabSets[2]->GetCount(), 300);
}

// A D or M that measures nothing is refused at Apply with the limits named:
// a saved interval with one is left out when the document is opened again,
// and "Global" hands its pair on to the intervals made later. Nothing
// changes and the dialog stays; the lower limits themselves pass.
TEST_F(HParamsDlgTest, ApplyHoldsDAndMToWhatMeasures)
{
    LoadFourIntervals();
    CHParamsDlg k(&owner);
    k.show();
    Controls ctl(k);
    struct Case
    {
        const char* what;
        int entry;
        QAbstractButton* press; // null: the estimator's own D and M
        const char* refusal;    // null: applied
        int d, m;
    };
    const Case cases[] = {
        {"M 2, the best M of no values", 1, ctl.optimumM, nullptr, 1, 2},
        {"M 2, the best M of 3 values", 2, ctl.optimumM, nullptr, 1, 2},
        {"M 1 by the arrow", 3, ctl.spinM->DownButton(), "M must be between 2 and 100000.", 1, 1},
        {"M 1 on Global", 0, ctl.spinM->DownButton(), "M must be between 2 and 100000.", 1, 1},
        {"D 1, M 2 on an interval", 3, nullptr, nullptr, 1, 2},
        {"D 1, M 2 on Global", 0, nullptr, nullptr, 1, 2},
    };
    for (const Case& c : cases) {
        k.RefreshTabList();
        ChooseIndex(ctl.combo, c.entry);
        if (c.press)
            Click(c.press);
        ASSERT_EQ(ctl.d->text().toInt(), c.d) << c.what;
        ASSERT_EQ(ctl.m->text().toInt(), c.m) << c.what;
        const std::vector<Snapshot> before = TakeAll(doc);
        const Snapshot global = Take(doc.m_globalSet);
        const int repaints = owner.repaints;
        ui.messages.clear();
        Click(ctl.apply);
        EXPECT_TRUE(k.isVisible()) << c.what;
        if (!c.refusal) {
            EXPECT_TRUE(ui.messages.empty()) << c.what;
            EXPECT_EQ(c.entry == 0 ? doc.m_globalSet.GetM() : doc.m_tabSets[static_cast<std::size_t>(c.entry - 1)]->GetM(),
                      c.m)
                << c.what;
            continue;
        }
        ASSERT_EQ(ui.messages.size(), 1u) << c.what;
        EXPECT_EQ(ui.messages[0].text, c.refusal) << c.what;
        EXPECT_EQ(ui.messages[0].icon, MsgIcon::warning) << c.what;
        EXPECT_EQ(TakeAll(doc), before) << c.what;
        EXPECT_EQ(Take(doc.m_globalSet), global) << c.what;
        EXPECT_EQ(owner.repaints, repaints) << c.what;
        EXPECT_EQ(ctl.combo->currentIndex(), c.entry) << c.what;
    }

    // A document read with D 0 for the whole series: Apply asks for D 1.
    doc.SetHParameters({.nD = 0, .nM = 2});
    doc.SetModifiedFlag(false);
    k.RefreshTabList();
    ui.messages.clear();
    Click(ctl.apply);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "D must be between 1 and 1000.");
    EXPECT_EQ(doc.m_nD, 0);
    EXPECT_FALSE(doc.IsModified());
    Click(ctl.spinD->UpButton());
    Click(ctl.apply);
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(doc.m_nD, 1);
    EXPECT_EQ(doc.m_globalSet.GetD(), 1);
}

TEST_F(HParamsDlgTest, OptimumMBeyondTheSpinRangeIsApplied)
{
    std::vector<double> ys(260100);
    for (std::size_t i = 0; i < ys.size(); ++i)
        ys[i] = static_cast<double>((i * 7919) % 1000);
    Load(doc, ys, 1, 2);
    CHParamsDlg k(&owner);
    k.show();
    Controls ctl(k);
    Click(ctl.optimumM);
    EXPECT_EQ(ctl.m->text(), "510");
    Click(ctl.apply);
    EXPECT_EQ(doc.m_nM, 510);
    EXPECT_EQ(doc.m_globalSet.GetM(), 510);
    EXPECT_EQ(ctl.m->text(), "510");
    EXPECT_EQ(ctl.list->topLevelItemCount(), 510);
    // The arrows bring it back into their range.
    Click(ctl.spinM->DownButton());
    EXPECT_EQ(ctl.m->text(), "500");
}

TEST_F(HParamsDlgTest, EqualLabelsNameTheFirst)
{
    // Two tabs at 10: the intervals [0, 10) and [10, 10) share a label.
    Open({10, 10});
    EXPECT_EQ(Entries(c->combo), (std::vector<std::string>{"Global", "10.000000", "10.000000", "19.000000"}));
    ChooseIndex(c->combo, 2);
    // The first of the two is shown and selected: the one holding 0..9.
    EXPECT_EQ(c->combo->currentIndex(), 1);
    EXPECT_EQ(c->h->text(), "0.83");
    EXPECT_EQ(c->list->topLevelItemCount(), 2);
    Click(c->spinM->UpButton());
    Click(c->apply);
    EXPECT_EQ(doc.m_tabSets[0]->GetM(), 3);
    EXPECT_EQ(doc.m_tabSets[1]->GetM(), 2);
}

TEST_F(HParamsDlgTest, ALabelThatIsGoneDoesNothing)
{
    Open();
    ChooseIndex(c->combo, 2);
    const QString h = c->h->text();
    // The intervals are rebuilt without the dialog being told.
    doc.CalculateTabH({5});
    const std::vector<Snapshot> before = TakeAll(doc);
    Click(c->spinM->UpButton());
    Click(c->apply);
    Click(c->optimumM);
    EXPECT_EQ(TakeAll(doc), before);
    EXPECT_EQ(owner.repaints, 0);
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(c->m->text(), "3");
    const bool shown = RunModal<CHDataDlg>([&] { Click(c->viewData); }, [](CHDataDlg& d) { d.reject(); });
    EXPECT_FALSE(shown);
    // Choosing it again empties the table and keeps the texts.
    ChooseIndex(c->combo, 1);
    ChooseIndex(c->combo, 2);
    EXPECT_EQ(c->list->topLevelItemCount(), 0);
    EXPECT_EQ(c->h->text(), h);
}

TEST_F(HParamsDlgTest, ViewDataListsTheValuesFromZero)
{
    Open();
    ChooseIndex(c->combo, 3);
    const CHDataSet& set = *doc.m_tabSets[2];
    ASSERT_EQ(set.GetCount(), 4);
    std::vector<std::vector<std::string>> rows;
    const bool shown = RunModal<CHDataDlg>([&] { Click(c->viewData); },
                                           [&](CHDataDlg& d) {
                                               EXPECT_EQ(d.windowTitle(), "H Data Dialog");
                                               auto* list = Control<QTreeView>(d, "list1037");
                                               QAbstractItemModel* model = list->model();
                                               EXPECT_EQ(model->columnCount(), 2);
                                               EXPECT_EQ(model->headerData(0, Qt::Horizontal).toString(), "n");
                                               EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), "value");
                                               EXPECT_EQ(list->columnWidth(0), 100);
                                               EXPECT_EQ(list->columnWidth(1), 100);
                                               for (int r = 0; r < model->rowCount(); ++r)
                                                   rows.push_back({model->index(r, 0).data().toString().toStdString(),
                                                                   model->index(r, 1).data().toString().toStdString()});
                                               const auto align = model->index(0, 1).data(Qt::TextAlignmentRole);
                                               EXPECT_TRUE(align.value<Qt::Alignment>() & Qt::AlignRight);
                                               EXPECT_EQ(Control<QPushButton>(d, "button1")->text(), "OK");
                                               EXPECT_EQ(Control<QPushButton>(d, "button2")->text(), "Cancel");
                                               Click(Control<QPushButton>(d, "button1"));
                                           });
    EXPECT_TRUE(shown);
    // X = 15..18 hold 9, 2, 6, 5.
    EXPECT_EQ(rows, (std::vector<std::vector<std::string>>{{"0", "9.00"}, {"1", "2.00"}, {"2", "6.00"}, {"3", "5.00"}}));
    EXPECT_EQ(ui.statusTexts, (std::vector<std::string>{"Getting H data...", "Ready"}));
    EXPECT_EQ(ui.m_waitDepth, 0);
    EXPECT_EQ(ui.m_waitBegins, 1);
    // The data dialog changes nothing.
    EXPECT_EQ(set.GetCount(), 4);
    EXPECT_EQ(c->combo->currentIndex(), 3);
}

TEST_F(HParamsDlgTest, DismissEscapeAndCloseOnlyHide)
{
    Open();
    Click(c->dismiss);
    EXPECT_FALSE(dlg->isVisible());
    dlg->show();
    QTest::keyClick(dlg.get(), Qt::Key_Escape);
    EXPECT_FALSE(dlg->isVisible());
    dlg->show();
    dlg->close();
    EXPECT_FALSE(dlg->isVisible());
    // Shown again with what it held.
    ChooseIndex(c->combo, 1);
    dlg->show();
    EXPECT_EQ(c->combo->currentText(), "10.000000");

    // Without an owner it ends like any dialog and shows nothing.
    CHParamsDlg alone(nullptr);
    EXPECT_EQ(Entries(Control<QComboBox>(alone, "combo1015")), std::vector<std::string>{});
    alone.show();
    Click(Control<QPushButton>(alone, "button1"));
    EXPECT_EQ(alone.result(), QDialog::Accepted);
    Click(Control<QPushButton>(alone, "button1026"));
    EXPECT_FALSE(alone.isVisible());
}

// --- Fit plot and bootstrap ---------------------------------------------------

TEST_F(HParamsDlgTest, FitPlotShowsTheSelectedFitAndFollowsApply)
{
    Open();
    Click(Control<QPushButton>(*dlg, "buttonFitPlot"));
    auto* wnd = dlg->findChild<CFitPlotWnd*>();
    ASSERT_NE(wnd, nullptr);
    EXPECT_TRUE(wnd->isVisible());
    EXPECT_EQ(wnd->Plot().Data().label, "Global");
    EXPECT_EQ(wnd->Plot().Data().h, doc.m_globalSet.GetH());

    // The first interval, values 0..9 with D 1, M 2: L = 9, 8.
    ChooseIndex(c->combo, 1);
    const CFitPlotData& d = wnd->Plot().Data();
    EXPECT_EQ(d.label, "10.000000");
    ASSERT_EQ(d.x.size(), 2u);
    EXPECT_EQ(d.n, 10);
    EXPECT_NEAR(d.h, 0.830075, 1e-6);
    // Two points: the line passes through both.
    for (std::size_t i = 0; i < 2; ++i)
        EXPECT_NEAR(d.intercept + d.b * d.x[i], d.y[i], 1e-12);

    // Apply on Global recomputes it with the new M, and the plot follows.
    ChooseIndex(c->combo, 0);
    Click(c->spinM->UpButton());
    Click(c->apply);
    EXPECT_EQ(wnd->Plot().Data().label, "Global");
    EXPECT_EQ(wnd->Plot().Data().x.size(), 3u);
    EXPECT_EQ(wnd->Plot().Data().h, doc.m_globalSet.GetH());
}

TEST_F(HParamsDlgTest, BootstrapCancelLeavesTheDocumentAndARunShowsItsResult)
{
    Open();
    doc.SetModifiedFlag(false);
    const std::vector<Snapshot> before = TakeAll(doc);
    auto* label = Control<QLabel>(*dlg, "labelBootstrap");
    const auto run = [&](int replicates, bool cancel) {
        RunModal<CBootstrapDlg>([&] { Click(Control<QPushButton>(*dlg, "buttonBootstrap")); },
                                [&](CBootstrapDlg& b) {
                                    Control<QSpinBox>(b, "spinReplicates")->setValue(replicates);
                                    Control<QLineEdit>(b, "editSeed")->setText("7");
                                    QSignalSpy ended(&b, &CBootstrapDlg::finishedRun);
                                    b.Start();
                                    EXPECT_TRUE(b.Running());
                                    if (cancel)
                                        Click(Control<QPushButton>(b, "buttonCancel"));
                                    ASSERT_TRUE(ended.wait(20000));
                                    EXPECT_EQ(b.Result().has_value(), !cancel);
                                    if (b.isVisible())
                                        b.reject();
                                });
    };
    run(kMaxBootstrapReplicates, true);
    EXPECT_EQ(label->text(), "");
    EXPECT_EQ(TakeAll(doc), before);
    EXPECT_FALSE(doc.IsModified());

    run(4, false);
    // The run decides noise or motion from the series first.
    CSeriesBootstrapOptions options;
    options.replicates = 4;
    options.seed = 7;
    EXPECT_EQ(label->text(), BootstrapLabelText(RunBootstrap(SeriesBootstrapRequest(doc.m_globalSet, options))));
    EXPECT_EQ(TakeAll(doc), before);
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(HParamsDlgTest, CompareMethodsShowsEachMethodAndItsBootstrapWithoutTouchingTheDocument)
{
    Open();
    doc.SetModifiedFlag(false);
    const std::vector<Snapshot> before = TakeAll(doc);
    std::vector<double> values(doc.m_globalSet.Values().Storage().begin(),
                               doc.m_globalSet.Values().Storage().begin() + doc.m_globalSet.GetCount());
    CHDataSet copy({.nD = doc.m_globalSet.GetD(), .nM = doc.m_globalSet.GetM()});
    copy.m_bAutoCompute = 0;
    copy.Values().Storage() = values;
    copy.Compute();
    CSeriesBootstrapOptions options;
    options.replicates = 4;
    options.seed = 7;
    const CMethodComparison expected = CompareMethods(
        copy, {std::begin(kAllHMethods), std::end(kAllHMethods)}, ESeriesInput::Auto, false, &options);
    RunModal<CCompareMethodsDlg>([&] { Click(Control<QPushButton>(*dlg, "buttonCompareMethods")); },
                                 [&](CCompareMethodsDlg& d) {
                                     auto* table = Control<QTableWidget>(d, "tableMethods");
                                     ASSERT_EQ(table->rowCount(), 3);
                                     EXPECT_EQ(table->item(0, 0)->text(), "curve length");
                                     EXPECT_EQ(table->item(0, 1)->text(),
                                               QString::number(doc.m_globalSet.GetH(), 'f', 3));
                                     EXPECT_EQ(table->item(2, 0)->text(), "Whittle (fGn)");
                                     Control<QSpinBox>(d, "spinReplicates")->setValue(4);
                                     Control<QLineEdit>(d, "editSeed")->setText("7");
                                     QSignalSpy ended(&d, &CCompareMethodsDlg::finishedRun);
                                     d.Start();
                                     EXPECT_TRUE(d.Running());
                                     ASSERT_TRUE(ended.wait(20000));
                                     ASSERT_EQ(d.Comparison().rows.size(), 3u);
                                     for (std::size_t m = 0; m < 3; ++m)
                                         EXPECT_EQ(d.Comparison().rows[m].bootstrap->corrected,
                                                   expected.rows[m].bootstrap->corrected)
                                             << m;
                                     d.reject();
                                 });
    EXPECT_EQ(TakeAll(doc), before);
    EXPECT_FALSE(doc.IsModified());
}

// The document's record that Profile made it reaches the bootstrap: its
// series is simulated as the profile of a noise.
TEST_F(HParamsDlgTest, BootstrapOfAProfileDocumentSimulatesTheProfileOfANoise)
{
    Open();
    doc.SetProfileRecord(CProfileRecord{"source.txt", 0.0});
    EXPECT_TRUE(RunModal<CBootstrapDlg>([&] { Click(Control<QPushButton>(*dlg, "buttonBootstrap")); },
                                        [&](CBootstrapDlg& b) {
                                            EXPECT_EQ(b.Preview().model, EBootstrapModel::ProfileOfNoise);
                                            b.reject();
                                        }));
}

// The same record reaches the method comparison: read as the profile of a
// noise, and every method's bootstrap simulates the model the bootstrap
// dialog would, with the numbers of a comparison told it is a profile.
TEST_F(HParamsDlgTest, CompareMethodsOfAProfileDocumentSimulatesAsItsBootstrapDoes)
{
    Open();
    doc.SetProfileRecord(CProfileRecord{"source.txt", 0.0});
    EBootstrapModel bootstrapModel = EBootstrapModel::Motion;
    RunModal<CBootstrapDlg>([&] { Click(Control<QPushButton>(*dlg, "buttonBootstrap")); },
                            [&](CBootstrapDlg& b) {
                                bootstrapModel = b.Preview().model;
                                b.reject();
                            });
    ASSERT_EQ(bootstrapModel, EBootstrapModel::ProfileOfNoise);
    CSeriesBootstrapOptions options;
    options.replicates = 4;
    options.seed = 7;
    const CMethodComparison expected = CompareMethods(
        doc.m_globalSet, {std::begin(kAllHMethods), std::end(kAllHMethods)}, ESeriesInput::Auto, true, &options);
    EXPECT_TRUE(RunModal<CCompareMethodsDlg>(
        [&] { Click(Control<QPushButton>(*dlg, "buttonCompareMethods")); },
        [&](CCompareMethodsDlg& d) {
            EXPECT_TRUE(d.Comparison().decision.isProfile);
            Control<QSpinBox>(d, "spinReplicates")->setValue(4);
            Control<QLineEdit>(d, "editSeed")->setText("7");
            QSignalSpy ended(&d, &CCompareMethodsDlg::finishedRun);
            d.Start();
            ASSERT_TRUE(ended.wait(20000));
            ASSERT_EQ(d.Comparison().rows.size(), 3u);
            for (std::size_t m = 0; m < 3; ++m) {
                const CMethodRow& row = d.Comparison().rows[m];
                ASSERT_TRUE(row.bootstrap) << m;
                EXPECT_EQ(row.bootstrap->model, bootstrapModel) << m;
                EXPECT_EQ(row.estimate.h, expected.rows[m].estimate.h) << m;
                EXPECT_EQ(row.bootstrap->corrected, expected.rows[m].bootstrap->corrected) << m;
            }
            d.reject();
        }));
}

// --- The dialog as the view owns it ------------------------------------------

namespace {

// A view of the document, shown and initially updated.
std::unique_ptr<CKestrinView> OpenView(CKestrinDoc& doc)
{
    auto view = std::make_unique<CKestrinView>(doc);
    view->resize(500, 300);
    view->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    view->OnInitialUpdate();
    return view;
}

} // namespace

TEST(HParamsDlgInView, CreatedHiddenShownByTheCommandDeletedWithTheView)
{
    CHeadlessUi ui;
    CKestrinDoc doc(ui);
    auto view = OpenView(doc);
    QPointer<CHParamsDlg> dlg = view->ParamsDlg();
    ASSERT_NE(dlg, nullptr);
    EXPECT_FALSE(dlg->isVisible());
    // Without data the command is disabled.
    view->OnCommand(cmd::HParameters);
    EXPECT_FALSE(dlg->isVisible());

    Load(doc, kSeries, 1, 2);
    view->OnUpdate(nullptr, 0, nullptr);
    view->OnCommand(cmd::HParameters);
    EXPECT_TRUE(dlg->isVisible());
    // The document's update refreshed the dialog: it shows the loaded series.
    auto* h = Control<QLineEdit>(*dlg, "edit1016");
    EXPECT_EQ(h->text().toStdString(), Fixed2(doc.m_globalSet.GetH()));

    // A new tab on the ruler rebuilds the selector.
    view->AddTabAt(10.0, true);
    EXPECT_EQ(Entries(Control<QComboBox>(*dlg, "combo1015")),
              (std::vector<std::string>{"Global", "10.000000", "19.000000"}));
    EXPECT_EQ(h->text().toStdString(), Fixed2(doc.m_globalSet.GetH()));

    // Apply on "Global" reaches the document through the view.
    Click(Control<QPushButton>(*dlg, "button1026"));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(dlg->isVisible());

    view.reset();
    EXPECT_TRUE(dlg.isNull());
}

// Apply on an interval in one window reaches the other window on the same
// document: its open dialog stays on its selection and shows the interval's
// new numbers, and both pictures draw the interval's new H.
TEST(HParamsDlgInView, ApplyOnAnIntervalRefreshesTheOtherWindowsDialog)
{
    for (const int other : {1, 2}) {
        SCOPED_TRACE(other);
        CHeadlessUi ui;
        CKestrinDoc doc(ui);
        Load(doc, kSeries, 1, 2);
        auto first = OpenView(doc);
        auto second = OpenView(doc);
        for (CKestrinView* view : {first.get(), second.get()}) {
            view->AddTabAt(10.0, true);
            view->OnCommand(cmd::HParameters);
        }
        Controls applying(*first->ParamsDlg());
        Controls watching(*second->ParamsDlg());
        ChooseIndex(watching.combo, other);
        const std::string selection = watching.combo->currentText().toStdString();

        // M 2 -> 3 on the interval [0, 10), the values 0..9.
        ChooseIndex(applying.combo, 1);
        const double before = doc.m_tabSets[0]->GetH();
        Click(applying.spinM->UpButton());
        Click(applying.apply);
        ASSERT_EQ(doc.m_tabSets.size(), 2u);
        const CHDataSet& changed = *doc.m_tabSets[0];
        ASSERT_EQ(changed.GetM(), 3);
        ASSERT_EQ(changed.GetD(), 1);

        EXPECT_EQ(applying.combo->currentText(), "Global");
        EXPECT_TRUE(second->ParamsDlg()->isVisible());
        EXPECT_EQ(watching.combo->currentText().toStdString(), selection);
        const CHDataSet& shown = *doc.m_tabSets[static_cast<std::size_t>(other - 1)];
        EXPECT_EQ(watching.h->text().toStdString(), Fixed2(shown.GetH()));
        EXPECT_EQ(watching.m->text().toStdString(), std::to_string(shown.GetM()));
        EXPECT_EQ(watching.d->text().toStdString(), std::to_string(shown.GetD()));
        ASSERT_EQ(watching.list->topLevelItemCount(), shown.GetM());
        EXPECT_EQ(Row(watching.list, 0)[1], Fixed2(shown.GetL(0)));

        // The first interval's line lies at the new H, no longer at the old.
        ASSERT_GT(changed.GetH(), 0.0);
        ASSERT_LT(changed.GetH(), 1.0);
        for (CKestrinView* view : {first.get(), second.get()}) {
            CHGraph& graph = view->HGraph();
            QImage image(graph.size(), QImage::Format_RGB32);
            image.fill(Qt::white);
            graph.render(&image, QPoint(), QRegion(), QWidget::RenderFlags());
            const CPlotRect area{0, 0, image.width(), image.height()};
            const int x = image.width() / 4;
            const int y = HToPixel(area, changed.GetH());
            ASSERT_NE(y, HToPixel(area, before));
            EXPECT_EQ(image.pixelColor(x, y), QColor(255, 0, 255));
            EXPECT_EQ(image.pixelColor(x, HToPixel(area, before)), QColor(Qt::white));
        }
    }
}

// The dialog follows every change of the document's data: a document filled
// after its window was made (Profile, Extract Data) and an import into a
// document with intervals.
TEST(HParamsDlgInView, FollowsTheDocumentsData)
{
    CHeadlessUi ui;
    CKestrinDoc doc(ui);
    auto view = OpenView(doc);
    CHParamsDlg* dlg = view->ParamsDlg();
    ASSERT_NE(dlg, nullptr);
    Controls c(*dlg);

    struct Step
    {
        std::vector<double> ys;
        int nD, nM;
        bool tabAt10;
        std::vector<std::string> entries;
    };
    const std::vector<Step> steps = {
        {kSeries, 1, 3, false, {"Global"}},
        {kSeries, 1, 2, true, {"Global", "10.000000", "19.000000"}},
        // An import drops the intervals; the ruler keeps its tabs.
        {{5, 3, 8, 1, 9, 2, 7, 4, 6, 0, 1, 2}, 2, 4, false, {"Global"}},
    };
    for (std::size_t i = 0; i < steps.size(); ++i) {
        SCOPED_TRACE(i);
        const Step& s = steps[i];
        Load(doc, s.ys, s.nD, s.nM);
        doc.UpdateAllViews(nullptr);
        if (s.tabAt10)
            view->AddTabAt(10.0, true);
        EXPECT_EQ(Entries(c.combo), s.entries);
        EXPECT_EQ(c.combo->currentText(), "Global");
        const CHDataSet& g = doc.m_globalSet;
        EXPECT_EQ(c.h->text().toStdString(), Fixed2(g.GetH()));
        EXPECT_EQ(c.r->text().toStdString(), Fixed2(g.GetR()));
        EXPECT_EQ(c.b->text().toStdString(), Fixed2(g.GetB()));
        EXPECT_EQ(c.m->text().toStdString(), std::to_string(g.GetM()));
        EXPECT_EQ(c.d->text().toStdString(), std::to_string(g.GetD()));
        ASSERT_EQ(c.list->topLevelItemCount(), g.GetM());
        EXPECT_EQ(Row(c.list, 0)[1], Fixed2(g.GetL(0)));
        EXPECT_NE(Row(c.list, 0)[1], "0.00");
    }
}

} // namespace h_params_dlg_test

namespace h_params_dlg_test {

// "Bootstrap All Intervals..." bootstraps the whole series and each interval
// off the GUI thread, tables them as the library's one run does, and copies
// and saves the table as its CSV; the document stays as it was.
TEST_F(HParamsDlgTest, BootstrapAllIntervalsTablesEveryEstimateAndCopiesAndSavesItsCsv)
{
    Open();
    doc.SetModifiedFlag(false);
    const std::vector<Snapshot> before = TakeAll(doc);
    auto* button = Control<QPushButton>(*dlg, "buttonBootstrapAll");
    EXPECT_EQ(button->text(), "Bootstrap All &Intervals...");
    EXPECT_TRUE(dlg->rect().contains(button->geometry()));
    ExpectTextsFit(*dlg);

    CSeriesBootstrapOptions options;
    options.replicates = 40;
    options.seed = 7;
    std::vector<CIntervalEstimate> estimates{{.set = &doc.m_globalSet, .span = {.global = true, .lower = 0, .upper = 19}}};
    const std::vector<CIntervalSpan> spans = IntervalSpansOf({10, 15}, 0, 19);
    for (std::size_t i = 0; i < doc.m_tabSets.size(); ++i)
        estimates.push_back({.set = doc.m_tabSets[i].get(), .span = spans[i]});
    const std::vector<CIntervalBootstrapRow> expected = BootstrapIntervals(estimates, options);
    const std::string csv = IntervalBootstrapsCsv(expected);
    QTemporaryDir folder;
    const std::string path = folder.filePath(QStringLiteral("table.csv")).toStdString();
    ui.saveChoices.push_back(path);

    const bool shown = RunModal<CBootstrapAllDlg>(
        [&] { Click(button); },
        [&](CBootstrapAllDlg& d) {
            Control<QSpinBox>(d, "spinReplicates")->setValue(40);
            Control<QLineEdit>(d, "editSeed")->setText("7");
            QSignalSpy ended(&d, &CBootstrapAllDlg::finishedRun);
            Click(Control<QPushButton>(d, "buttonRun"));
            EXPECT_TRUE(d.Running());
            ASSERT_TRUE(ended.wait(20000));
            auto* table = Control<QTableWidget>(d, "tableIntervals");
            ASSERT_EQ(table->rowCount(), 4);
            const char* spansShown[] = {"global", "0.00 to 10.00", "10.00 to 15.00", "15.00 to 19.00"};
            const char* counts[] = {"20", "10", "5", "4"}; // the largest X lies in no interval
            for (int i = 0; i < 4; ++i) {
                const CIntervalBootstrapRow& row = expected[static_cast<std::size_t>(i)];
                EXPECT_EQ(table->item(i, 0)->text(), spansShown[i]);
                EXPECT_EQ(table->item(i, 1)->text(), counts[i]);
                EXPECT_EQ(table->item(i, 2)->text(), QString::number(row.h, 'f', 3));
                EXPECT_EQ(table->item(i, 3)->text().toStdString(),
                          row.result.Reached() ? BootstrapValueText(*row.result.corrected, row.result.correctedBound,
                                                                    row.result.correctedError)
                                               : std::string("not reached"));
                EXPECT_EQ(table->item(i, 5)->text().toStdString(), ApartText(row));
            }
            Click(Control<QPushButton>(d, "buttonCopy"));
            EXPECT_EQ(QApplication::clipboard()->text().toStdString(), csv);
            Click(Control<QPushButton>(d, "buttonSave"));
            d.reject();
        });
    EXPECT_TRUE(shown);
    QFile saved(QString::fromStdString(path));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll().toStdString(), csv);
    EXPECT_EQ(TakeAll(doc), before);
    EXPECT_FALSE(doc.IsModified());
}

} // namespace h_params_dlg_test
