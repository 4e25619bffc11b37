#pragma once

#include <string>

#include "platform/ui/KestrinDialog.h"

class IUiServices;
class QCheckBox;
class QLineEdit;

// "Import Data from Text File": the file to read and an optional band of
// accepted values. Shown modally; after OK the members hold the choices.
class CImportTextDlg : public CKestrinDialog
{
    Q_OBJECT

public:
    explicit CImportTextDlg(IUiServices& ui, QWidget* parent = nullptr);

    int m_nOver = 0;
    int m_nUnder = 0;
    std::string m_strPath;
    int m_bFilter = 0;

    // Reads the controls into the members (false, with a message and the
    // focus on the offending edit, when a limit is not a whole number) or
    // writes the members to the controls.
    bool UpdateData(bool saveAndValidate = true) override;


protected:

private:
    void OnInitDialog() override;
    void OnFilterData();
    void OnSelectFile();

    IUiServices& m_ui;
    QLineEdit* m_editOver = nullptr;
    QLineEdit* m_editUnder = nullptr;
    QLineEdit* m_editPath = nullptr;
    QCheckBox* m_checkFilter = nullptr;
};
