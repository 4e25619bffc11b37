#pragma once

#include <QMdiSubWindow>

class CKestrinApp;
class CKestrinDoc;
class CKestrinView;

// One window on a document inside the main window, holding one view.
class CChildFrame : public QMdiSubWindow
{
    Q_OBJECT

public:
    CChildFrame(CKestrinApp& app, CKestrinDoc& doc);
    ~CChildFrame() override;

    CKestrinView* View() const { return m_view; }
    CKestrinDoc& Document() const { return m_doc; }

protected:
    // Closing the last window on a document offers to save it first.
    void closeEvent(QCloseEvent* event) override;

private:
    CKestrinApp& m_app;
    CKestrinDoc& m_doc;
    CKestrinView* m_view;
};
