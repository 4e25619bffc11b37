// The tab dialogs on their own, and the view's tab commands as the user runs
// them: Auto-Tab, Tab Settings, Delete tab at... and Delete All Tabs.
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

#include "dialogs/AutoTabDlg.h"
#include "views/CommandIds.h"
#include "dialogs/DeleteTabDlg.h"
#include "dialogs/HParamsDlg.h"
#include "core/Format.h"
#include "tests/support/gui/DialogTestSupport.h"
#include "platform/HeadlessUi.h"
#include "document/KestrinDoc.h"
#include "views/KestrinView.h"
#include "dialogs/TabSettingsDlg.h"

namespace tab_dialogs_test {

namespace {

std::vector<QString> Labels(QWidget& dlg)
{
    std::vector<QString> v;
    for (QLabel* label : dlg.findChildren<QLabel*>())
        v.push_back(label->text());
    return v;
}

class TabDialogTest : public ::testing::Test
{
protected:
    CHeadlessUi ui;
};

} // namespace

// --- Auto-Tab dialog ---------------------------------------------------------

TEST_F(TabDialogTest, AutoTabControlsAndDefaults)
{
    CAutoTabDlg dlg(ui);
    dlg.show();
    EXPECT_EQ(dlg.windowTitle(), "AutoTab");
    EXPECT_EQ(Labels(dlg), (std::vector<QString>{"Select an interval for calculating H."}));
    std::vector<QString> groups;
    for (QGroupBox* g : dlg.findChildren<QGroupBox*>())
        groups.push_back(g->title());
    EXPECT_EQ(groups, (std::vector<QString>{"M ", "D"}));
    auto* interval = Control<QLineEdit>(dlg, "edit1032");
    auto* bestM = Control<QRadioButton>(dlg, "radio1056");
    auto* valueM = Control<QRadioButton>(dlg, "radio1057");
    auto* editM = Control<QLineEdit>(dlg, "edit1058");
    auto* valueD = Control<QRadioButton>(dlg, "radio1059");
    auto* editD = Control<QLineEdit>(dlg, "edit1060");
    EXPECT_EQ(bestM->text(), "Use Best Value");
    EXPECT_EQ(valueM->text(), "Use Value");
    EXPECT_EQ(valueD->text(), "Use Value");
    EXPECT_EQ(Control<QPushButton>(dlg, "button1")->text(), "OK");
    EXPECT_TRUE(Control<QPushButton>(dlg, "button1")->isDefault());
    EXPECT_EQ(Control<QPushButton>(dlg, "button2")->text(), "Cancel");
    ExpectTextsFit(dlg);

    EXPECT_EQ(interval->text(), "100");
    EXPECT_EQ(editD->text(), "6");
    EXPECT_EQ(editM->text(), "0");
    EXPECT_TRUE(bestM->isChecked());
    EXPECT_FALSE(valueM->isChecked());
    EXPECT_TRUE(valueD->isChecked());
    EXPECT_FALSE(editM->isEnabled());
    EXPECT_TRUE(editD->isEnabled());
    for (QLineEdit* e : {interval, editM, editD})
        EXPECT_TRUE(e->alignment() & Qt::AlignRight);

    // The M value is usable only with "Use Value"; D's choice stands apart.
    Click(valueM);
    EXPECT_TRUE(editM->isEnabled());
    EXPECT_EQ(dlg.m_nMChoice, 1);
    EXPECT_TRUE(valueD->isChecked());
    Type(editM, "1x2-");
    Type(editD, "+3.5");
    EXPECT_EQ(editM->text(), "12");
    EXPECT_EQ(editD->text(), "35");
    Click(bestM);
    EXPECT_FALSE(editM->isEnabled());
    EXPECT_EQ(dlg.m_nMChoice, 0);
    EXPECT_EQ(editM->text(), "12");
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(TabDialogTest, AutoTabRefusesWhatItCannotUse)
{
    CAutoTabDlg dlg(ui);
    dlg.show();
    auto* interval = Control<QLineEdit>(dlg, "edit1032");
    auto* editD = Control<QLineEdit>(dlg, "edit1060");
    auto* ok = Control<QPushButton>(dlg, "button1");
    const auto expectRefused = [&](const char* message, QLineEdit* at) {
        ASSERT_FALSE(ui.messages.empty());
        EXPECT_EQ(ui.messages.back().text, message);
        EXPECT_EQ(ui.messages.back().buttons, MsgButtons::ok);
        EXPECT_TRUE(dlg.isVisible());
        EXPECT_NE(dlg.result(), QDialog::Accepted);
        EXPECT_EQ(dlg.focusWidget(), at);
    };

    for (const char* text : {"", "abc", "12,5", "1e", "--3", "0x10"}) {
        Type(interval, text);
        Click(ok);
        expectRefused("Please enter a number.", interval);
    }
    // Numbers that cannot space tabs apart.
    for (const char* text : {"0", "-5", "-0.0", "1e999"}) {
        Type(interval, text);
        Click(ok);
        expectRefused("The interval must be a number greater than 0.", interval);
    }
    Type(interval, " 2.5e2 ");
    Type(editD, "");
    Click(ok);
    expectRefused("Please enter an integer.", editD);
    Type(editD, "99999999999");
    Click(ok);
    expectRefused("Please enter an integer.", editD);

    Type(editD, "3");
    Click(Control<QRadioButton>(dlg, "radio1057"));
    // An M no estimator could hold the tables of.
    Type(Control<QLineEdit>(dlg, "edit1058"), "100001");
    Click(ok);
    expectRefused("M must be between 2 and 100000.", Control<QLineEdit>(dlg, "edit1058"));
    Type(Control<QLineEdit>(dlg, "edit1058"), "8");
    const std::size_t messages = ui.messages.size();
    Click(ok);
    EXPECT_EQ(ui.messages.size(), messages);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.m_dInterval, 250.0);
    EXPECT_EQ(dlg.m_nD, 3);
    EXPECT_EQ(dlg.m_nM, 8);
    EXPECT_EQ(dlg.m_nDChoice, 0);
    EXPECT_EQ(dlg.m_nMChoice, 1);
}

// --- Tab Settings dialog -----------------------------------------------------

TEST_F(TabDialogTest, TabSettingsEnablesWhatCanTakeEffect)
{
    CTabSettingsDlg dlg(ui);
    dlg.show();
    EXPECT_EQ(dlg.windowTitle(), "Tab Settings");
    EXPECT_EQ(Labels(dlg), (std::vector<QString>{"Use this dialog to modify M,D values for all HTabs"}));
    auto* modifyM = Control<QCheckBox>(dlg, "check1042");
    auto* optimumM = Control<QRadioButton>(dlg, "radio1043");
    auto* valueM = Control<QRadioButton>(dlg, "radio1044");
    auto* editM = Control<QLineEdit>(dlg, "edit1045");
    auto* modifyD = Control<QCheckBox>(dlg, "check1046");
    auto* valueD = Control<QRadioButton>(dlg, "radio1047");
    auto* editD = Control<QLineEdit>(dlg, "edit1048");
    EXPECT_EQ(modifyM->text(), "Modify M values");
    EXPECT_EQ(optimumM->text(), "Set each M to optimum value");
    EXPECT_EQ(valueM->text(), "Set each M to:");
    EXPECT_EQ(modifyD->text(), "Modify D values");
    EXPECT_EQ(valueD->text(), "Set each D to:");
    ExpectTextsFit(dlg);
    EXPECT_TRUE(editM->alignment() & Qt::AlignRight);
    EXPECT_TRUE(editD->alignment() & Qt::AlignRight);

    // Everything starts at 0: both boxes clear, the first choice of each.
    EXPECT_FALSE(modifyM->isChecked());
    EXPECT_FALSE(modifyD->isChecked());
    EXPECT_TRUE(optimumM->isChecked());
    EXPECT_TRUE(valueD->isChecked());
    EXPECT_EQ(editM->text(), "0");
    EXPECT_EQ(editD->text(), "0");
    for (QWidget* w : std::vector<QWidget*>{optimumM, valueM, editM, valueD, editD})
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();

    Click(modifyM);
    EXPECT_TRUE(optimumM->isEnabled());
    EXPECT_TRUE(valueM->isEnabled());
    EXPECT_FALSE(editM->isEnabled());
    EXPECT_FALSE(valueD->isEnabled());
    Click(valueM);
    EXPECT_TRUE(editM->isEnabled());
    Click(modifyD);
    EXPECT_TRUE(valueD->isEnabled());
    EXPECT_TRUE(editD->isEnabled());
    Click(optimumM);
    EXPECT_FALSE(editM->isEnabled());
    Click(valueM);
    // Clearing "Modify M values" disables its choices, which keep their state.
    Click(modifyM);
    EXPECT_FALSE(valueM->isEnabled());
    EXPECT_FALSE(editM->isEnabled());
    EXPECT_TRUE(valueM->isChecked());
    EXPECT_TRUE(editD->isEnabled());
}


TEST_F(TabDialogTest, TabSettingsReadsItsEntriesAtOk)
{
    CTabSettingsDlg dlg(ui);
    dlg.show();
    auto* ok = Control<QPushButton>(dlg, "button1");
    Click(Control<QCheckBox>(dlg, "check1042"));
    Click(Control<QRadioButton>(dlg, "radio1044"));
    Type(Control<QLineEdit>(dlg, "edit1045"), "");
    Click(ok);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Please enter an integer.");
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(dlg.focusWidget(), Control<QLineEdit>(dlg, "edit1045"));

    Type(Control<QLineEdit>(dlg, "edit1045"), "2000000000");
    Click(ok);
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[1].text, "M must be between 2 and 100000.");
    EXPECT_TRUE(dlg.isVisible());

    Type(Control<QLineEdit>(dlg, "edit1045"), "12");
    Click(ok);
    EXPECT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.m_bModifyM, 1);
    EXPECT_EQ(dlg.m_bModifyD, 0);
    EXPECT_EQ(dlg.m_nM, 12);
    EXPECT_EQ(dlg.m_nD, 0);
    EXPECT_EQ(dlg.m_nMChoice, 1);
    EXPECT_EQ(dlg.m_nDChoice, 0);
}

// --- The D and M both dialogs give every interval ---------------------------

namespace {

// An entry of D and M at OK. A saved interval whose D is outside 1..1000 or
// whose M is outside 2..100000 is left out when the document is opened
// again, so neither dialog lets one through. mByValue: M is taken from its
// edit (otherwise each interval takes its best M and the edit is ignored).
struct LimitCase
{
    const char* d;
    const char* m;
    bool mByValue;
    const char* refusal; // null: accepted
    bool focusOnD;
};

const LimitCase kLimitCases[] = {
    {"6", "0", true, "M must be between 2 and 100000.", false},
    {"6", "1", true, "M must be between 2 and 100000.", false},
    {"0", "8", true, "D must be between 1 and 1000.", true},
    {"1001", "8", true, "D must be between 1 and 1000.", true},
    {"0", "0", true, "D must be between 1 and 1000.", true},
    {"1", "2", true, nullptr, false},
    {"1000", "100000", true, nullptr, false},
    {"1", "0", false, nullptr, false},
};

// Clicks OK with the case's entries typed into dEdit and mEdit, and checks
// that the dialog either takes them or refuses them with the limits named,
// staying open with the focus on the entry to correct.
void ExpectLimit(CHeadlessUi& ui, CKestrinDialog& dlg, const LimitCase& c, QLineEdit* dEdit, QLineEdit* mEdit,
                 const int& nD, const int& nM)
{
    const std::string what = std::string("D ") + c.d + ", M " + c.m + (c.mByValue ? "" : " (best M)");
    ui.messages.clear();
    Type(dEdit, c.d);
    Type(mEdit, c.m);
    Click(Control<QPushButton>(dlg, "button1"));
    if (c.refusal) {
        ASSERT_EQ(ui.messages.size(), 1u) << what;
        EXPECT_EQ(ui.messages[0].text, c.refusal) << what;
        EXPECT_EQ(ui.messages[0].icon, MsgIcon::warning) << what;
        EXPECT_TRUE(dlg.isVisible()) << what;
        EXPECT_NE(dlg.result(), QDialog::Accepted) << what;
        EXPECT_EQ(dlg.focusWidget(), c.focusOnD ? dEdit : mEdit) << what;
        return;
    }
    EXPECT_TRUE(ui.messages.empty()) << what;
    EXPECT_EQ(dlg.result(), QDialog::Accepted) << what;
    EXPECT_EQ(nD, std::stoi(c.d)) << what;
    EXPECT_EQ(nM, std::stoi(c.m)) << what;
}

} // namespace

TEST_F(TabDialogTest, AutoTabHoldsDAndMToWhatMeasures)
{
    for (const LimitCase& c : kLimitCases) {
        CAutoTabDlg dlg(ui);
        dlg.show();
        Click(Control<QRadioButton>(dlg, c.mByValue ? "radio1057" : "radio1056"));
        if (!c.mByValue) // the edit is disabled: what it held stays
            Control<QLineEdit>(dlg, "edit1058")->setEnabled(true);
        ExpectLimit(ui, dlg, c, Control<QLineEdit>(dlg, "edit1060"), Control<QLineEdit>(dlg, "edit1058"), dlg.m_nD,
                    dlg.m_nM);
    }
}

TEST_F(TabDialogTest, TabSettingsHoldsDAndMToWhatMeasures)
{
    for (const LimitCase& c : kLimitCases) {
        CTabSettingsDlg dlg(ui);
        dlg.show();
        Click(Control<QCheckBox>(dlg, "check1042"));
        Click(Control<QCheckBox>(dlg, "check1046"));
        Click(Control<QRadioButton>(dlg, c.mByValue ? "radio1044" : "radio1043"));
        if (!c.mByValue)
            Control<QLineEdit>(dlg, "edit1045")->setEnabled(true);
        ExpectLimit(ui, dlg, c, Control<QLineEdit>(dlg, "edit1048"), Control<QLineEdit>(dlg, "edit1045"), dlg.m_nD,
                    dlg.m_nM);
    }
    // A D or M that is not to change is not checked.
    CTabSettingsDlg dlg(ui);
    dlg.show();
    Click(Control<QCheckBox>(dlg, "check1042"));
    Click(Control<QRadioButton>(dlg, "radio1044"));
    ExpectLimit(ui, dlg, {"0", "5", true, nullptr, false}, Control<QLineEdit>(dlg, "edit1048"),
                Control<QLineEdit>(dlg, "edit1045"), dlg.m_nD, dlg.m_nM);
}

// --- Delete Tab At... dialog -------------------------------------------------

TEST_F(TabDialogTest, DeleteTabListsTheLabelsAsGiven)
{
    CDeleteTabDlg dlg({"300.00", "100.00", "300.00"});
    dlg.show();
    EXPECT_EQ(dlg.windowTitle(), "Delete Tab At...");
    EXPECT_EQ(Labels(dlg), (std::vector<QString>{"Select tab:"}));
    EXPECT_EQ(Control<QPushButton>(dlg, "button1")->text(), "Delete");
    EXPECT_TRUE(Control<QPushButton>(dlg, "button1")->isDefault());
    EXPECT_EQ(Control<QPushButton>(dlg, "button2")->text(), "Cancel");
    ExpectTextsFit(dlg);
    auto* list = Control<QListWidget>(dlg, "list1028");
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->item(0)->text(), "300.00");
    EXPECT_EQ(list->item(1)->text(), "100.00");
    EXPECT_EQ(list->item(2)->text(), "300.00");
    EXPECT_TRUE(list->selectedItems().isEmpty());

    // Delete with nothing chosen ends with an empty label.
    Click(Control<QPushButton>(dlg, "button1"));
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.m_strSelectedLabel, "");

    CDeleteTabDlg again({"1.00", "2.50"});
    again.show();
    auto* list2 = Control<QListWidget>(again, "list1028");
    QTest::mouseClick(list2->viewport(), Qt::LeftButton, {}, list2->visualItemRect(list2->item(1)).center());
    Click(Control<QPushButton>(again, "button1"));
    EXPECT_EQ(again.m_strSelectedLabel, "2.50");
}

// --- The commands from the view ----------------------------------------------

namespace {

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

double FreshH(const CHDataSet& set, int nD, int nM)
{
    CHDataSet fresh({.nD = nD, .nM = nM});
    fresh.m_bAutoCompute = 0;
    for (int i = 0; i < set.GetValueCount(); ++i)
        fresh.AddValue(set.GetValue(i));
    fresh.Compute();
    return fresh.GetH();
}

// A view over a series whose X runs from 0 to 1000, shown and updated.
class TabCommandsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (int i = 0; i <= 1000; ++i) {
            CSeriesPoint p{};
            p.m_dX = i;
            p.m_dY = std::sin(i * 0.37) * 5 + (i % 13);
            doc.m_points.Add(p);
        }
        doc.RecalculateH();
        doc.m_bHasData = 1;
        view = std::make_unique<CKestrinView>(doc);
        view->resize(600, 300);
        view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
        view->OnInitialUpdate();
        global = Take(doc.m_globalSet);
    }

    std::vector<Snapshot> Intervals() const
    {
        std::vector<Snapshot> v;
        for (const auto& set : doc.m_tabSets)
            v.push_back(Take(*set));
        return v;
    }

    std::vector<double> TabValues()
    {
        std::vector<double> v;
        for (const CWindowTab& tab : view->WindowState().m_tabs)
            v.push_back(tab.value);
        return v;
    }

    void ExpectDocumentUntouched()
    {
        EXPECT_EQ(Take(doc.m_globalSet), global);
        EXPECT_EQ(doc.m_nM, 3);
        EXPECT_EQ(doc.m_nD, 4);
        // The modified flag follows the tabs, which are saved with the
        // document; the document's own parameters stay as they were.
    }

    CHeadlessUi ui;
    CKestrinDoc doc{ui};
    std::unique_ptr<CKestrinView> view;
    Snapshot global{};
};

} // namespace

TEST_F(TabCommandsTest, AutoTabBestValueGivesEachIntervalItsOwnOptimum)
{
    const bool shown = RunModal<CAutoTabDlg>([&] { view->OnCommand(cmd::AutoTab); },
                                             [](CAutoTabDlg& dlg) {
                                                 Type(Control<QLineEdit>(dlg, "edit1032"), "300");
                                                 // A value typed for M, then the best value chosen: ignored.
                                                 Click(Control<QRadioButton>(dlg, "radio1057"));
                                                 Type(Control<QLineEdit>(dlg, "edit1058"), "7");
                                                 Click(Control<QRadioButton>(dlg, "radio1056"));
                                                 Type(Control<QLineEdit>(dlg, "edit1060"), "2");
                                                 Click(Control<QPushButton>(dlg, "button1"));
                                             });
    ASSERT_TRUE(shown);
    EXPECT_EQ(TabValues(), (std::vector<double>{300, 600, 900}));
    ASSERT_EQ(doc.m_tabSets.size(), 4u);
    const int counts[] = {300, 300, 300, 100};
    const int optimum[] = {17, 17, 17, 10};
    for (std::size_t i = 0; i < 4; ++i) {
        const CHDataSet& set = *doc.m_tabSets[i];
        EXPECT_EQ(set.GetCount(), counts[i]) << i;
        EXPECT_EQ(set.GetM(), optimum[i]) << i;
        EXPECT_EQ(set.GetD(), 2) << i;
        EXPECT_EQ(set.GetH(), FreshH(set, 2, optimum[i])) << i;
    }
    ExpectDocumentUntouched();
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(TabCommandsTest, AutoTabWithAValueGivesEveryIntervalThatValue)
{
    RunModal<CAutoTabDlg>([&] { view->OnCommand(cmd::AutoTab); },
                          [](CAutoTabDlg& dlg) {
                              Type(Control<QLineEdit>(dlg, "edit1032"), "400");
                              Click(Control<QRadioButton>(dlg, "radio1057"));
                              Type(Control<QLineEdit>(dlg, "edit1058"), "7");
                              Click(Control<QPushButton>(dlg, "button1"));
                          });
    EXPECT_EQ(TabValues(), (std::vector<double>{400, 800}));
    ASSERT_EQ(doc.m_tabSets.size(), 3u);
    for (const auto& set : doc.m_tabSets) {
        EXPECT_EQ(set->GetM(), 7);
        EXPECT_EQ(set->GetD(), 6);
        EXPECT_EQ(set->GetH(), FreshH(*set, 6, 7));
    }
    ExpectDocumentUntouched();
}

TEST_F(TabCommandsTest, RefusedOrCancelledAutoTabKeepsTheTabs)
{
    view->AddTabAt(500.0, true);
    const std::vector<Snapshot> before = Intervals();
    ASSERT_EQ(before.size(), 2u);
    // Far more tabs than the ruler places: refused, and the M and D of the
    // dialog reach no interval.
    RunModal<CAutoTabDlg>([&] { view->OnCommand(cmd::AutoTab); },
                          [](CAutoTabDlg& dlg) {
                              Type(Control<QLineEdit>(dlg, "edit1032"), "0.05");
                              Click(Control<QRadioButton>(dlg, "radio1057"));
                              Type(Control<QLineEdit>(dlg, "edit1058"), "7");
                              Click(Control<QPushButton>(dlg, "button1"));
                          });
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(TabValues(), (std::vector<double>{500}));
    EXPECT_EQ(Intervals(), before);

    RunModal<CAutoTabDlg>([&] { view->OnCommand(cmd::AutoTab); },
                          [](CAutoTabDlg& dlg) { Click(Control<QPushButton>(dlg, "button2")); });
    EXPECT_EQ(TabValues(), (std::vector<double>{500}));
    EXPECT_EQ(Intervals(), before);
    ExpectDocumentUntouched();
}

TEST_F(TabCommandsTest, TabSettingsWithOnlyDKeepsEveryM)
{
    view->AddTabAt(250.0, true);
    view->AddTabAt(700.0, true);
    ASSERT_EQ(doc.m_tabSets.size(), 3u);
    doc.m_tabSets[0]->SetM(5);
    doc.m_tabSets[2]->SetM(8);
    const int ms[] = {5, 3, 8};
    const bool shown = RunModal<CTabSettingsDlg>([&] { view->OnCommand(cmd::TabSettings); },
                                                 [](CTabSettingsDlg& dlg) {
                                                     Click(Control<QCheckBox>(dlg, "check1046"));
                                                     Type(Control<QLineEdit>(dlg, "edit1048"), "2");
                                                     Click(Control<QPushButton>(dlg, "button1"));
                                                 });
    ASSERT_TRUE(shown);
    for (std::size_t i = 0; i < 3; ++i) {
        const CHDataSet& set = *doc.m_tabSets[i];
        EXPECT_EQ(set.GetM(), ms[i]) << i;
        EXPECT_EQ(set.GetD(), 2) << i;
        EXPECT_EQ(set.GetH(), FreshH(set, 2, ms[i])) << i;
    }
    ExpectDocumentUntouched();

    // Then only M, at the optimum: the new Ds stay.
    RunModal<CTabSettingsDlg>([&] { view->OnCommand(cmd::TabSettings); },
                              [](CTabSettingsDlg& dlg) {
                                  Click(Control<QCheckBox>(dlg, "check1042"));
                                  Click(Control<QPushButton>(dlg, "button1"));
                              });
    const int optimum[] = {15, 21, 17}; // 250, 450 and 300 values
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(doc.m_tabSets[i]->GetM(), optimum[i]) << i;
        EXPECT_EQ(doc.m_tabSets[i]->GetD(), 2) << i;
    }
}

TEST_F(TabCommandsTest, TabSettingsWithBothBoxesClearChangesNothing)
{
    view->AddTabAt(250.0, true);
    // An interval whose parameters changed without a computation shows
    // whether anything was recomputed.
    doc.m_tabSets[1]->SetM(9);
    const std::vector<Snapshot> before = Intervals();
    RunModal<CTabSettingsDlg>([&] { view->OnCommand(cmd::TabSettings); },
                              [](CTabSettingsDlg& dlg) {
                                  Type(Control<QLineEdit>(dlg, "edit1045"), "20");
                                  Type(Control<QLineEdit>(dlg, "edit1048"), "2");
                                  Click(Control<QPushButton>(dlg, "button1"));
                              });
    EXPECT_EQ(Intervals(), before);
    EXPECT_EQ(doc.m_tabSets[1]->GetCount(), 750);
    ExpectDocumentUntouched();
}

// Tab Settings in one window reaches another window on the document: its
// open H parameters dialog stays on the interval it shows, with the new D.
TEST_F(TabCommandsTest, TabSettingsReachesAnotherWindowsParametersDialog)
{
    auto other = std::make_unique<CKestrinView>(doc);
    other->resize(600, 300);
    other->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(other.get()));
    other->OnInitialUpdate();
    view->AddTabAt(250.0, true);
    other->OnCommand(cmd::HParameters);
    auto* combo = Control<QComboBox>(*other->ParamsDlg(), "combo1015");
    combo->setCurrentIndex(2);
    other->ParamsDlg()->RefreshDetails();
    ASSERT_EQ(combo->currentText(), "1000.000000");

    RunModal<CTabSettingsDlg>([&] { view->OnCommand(cmd::TabSettings); },
                              [](CTabSettingsDlg& dlg) {
                                  Click(Control<QCheckBox>(dlg, "check1046"));
                                  Type(Control<QLineEdit>(dlg, "edit1048"), "2");
                                  Click(Control<QPushButton>(dlg, "button1"));
                              });
    ASSERT_EQ(doc.m_tabSets[1]->GetD(), 2);
    EXPECT_EQ(combo->currentText(), "1000.000000");
    EXPECT_EQ(Control<QLineEdit>(*other->ParamsDlg(), "edit1021")->text(), "2");
    EXPECT_EQ(Control<QLineEdit>(*other->ParamsDlg(), "edit1016")->text().toStdString(),
              FormatFixed(doc.m_tabSets[1]->GetH(), 2));
}

TEST_F(TabCommandsTest, DeleteTabAtWithEqualLabelsDeletesTheFirst)
{
    view->AddTabAt(300.001, true);
    view->AddTabAt(300.004, true);
    view->AddTabAt(100.0, true);
    std::vector<QString> listed;
    const bool shown = RunModal<CDeleteTabDlg>([&] { view->OnCommand(cmd::DeleteTabAt); },
                                               [&](CDeleteTabDlg& dlg) {
                                                   auto* list = Control<QListWidget>(dlg, "list1028");
                                                   for (int i = 0; i < list->count(); ++i)
                                                       listed.push_back(list->item(i)->text());
                                                   // The second of the two equal entries.
                                                   QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                                                                     list->visualItemRect(list->item(1)).center());
                                                   Click(Control<QPushButton>(dlg, "button1"));
                                               });
    ASSERT_TRUE(shown);
    // In the ruler's order, not sorted.
    EXPECT_EQ(listed, (std::vector<QString>{"300.00", "300.00", "100.00"}));
    EXPECT_EQ(TabValues(), (std::vector<double>{300.004, 100.0}));
    EXPECT_EQ(view->TabPositions(), (std::vector<std::int32_t>{100, 300}));
    EXPECT_EQ(doc.m_tabSets.size(), 3u);

    // Cancel deletes nothing.
    RunModal<CDeleteTabDlg>([&] { view->OnCommand(cmd::DeleteTabAt); },
                            [](CDeleteTabDlg& dlg) { Click(Control<QPushButton>(dlg, "button2")); });
    EXPECT_EQ(TabValues(), (std::vector<double>{300.004, 100.0}));
}

TEST_F(TabCommandsTest, DeleteAllTabsAsksFirst)
{
    view->AddTabAt(250.0, true);
    view->AddTabAt(700.0, true);
    const std::vector<Snapshot> before = Intervals();
    ui.messageAnswers.push_back(MsgResult::no);
    view->OnCommand(cmd::DeleteAllTabs);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Are you sure you want to delete all tabs?");
    EXPECT_EQ(ui.messages[0].buttons, MsgButtons::yesNo);
    EXPECT_EQ(TabValues(), (std::vector<double>{250, 700}));
    EXPECT_EQ(Intervals(), before);

    ui.messageAnswers.push_back(MsgResult::yes);
    view->OnCommand(cmd::DeleteAllTabs);
    EXPECT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(view->Ruler().GetTabCount(), 0);
    EXPECT_TRUE(doc.m_tabSets.empty());
    // Without tabs the tab commands are disabled and ask nothing.
    view->OnCommand(cmd::DeleteAllTabs);
    EXPECT_EQ(ui.messages.size(), 2u);
}

} // namespace tab_dialogs_test
