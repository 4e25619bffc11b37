// The Bootstrap dialog: what the series is (decided or chosen), the model
// simulated, the warnings, and a run that shows the library's own result.
#include <string>
#include <vector>

#include <QComboBox>
#include <QLabel>
#include <QSignalSpy>
#include <QSpinBox>
#include <gtest/gtest.h>

#include "dialogs/BootstrapDlg.h"
#include "analysis/BootstrapText.h"
#include "tests/support/gui/DialogTestSupport.h"
#include "analysis/FbmSimulation.h"
#include "platform/HeadlessUi.h"
#include "document/KestrinDoc.h"
#include "analysis/NewDocuments.h"
#include "tests/support/SeriesBuilders.h"
#include "analysis/SeriesProfile.h"

namespace bootstrap_dlg_test {

namespace {

// An estimate of values with D 4, M 3.
CHDataSet EstimateOf(const std::vector<double>& values)
{
    CHDataSet set({.nD = 4, .nM = 3});
    set.m_bAutoCompute = 0;
    set.Values().Storage() = values;
    set.Compute();
    return set;
}

// fBm of H 0.7 (DFA alpha about 1.7) and its increments, a noise (about 0.7).
const std::vector<double> kMotion = SimulateFbm(512, 0.7, 3);
std::vector<double> Increments(const std::vector<double>& v)
{
    std::vector<double> d;
    for (std::size_t i = 1; i < v.size(); ++i)
        d.push_back(v[i] - v[i - 1]);
    return d;
}
const std::vector<double> kNoise = Increments(kMotion);
std::vector<double> ProfileOf(std::vector<double> v)
{
    ProfileInPlace(v.data(), v.size());
    return v;
}
const std::vector<double> kProfileOfMotion = ProfileOf(kMotion);

std::string Text(CBootstrapDlg& dlg, const char* label)
{
    return Control<QLabel>(dlg, label)->text().toStdString();
}

bool Has(const std::string& text, const std::string& words)
{
    return text.find(words) != std::string::npos;
}

} // namespace

// The decision and the model for each choice of the series box; a noise
// estimated as it is and the profile of a motion carry a warning.
TEST(BootstrapDlg, SeriesChoiceDecidesTheModel)
{
    struct Case
    {
        const char* name;
        const std::vector<double>& values;
        int choice; // automatic, noise, motion
        const char* kind;
        const char* model;
        const char* warning; // nullptr: none
        bool isProfile = false;
    };
    const Case cases[] = {
        {"motion", kMotion, 0, "motion, \xCE\xB1 1.", "fractional Brownian motion", nullptr},
        {"noise", kNoise, 0, "noise, \xCE\xB1 0.", "fractional Gaussian noise", "reads as a noise"},
        {"noise taken as a motion", kNoise, 2, "motion (as given), \xCE\xB1 0.", "fractional Brownian motion",
         nullptr},
        {"motion taken as a noise", kMotion, 1, "noise (as given), \xCE\xB1 1.", "fractional Gaussian noise",
         "reads as a noise"},
        {"profile of a motion", kProfileOfMotion, 0, "profile of a motion, \xCE\xB1 1.",
         "profile of fractional Gaussian noise", "the profile of a motion is not what to estimate", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CBootstrapDlg dlg(EstimateOf(c.values), c.isProfile);
        dlg.show();
        auto* combo = Control<QComboBox>(dlg, "comboSeries");
        EXPECT_EQ(combo->currentText(), "automatic"); // never remembered
        combo->setCurrentIndex(c.choice);
        EXPECT_TRUE(Has(Text(dlg, "labelSeriesKind"), c.kind)) << Text(dlg, "labelSeriesKind");
        EXPECT_EQ(Text(dlg, "labelModel"), c.model);
        auto* warning = Control<QLabel>(dlg, "labelWarning");
        EXPECT_EQ(warning->isVisible(), c.warning != nullptr);
        if (c.warning) {
            EXPECT_TRUE(Has(Text(dlg, "labelWarning"), c.warning)) << Text(dlg, "labelWarning");
        }
    }
}

// A document made by Profile is simulated as the profile of a noise, and
// the run shows, in the shared words, what the library computes for it.
TEST(BootstrapDlg, ProfileDocumentRunsTheProfileOfANoise)
{
    CHeadlessUi ui;
    CKestrinDoc source(ui);
    source.m_points = MakeSeriesFrom(0.0, kNoise);
    CKestrinDoc profile(ui);
    BuildProfileDocument(source, profile);
    ASSERT_TRUE(profile.IsProfile());

    CBootstrapDlg dlg(profile.m_globalSet, profile.IsProfile());
    dlg.show();
    EXPECT_EQ(Text(dlg, "labelModel"), "profile of fractional Gaussian noise");
    EXPECT_TRUE(Has(Text(dlg, "labelSeriesKind"), "profile of a noise")) << Text(dlg, "labelSeriesKind");
    Control<QSpinBox>(dlg, "spinReplicates")->setValue(8);
    Control<QLineEdit>(dlg, "editSeed")->setText("5");
    QSignalSpy ended(&dlg, &CBootstrapDlg::finishedRun);
    dlg.Start();
    EXPECT_FALSE(Control<QComboBox>(dlg, "comboSeries")->isEnabled());
    ASSERT_TRUE(ended.wait(60000));
    ASSERT_TRUE(dlg.Result());
    EXPECT_TRUE(dlg.isVisible()); // the dialog stays to be read

    CSeriesBootstrapOptions options;
    options.replicates = 8;
    options.seed = 5;
    options.isProfile = true;
    const CBootstrapResult expected = RunBootstrap(SeriesBootstrapRequest(profile.m_globalSet, options));
    EXPECT_EQ(expected.model, EBootstrapModel::ProfileOfNoise);
    EXPECT_EQ(dlg.Result()->model, expected.model);
    EXPECT_EQ(Text(dlg, "labelStatus"), BootstrapLabelText(expected).toStdString());
    ASSERT_TRUE(expected.check);
    EXPECT_EQ(Text(dlg, "labelCheck"), "Model check " + ModelCheckText(*expected.check) + ".");
    EXPECT_EQ(Control<QPushButton>(dlg, "buttonCancel")->text(), "Close");
    dlg.reject();
    EXPECT_TRUE(dlg.Result()); // closing keeps the finished run
}

} // namespace bootstrap_dlg_test
