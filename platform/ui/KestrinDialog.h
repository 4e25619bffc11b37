#pragma once

#include <QDialog>

class QLineEdit;
class QShowEvent;

// What every modal dialog of the program shares. Each time the dialog is
// opened (not when the window system merely shows it again) OnInitDialog puts
// the members into the controls. OK reads the controls back into the members
// with UpdateData(true), which keeps the dialog open when an entry does not
// parse, and then asks OnOK for the dialog's own checks.
class CKestrinDialog : public QDialog
{
    Q_OBJECT

public:
    explicit CKestrinDialog(QWidget* parent = nullptr) : QDialog(parent) {}

    // Reads the controls into the members (false, with a message and the
    // focus on the offending edit, when an entry does not parse) or writes
    // the members to the controls. A dialog without entries has nothing to
    // exchange.
    virtual bool UpdateData(bool saveAndValidate = true);

    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

    // The controls from the members: UpdateData(false) unless a dialog has
    // more to prepare.
    virtual void OnInitDialog();
    // The dialog's checks once its entries have been read; false keeps it
    // open (after telling the user why).
    virtual bool OnOK();

    // Puts the focus on edit with its text selected, for the user to correct.
    static void FocusEdit(QLineEdit* edit);
};
