#pragma once

#include <string>
#include <vector>

#include <QDialog>

class QListWidget;
class QShowEvent;

// "Delete Tab At...": picks one tab by its label. Shown modally; after
// Delete the member holds the chosen label (empty when none was chosen).
class CDeleteTabDlg : public QDialog
{
    Q_OBJECT

public:
    // The tabs' labels in the ruler's order, listed as given.
    explicit CDeleteTabDlg(std::vector<std::string> labels, QWidget* parent = nullptr);

    std::string m_strSelectedLabel;

    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void OnInitDialog();

    std::vector<std::string> m_labels;
    QListWidget* m_list = nullptr;
};
