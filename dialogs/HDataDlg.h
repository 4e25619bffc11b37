#pragma once

#include "platform/ui/KestrinDialog.h"

class CHDataSet;
class IUiServices;
class QTreeView;

// "H Data Dialog": the values behind one estimate, numbered from 0. Shown
// modally; OK and Cancel only close it.
class CHDataDlg : public CKestrinDialog
{
    Q_OBJECT

public:
    explicit CHDataDlg(IUiServices& ui, QWidget* parent = nullptr);

    // The estimator whose values are listed; set before the dialog runs.
    const CHDataSet* m_pDataSet = nullptr;

protected:

private:
    void OnInitDialog() override;

    IUiServices& m_ui;
    QTreeView* m_list = nullptr;
};
