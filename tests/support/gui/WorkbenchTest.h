#pragma once

#include <memory>
#include <random>

#include <QSettings>
#include <QTest>
#include <gtest/gtest.h>

#include "app/KestrinApp.h"
#include "document/KestrinDoc.h"
#include "views/KestrinView.h"
#include "app/MainFrame.h"
#include "tests/support/gui/ScriptedQtUi.h"

// Appends count points to the document: X firstX, firstX + 1, ..., Y a
// random walk of steps in [-1, 1] from the seed.
inline void AddRandomWalk(CKestrinDoc& doc, int count, double firstX, unsigned seed)
{
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> step(-1.0, 1.0);
    double walk = 0.0;
    for (int i = 0; i < count; ++i) {
        walk += step(rng);
        CSeriesPoint p{};
        p.m_dX = firstX + i;
        p.m_dY = walk;
        doc.m_points.Add(p);
    }
}

// The workbench with a person's answers scripted, its settings cleared
// before and after each test. InitInstance is left to the test.
class CWorkbenchTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QSettings().clear();
        auto ui = std::make_unique<CScriptedQtUi>();
        m_ui = ui.get();
        m_app = std::make_unique<CKestrinApp>(std::move(ui));
    }
    void TearDown() override
    {
        m_app.reset();
        QSettings().clear();
    }

    CMainFrame& Frame() { return *m_app->MainFrame(); }

    // Starts the workbench with its one new document, shown; m_doc and
    // m_view are that document and its view.
    void StartWithNewDocument()
    {
        ASSERT_TRUE(m_app->InitInstance({}));
        m_doc = m_app->ActiveDocument();
        m_view = m_app->ActiveView();
        ASSERT_NE(m_doc, nullptr);
        ASSERT_NE(m_view, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_view));
    }

    // The same, the document holding count points of a random walk (see
    // AddRandomWalk) and its whole-series H; the views are not yet updated.
    void StartWithRandomWalk(int count, double firstX, unsigned seed)
    {
        StartWithNewDocument();
        if (HasFatalFailure())
            return;
        AddRandomWalk(*m_doc, count, firstX, seed);
        m_doc->m_bHasData = 1;
        m_doc->RecalculateH();
    }

    CScriptedQtUi* m_ui = nullptr;
    std::unique_ptr<CKestrinApp> m_app;
    CKestrinDoc* m_doc = nullptr;
    CKestrinView* m_view = nullptr;
};
