#pragma once

#include <QDialog>

class CHDataSet;
class IUiServices;
class QShowEvent;
class QTreeView;

// "H Data Dialog": the values behind one estimate, numbered from 0. Shown
// modally; OK and Cancel only close it.
class CHDataDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CHDataDlg(IUiServices& ui, QWidget* parent = nullptr);

    // The estimator whose values are listed; set before the dialog runs.
    const CHDataSet* m_pDataSet = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void OnInitDialog();

    IUiServices& m_ui;
    QTreeView* m_list = nullptr;
};
