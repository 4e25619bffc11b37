#pragma once

#include <string>
#include <vector>

#include "platform/ui/KestrinDialog.h"

class QListWidget;

// "Delete Tab At...": picks one tab by its label. Shown modally; after
// Delete the member holds the chosen label (empty when none was chosen).
class CDeleteTabDlg : public CKestrinDialog
{
    Q_OBJECT

public:
    // The tabs' labels in the ruler's order, listed as given.
    explicit CDeleteTabDlg(std::vector<std::string> labels, QWidget* parent = nullptr);

    std::string m_strSelectedLabel;

    bool OnOK() override;

protected:

private:
    void OnInitDialog() override;

    std::vector<std::string> m_labels;
    QListWidget* m_list = nullptr;
};
