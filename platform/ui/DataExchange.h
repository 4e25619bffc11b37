#pragma once

#include <initializer_list>

#include <QString>

class IUiServices;
class QButtonGroup;
class QLineEdit;
class QRadioButton;
class QWidget;

// The reading and writing of numbers between a dialog's members and its
// edits. A reading that fails says so in a message box, puts the focus on
// the edit with its text selected, leaves the member as it was and returns
// false, so that the dialog can stay open.

// A whole number with an optional sign and surrounding blanks, that fits an
// int. Message: "Please enter an integer."
bool ReadInteger(IUiServices& ui, QLineEdit* edit, int& value);
// A decimal number (sign, digits, point, fraction, exponent) with
// surrounding blanks; the point is '.' whatever the locale. Message:
// "Please enter a number."
bool ReadNumber(IUiServices& ui, QLineEdit* edit, double& value);

// The text an edit shows for a member.
QString IntegerText(int value);
QString NumberText(double value);

// Only digits can be typed into the edit, which shows them right-aligned.
void MakeDigitsOnly(QLineEdit* edit);

// A name for a control made from its kind and its id: "edit1032".
QString ControlName(const char* kind, int id);

// A group of radio buttons whose index is the position of the checked one in
// the group (-1 when none is checked). Radios of different groups may share
// a parent without unchecking one another.
QButtonGroup* MakeRadioGroup(QWidget* parent, std::initializer_list<QRadioButton*> radios);
int RadioIndex(const QButtonGroup* group);
void SetRadioIndex(QButtonGroup* group, int index);
