#pragma once

#include <string>

#include "document/ui/DBWizPage.h"

// Step 2, "Select Table": every table of the file (1002) and, for display
// only, the fields of the chosen one (1003).
class CDBWizP2 : public CDBWizPage
{
    Q_OBJECT

public:
    CDBWizP2();

    // Lists the tables; refuses the activation when they cannot be read.
    bool OnSetActive() override;
    bool OnWizardNext() override;
    // Lists the fields of m_strTable.
    void ListTableFields();

    QListWidget* m_lbFields = nullptr;
    QListWidget* m_lbTables = nullptr;
    std::string m_strTable;

private:
    void OnSelChangeTables();
};
