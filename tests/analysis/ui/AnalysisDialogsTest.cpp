// The dialogs of the window analyses on their own: their controls and
// defaults, the checks at OK and their order, and what they hand back.
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QToolButton>
#include <gtest/gtest.h>

#include "analysis/ui/CorrelationDlg.h"
#include "tests/support/gui/DialogTestSupport.h"
#include "tests/support/gui/GuiTestSupport.h"
#include "core/HDataSet.h"
#include "platform/HeadlessUi.h"
#include "analysis/ui/MetaHParamsDlg.h"
#include "analysis/ui/PlotPointDlg.h"
#include "core/Regression.h"
#include "analysis/ui/SelectRangeDlg.h"
#include "analysis/ui/SlidingWindowHDlg.h"
#include "analysis/SlidingWindows.h"
#include "analysis/ui/SlidingWindowsDlg.h"
#include "analysis/ui/SlopeWindowsDlg.h"
#include "platform/ui/SpinButton.h"
#include "tests/support/TestSupport.h"
#include "tests/support/SeriesBuilders.h"

namespace analysis_dialogs_test {

namespace {

std::vector<QString> GroupTitles(QWidget& dlg)
{
    std::vector<QString> v;
    for (QGroupBox* g : dlg.findChildren<QGroupBox*>())
        v.push_back(g->title());
    return v;
}

std::string C15g(double v)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15g", v);
    return buffer;
}

// A read-only result reads like "%.15g" and is wholly in view.
void ExpectResult(QLineEdit* edit, double value)
{
    EXPECT_EQ(edit->text().toStdString(), C15g(value));
    EXPECT_LE(edit->fontMetrics().horizontalAdvance(edit->text()) + 8, edit->width()) << edit->text().toStdString();
}

void ExpectPairs(const CHPointArray& actual, const CHPointArray& expected)
{
    ASSERT_EQ(actual.GetSize(), expected.GetSize());
    for (int i = 0; i < actual.GetSize(); ++i) {
        EXPECT_EQ(actual[i].m_dX, expected[i].m_dX) << i;
        EXPECT_EQ(actual[i].m_dY, expected[i].m_dY) << i;
    }
}

class AnalysisDialogTest : public ::testing::Test
{
protected:
    // The last message, which must have left the dialog open.
    void ExpectRefused(QDialog& dlg, const std::string& text)
    {
        ASSERT_FALSE(ui.messages.empty());
        EXPECT_EQ(ui.messages.back().text, text);
        EXPECT_TRUE(dlg.isVisible());
        EXPECT_NE(dlg.result(), QDialog::Accepted);
    }

    CHeadlessUi ui;
};

} // namespace

TEST_F(AnalysisDialogTest, SlidingWindowsControlsAndEnabling)
{
    CSlidingWindowsDlg dlg(ui);
    dlg.show();
    EXPECT_EQ(dlg.windowTitle(), "Sliding Windows Config");
    EXPECT_EQ(GroupTitles(dlg), (std::vector<QString>{"M Parameters", "D Parameters"}));
    EXPECT_EQ(Control<QLabel>(dlg, "labelWidth")->text(), "Width");
    EXPECT_EQ(Control<QLabel>(dlg, "labelSpacing")->text(), "Spacing");
    EXPECT_EQ(Control<QRadioButton>(dlg, "radio1051")->text(), "Use Best");
    EXPECT_EQ(Control<QRadioButton>(dlg, "radio1052")->text(), "Use Value");
    EXPECT_EQ(Control<QRadioButton>(dlg, "radio1054")->text(), "Use Value");
    ExpectTextsFit(dlg);
    const std::vector<std::pair<const char*, QString>> defaults = {
        {"edit1049", "100"}, {"edit1050", "1"}, {"edit1053", "0"}, {"edit1055", "6"}};
    for (const auto& [name, text] : defaults) {
        EXPECT_EQ(Control<QLineEdit>(dlg, name)->text(), text) << name;
        EXPECT_TRUE(Control<QLineEdit>(dlg, name)->alignment() & Qt::AlignRight) << name;
    }
    EXPECT_TRUE(Control<QRadioButton>(dlg, "radio1051")->isChecked());
    EXPECT_TRUE(Control<QRadioButton>(dlg, "radio1054")->isChecked());
    Type(Control<QLineEdit>(dlg, "edit1049"), "-1x2");
    EXPECT_EQ(Control<QLineEdit>(dlg, "edit1049")->text(), "12");

    // The M value counts only with "Use Value".
    auto* editM = Control<QLineEdit>(dlg, "edit1053");
    EXPECT_FALSE(editM->isEnabled());
    Click(Control<QRadioButton>(dlg, "radio1052"));
    EXPECT_TRUE(editM->isEnabled());
    Click(Control<QRadioButton>(dlg, "radio1051"));
    EXPECT_FALSE(editM->isEnabled());
}

TEST_F(AnalysisDialogTest, SlidingWindowsChecksInTheirOrder)
{
    CSlidingWindowsDlg dlg(ui);
    dlg.show();
    auto* width = Control<QLineEdit>(dlg, "edit1049");
    auto* spacing = Control<QLineEdit>(dlg, "edit1050");
    auto* ok = Control<QPushButton>(dlg, "button1");

    // Spacing first, even when the width is also 0.
    Type(spacing, "0");
    Type(width, "0");
    Click(ok);
    ExpectRefused(dlg, "Spacing must be geater than 0.");
    EXPECT_EQ(ui.messages.back().buttons, MsgButtons::ok);
    EXPECT_EQ(dlg.focusWidget(), spacing);
    Type(spacing, "1");
    Click(ok);
    ExpectRefused(dlg, "Width must be greater than 0.");
    // Negatives cannot be typed; one set by other means meets the same check.
    width->setText(QStringLiteral("-200"));
    Click(ok);
    ExpectRefused(dlg, "Width must be greater than 0.");

    Type(width, "50");
    ui.messageAnswers = {MsgResult::no};
    Click(ok);
    ExpectRefused(dlg, "Width should be greater than 100.  Proceed anyway?");
    EXPECT_EQ(ui.messages.back().buttons, MsgButtons::yesNo);
    ui.messageAnswers = {MsgResult::yes};
    Click(ok);
    EXPECT_EQ(ui.messages.size(), 5u);
    EXPECT_EQ(ui.messages.back().text, "Width should be greater than 100.  Proceed anyway?");
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.m_nWidth, 50);
    EXPECT_EQ(dlg.m_nSpacing, 1);

    // 100 itself is not questioned; an M the computation cannot hold is
    // refused.
    CSlidingWindowsDlg wide(ui);
    wide.show();
    Click(Control<QRadioButton>(wide, "radio1052"));
    Type(Control<QLineEdit>(wide, "edit1053"), QString::number(kMaxWindowM + 1));
    Click(Control<QPushButton>(wide, "button1"));
    ASSERT_EQ(ui.messages.size(), 6u);
    EXPECT_TRUE(wide.isVisible());
    EXPECT_EQ(wide.focusWidget(), Control<QLineEdit>(wide, "edit1053"));
    Type(Control<QLineEdit>(wide, "edit1053"), "7");
    Click(Control<QPushButton>(wide, "button1"));
    EXPECT_EQ(ui.messages.size(), 6u);
    EXPECT_EQ(wide.result(), QDialog::Accepted);
    EXPECT_EQ(wide.m_nM, 7);
    EXPECT_EQ(wide.m_nMChoice, 1);
}

TEST_F(AnalysisDialogTest, PlotPointSliderAndLabel)
{
    CPlotPointDlg dlg;
    dlg.show();
    EXPECT_EQ(dlg.windowTitle(), "Set Plot Point for Sliding Windows");
    EXPECT_EQ(Control<QLabel>(dlg, "labelText")->text(),
              "A sliding window is a series of points, but it is graphed as a single point.  Use this dialog to "
              "specify which point in the window is plotted.");
    auto* slider = Control<QSlider>(dlg, "slider1084");
    auto* label = Control<QLabel>(dlg, "static1085");
    EXPECT_EQ(slider->orientation(), Qt::Horizontal);
    EXPECT_EQ(slider->maximum(), 100);
    EXPECT_EQ(slider->value(), 50);
    EXPECT_EQ(label->text(), "50 %");
    ExpectTextsFit(dlg);

    QTest::keyClick(slider, Qt::Key_Right);
    EXPECT_EQ(label->text(), "51 %");
    slider->setValue(37);
    EXPECT_EQ(label->text(), "37 %");
    Click(Control<QPushButton>(dlg, "button1"));
    EXPECT_DOUBLE_EQ(dlg.m_dPlotPoint, 0.37);

    // Truncated (0.29 * 100 is just below 29); anything outside 0..1 at the
    // nearer end.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (const auto& [plotPoint, position] :
         std::vector<std::pair<double, int>>{{0.29, 28}, {1.0, 100}, {-0.25, 0}, {1.7, 100}, {nan, 0}}) {
        CPlotPointDlg other;
        other.m_dPlotPoint = plotPoint;
        other.show();
        EXPECT_EQ(Control<QSlider>(other, "slider1084")->value(), position) << plotPoint;
        Click(Control<QPushButton>(other, "button2"));
        EXPECT_EQ(other.result(), QDialog::Rejected);
    }
}

TEST_F(AnalysisDialogTest, PlotPointLabelIsDrawn)
{
    CPlotPointDlg dlg;
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    auto* label = Control<QLabel>(dlg, "static1085");
    label->setText(QString());
    const QImage blank = RenderWidget(dlg).copy(label->geometry());
    Control<QSlider>(dlg, "slider1084")->setValue(37);
    const QImage shown = RenderWidget(dlg).copy(label->geometry());

    // The dialog shows exactly what a label with that text draws.
    QLabel reference(QStringLiteral("37 %"));
    reference.setFont(label->font());
    reference.setAlignment(label->alignment());
    reference.resize(label->size());
    EXPECT_NE(shown, blank);
    EXPECT_EQ(shown, RenderWidget(reference));
}

TEST_F(AnalysisDialogTest, MetaHParams)
{
    CMetaHParamsDlg dlg(ui);
    dlg.show();
    EXPECT_EQ(dlg.windowTitle(), "Meta H Parameters");
    EXPECT_EQ(GroupTitles(dlg), (std::vector<QString>{"M", "D"}));
    EXPECT_EQ(Control<QRadioButton>(dlg, "radio1073")->text(), "Use Best M");
    EXPECT_TRUE(Control<QRadioButton>(dlg, "radio1073")->toolTip().contains("the number of sliding-window results"));
    EXPECT_EQ(Control<QRadioButton>(dlg, "radio1074")->text(), "Set M At");
    EXPECT_EQ(Control<QRadioButton>(dlg, "radio1075")->text(), "Set D At");
    ExpectTextsFit(dlg);
    auto* editM = Control<QLineEdit>(dlg, "edit1071");
    auto* editD = Control<QLineEdit>(dlg, "edit1072");
    EXPECT_EQ(editD->text(), "6");
    EXPECT_EQ(editM->text(), "0");
    EXPECT_TRUE(Control<QRadioButton>(dlg, "radio1073")->isChecked());
    EXPECT_FALSE(editM->isEnabled());
    Click(Control<QRadioButton>(dlg, "radio1074"));
    EXPECT_TRUE(editM->isEnabled());

    // No range checks: D 0 is the user's to choose.
    Type(editM, "5");
    Type(editD, "0");
    Click(Control<QPushButton>(dlg, "button1"));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.m_nM, 5);
    EXPECT_EQ(dlg.m_nD, 0);
    EXPECT_EQ(dlg.m_nMChoice, 1);
}

TEST_F(AnalysisDialogTest, SlidingWindowHShowsTheEstimate)
{
    CHDataSet set;
    set.m_bAutoCompute = false;
    set.Reset({.nD = 6, .nM = 10});
    for (int i = 0; i < 100; ++i)
        set.AddValue(std::sin(i * 0.7) + 0.01 * i);
    set.Compute();

    CSlidingWindowHDlg dlg;
    dlg.m_pDataSet = &set;
    dlg.show();
    EXPECT_EQ(dlg.windowTitle(), "Sliding Window H");
    int lastY = -1;
    const std::vector<std::tuple<const char*, const char*, QString>> rows = {
        {"labelH", "edit1067", "H:"}, {"labelR", "edit1068", "r:"}, {"labelB", "edit1069", "b:"},
        {"labelN", "edit1070", "n:"}};
    for (const auto& [label, edit, caption] : rows) {
        EXPECT_EQ(Control<QLabel>(dlg, label)->text(), caption);
        EXPECT_TRUE(Control<QLineEdit>(dlg, edit)->isReadOnly());
        EXPECT_GT(Control<QLineEdit>(dlg, edit)->y(), lastY);
        lastY = Control<QLineEdit>(dlg, edit)->y();
    }
    ExpectTextsFit(dlg);
    ExpectResult(Control<QLineEdit>(dlg, "edit1067"), set.GetH());
    ExpectResult(Control<QLineEdit>(dlg, "edit1068"), set.GetR());
    ExpectResult(Control<QLineEdit>(dlg, "edit1069"), set.GetB());
    EXPECT_EQ(Control<QLineEdit>(dlg, "edit1070")->text(), "100");
    Click(Control<QPushButton>(dlg, "button2"));
    EXPECT_FALSE(dlg.isVisible());

    // The general format throughout the range of doubles.
    dlg.m_pDataSet = nullptr;
    for (double v : {0.0, -0.125, 1.0 / 3.0, 123456789012345678.0, 1e-7, 1e21, 0.1 + 0.2, -1.0 / 81.0 * 1e-296}) {
        dlg.m_dH = v;
        dlg.show();
        ExpectResult(Control<QLineEdit>(dlg, "edit1067"), v);
        dlg.hide();
    }
}

TEST_F(AnalysisDialogTest, SlopeWindowsAcceptsOneTo5000)
{
    CSlopeWindowsDlg dlg(ui);
    dlg.show();
    EXPECT_EQ(dlg.windowTitle(), "Set Slope Windows");
    EXPECT_EQ(Control<QLabel>(dlg, "labelSize")->text(), "Window Size:");
    ExpectTextsFit(dlg);
    auto* size = Control<QLineEdit>(dlg, "edit1076");
    EXPECT_EQ(size->text(), "0");
    for (const char* refused : {"0", "5001"}) {
        Type(size, refused);
        Click(Control<QPushButton>(dlg, "button1"));
        ExpectRefused(dlg, "Please enter an integer between 1 and 5000.");
        EXPECT_EQ(dlg.focusWidget(), size);
    }
    for (int accepted : {1, 5000}) {
        CSlopeWindowsDlg other(ui);
        other.show();
        Type(Control<QLineEdit>(other, "edit1076"), QString::number(accepted));
        Click(Control<QPushButton>(other, "button1"));
        EXPECT_EQ(other.result(), QDialog::Accepted);
        EXPECT_EQ(other.m_nSize, accepted);
    }
    EXPECT_EQ(ui.messages.size(), 2u);
}

TEST_F(AnalysisDialogTest, CorrelationSpinAndApply)
{
    // H results plotted at 50, 51, 52; slope results of size 10 over 1000
    // points, at positions 5 to 994.
    CHPointArray hResults;
    CHPointArray slopes;
    for (int i = 0; i < 3; ++i)
        hResults.Add(MakePoint(50 + i, 0.5 + 0.1 * i * i));
    for (int i = 0; i < 990; ++i)
        slopes.Add(MakePoint(i + 5, std::cos(i * 0.3) * i));
    const auto expected = [&](int offset) {
        CHPointArray pairs;
        for (int i = 0; i < 3; ++i)
            pairs.Add(MakePoint(hResults[i].m_dY, slopes[45 + i - offset].m_dY));
        return pairs;
    };

    CCorrelationDlg dlg(ui);
    dlg.m_pHResults = &hResults;
    dlg.m_pSlopes = &slopes;
    dlg.show();
    EXPECT_EQ(dlg.windowTitle(), "Slope / H Correlation");
    EXPECT_EQ(Control<QLabel>(dlg, "labelOffset")->text(), "Offset");
    EXPECT_EQ(Control<QLabel>(dlg, "labelCorrelation")->text(), "Correlation:");
    EXPECT_EQ(Control<QLabel>(dlg, "labelMatches")->text(), "Matches:");
    auto* apply = Control<QPushButton>(dlg, "button1082");
    EXPECT_EQ(apply->text(), "&Apply");
    EXPECT_TRUE(apply->isDefault());
    EXPECT_EQ(Control<QPushButton>(dlg, "button1083")->text(), "&Save Data");
    EXPECT_EQ(Control<QPushButton>(dlg, "button2")->text(), "&Done");
    ExpectTextsFit(dlg);
    auto* offset = Control<QLineEdit>(dlg, "edit1078");
    auto* correlation = Control<QLineEdit>(dlg, "edit1080");
    auto* matches = Control<QLineEdit>(dlg, "edit1081");
    for (QLineEdit* e : {offset, correlation, matches}) {
        EXPECT_TRUE(e->isReadOnly());
        EXPECT_EQ(e->text(), "0");
    }

    // The spin steps the offset in 0..5000.
    auto* spin = Control<CSpinButton>(dlg, "spin1079");
    Click(spin->DownButton());
    EXPECT_EQ(offset->text(), "0");
    Click(spin->UpButton());
    QTest::keyClick(offset, Qt::Key_Up);
    EXPECT_EQ(offset->text(), "2");
    spin->StepBy(6000);
    EXPECT_EQ(offset->text(), "5000");
    spin->StepBy(-5000);

    Click(apply);
    ExpectPairs(dlg.m_pairs, expected(0));
    EXPECT_EQ(matches->text(), "3");
    ExpectResult(correlation, PearsonCorrelation(expected(0)));
    EXPECT_EQ(ui.statusTexts, (std::vector<std::string>{"Preparing Correlation...", "Ready"}));

    // Enter applies: offset 20 pairs each H with the slope 20 points left.
    spin->StepBy(20);
    QTest::keyClick(&dlg, Qt::Key_Return);
    EXPECT_TRUE(dlg.isVisible());
    ExpectPairs(dlg.m_pairs, expected(20));
    ExpectResult(correlation, PearsonCorrelation(expected(20)));

    // Shifted before the first slope result: nothing pairs.
    spin->StepBy(30);
    Click(apply);
    EXPECT_EQ(matches->text(), "0");
    EXPECT_EQ(correlation->text(), "0");

    // Without the slope results the pairs stay as they were.
    dlg.m_pSlopes = nullptr;
    spin->StepBy(-50);
    Click(apply);
    EXPECT_EQ(matches->text(), "0");
    EXPECT_EQ(ui.statusTexts.size(), 6u);
}

TEST_F(AnalysisDialogTest, CorrelationSaveDataWritesTheLastPairs)
{
    TempDir dir;
    const std::string path = dir.File("pairs.txt");
    CHPointArray h;
    h.Add(MakePoint(50, 0.75));
    h.Add(MakePoint(51, 0.8));
    CHPointArray s;
    s.Add(MakePoint(50, -0.125));
    s.Add(MakePoint(51, 2.0));
    CCorrelationDlg dlg(ui);
    dlg.m_pHResults = &h;
    dlg.m_pSlopes = &s;
    dlg.show();
    const auto save = [&](std::optional<std::string> choice) {
        ui.saveChoices = {choice};
        Click(Control<QPushButton>(dlg, "button1083"));
        const std::vector<std::uint8_t> bytes = ReadFileBytes(path);
        return std::string(bytes.begin(), bytes.end());
    };

    EXPECT_EQ(save(std::nullopt), "");
    ASSERT_EQ(ui.fileDialogs.size(), 1u);
    EXPECT_EQ(ui.fileDialogs[0].defaultExtension, ".txt");
    EXPECT_EQ(ui.fileDialogs[0].fileName, "*.txt");
    EXPECT_EQ(ui.fileDialogs[0].filter, "Text Files (*.txt)");
    EXPECT_TRUE(ui.fileDialogs[0].overwritePrompt);
    EXPECT_EQ(ui.fileDialogs[0].kind, "Exports");
    EXPECT_EQ(save(path), "H\tSlope\r\n");
    Click(Control<QPushButton>(dlg, "button1082"));
    EXPECT_EQ(save(path), "H\tSlope\r\n0.7500\t-0.1250\r\n0.8000\t2.0000\r\n");
    EXPECT_TRUE(dlg.isVisible());
}

// A series whose first X is not a number has no X range: the edits offer no
// text rather than "nan".
TEST_F(AnalysisDialogTest, SelectRangeOffersNoTextForAnUndefinedRange)
{
    CSelectRangeDlg dlg(ui);
    dlg.m_dMin = std::nan("");
    dlg.m_dMax = std::nan("");
    dlg.show();
    EXPECT_EQ(Control<QLineEdit>(dlg, "edit1033")->text(), "");
    EXPECT_EQ(Control<QLineEdit>(dlg, "edit1034")->text(), "");
    Click(Control<QPushButton>(dlg, "button1"));
    ExpectRefused(dlg, "Please enter a number.");
}

TEST_F(AnalysisDialogTest, SelectRange)
{
    CSelectRangeDlg dlg(ui);
    dlg.m_dMin = 1900.0;
    dlg.m_dMax = 1999.126;
    dlg.show();
    EXPECT_EQ(dlg.windowTitle(), "Select Range");
    EXPECT_EQ(Control<QLabel>(dlg, "labelPrompt")->text(), "Select a range of data points.");
    EXPECT_EQ(Control<QLabel>(dlg, "labelFromCaption")->text(), "From");
    EXPECT_EQ(Control<QLabel>(dlg, "labelToCaption")->text(), "To");
    EXPECT_EQ(Control<QLabel>(dlg, "static1035")->text(), "1900.00");
    EXPECT_EQ(Control<QLabel>(dlg, "static1036")->text(), "1999.13");
    ExpectTextsFit(dlg);
    auto* from = Control<QLineEdit>(dlg, "edit1033");
    auto* to = Control<QLineEdit>(dlg, "edit1034");
    EXPECT_EQ(from->text(), "1900");
    EXPECT_EQ(to->text(), "1999.126");
    EXPECT_TRUE(from->alignment() & Qt::AlignRight);
    EXPECT_TRUE(to->alignment() & Qt::AlignRight);
    auto* ok = Control<QPushButton>(dlg, "button1");

    Type(from, "abc");
    Click(ok);
    ExpectRefused(dlg, "Please enter a number.");
    // From above To comes first, even when From is also below the minimum.
    Type(from, "1990");
    Type(to, "1950");
    Click(ok);
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages.back().buttons, MsgButtons::ok);
    const std::string reversed = ui.messages.back().text;
    EXPECT_FALSE(reversed.empty());
    Type(from, "30");
    Type(to, "10");
    Click(ok);
    ExpectRefused(dlg, reversed);
    Type(from, "1899.99");
    Type(to, "1950");
    Click(ok);
    ExpectRefused(dlg, "The From value must be greater than the Min value.");
    EXPECT_EQ(dlg.focusWidget(), from);
    Type(from, "1950");
    Type(to, "1999.2");
    Click(ok);
    ExpectRefused(dlg, "The To value must be less than the Max value.");
    EXPECT_EQ(dlg.focusWidget(), to);

    // A single point, at the very end, is a range.
    Type(from, "1999.126");
    Type(to, " 1999.126 ");
    Click(ok);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.m_dFrom, 1999.126);
    EXPECT_EQ(dlg.m_dTo, 1999.126);
}

} // namespace analysis_dialogs_test
