#pragma once

#include <string>

#include "document/ui/DBWizPage.h"

class QLineEdit;
class QPushButton;

// Step 1, "Select Database": the file to read, chosen with Select and shown
// read-only. Next is enabled once the wizard's connection to it is open.
class CDBWizP1 : public CDBWizPage
{
    Q_OBJECT

public:
    CDBWizP1();

    bool OnSetActive() override;
    bool OnWizardNext() override;
    // Opens the wizard's connection on m_strDatabase unless one is open
    // already (the path is not compared). False, after saying why, when the
    // file cannot be opened.
    bool OpenWizardDatabase();

    std::string m_strDatabase;

private:
    void OnSelect();
    void ShowPath();

    QPushButton* m_select = nullptr;
    QLineEdit* m_editPath = nullptr;
};
