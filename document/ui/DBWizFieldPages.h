#pragma once

#include <string>

#include "document/ui/DBWizPage.h"

// Steps 3 and 4 choose one field of the wizard's table and show the values
// of the first seven records in it. They differ in the wizard name they
// fill, their ids and texts, and whether the choice enables Next or Finish.
class CDBWizFieldPage : public CDBWizPage
{
    Q_OBJECT

public:
    struct Layout
    {
        int templateId;
        const char* title;
        const char* step;
        int fieldsId;
        int samplesId;
        unsigned forward; // kWizNext or kWizFinish
    };

    explicit CDBWizFieldPage(const Layout& layout);

    bool OnSetActive() override;
    bool OnWizardNext() override;
    // Lists, sorted, the text of field's value in the table's first seven
    // records.
    void ShowSampleValues(const std::string& field);

    QListWidget* m_lbSamples = nullptr;
    QListWidget* m_lbFields = nullptr;
    std::string m_strField;

protected:
    // The wizard's name this page reads on activation and sets on leaving.
    virtual std::string& WizardField() const = 0;

private:
    void OnSelChangeFields();

    unsigned m_forward;
};

// Step 3, "Select Sequence": the field read as X.
class CDBWizP3 : public CDBWizFieldPage
{
    Q_OBJECT

public:
    CDBWizP3();

protected:
    std::string& WizardField() const override;
};

// Step 4, "Select Series": the field read as Y; Finish ends the wizard.
class CDBWizP4 : public CDBWizFieldPage
{
    Q_OBJECT

public:
    CDBWizP4();
    // Copies the choice and closes the wizard's connection.
    bool OnWizardNext() override;

protected:
    std::string& WizardField() const override;
};
