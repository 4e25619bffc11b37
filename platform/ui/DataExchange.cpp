#include "platform/ui/DataExchange.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>

#include "core/DecimalParse.h"
#include "core/Format.h"
#include "platform/UiServices.h"

namespace {

void Refuse(IUiServices& ui, QLineEdit* edit, const char* message)
{
    ui.MessageBox(message, MsgButtons::ok, MsgIcon::warning);
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
}

} // namespace

bool ReadInteger(IUiServices& ui, QLineEdit* edit, int& value)
{
    bool ok = false;
    const int parsed = edit->text().trimmed().toInt(&ok, 10);
    if (!ok) {
        Refuse(ui, edit, "Please enter an integer.");
        return false;
    }
    value = parsed;
    return true;
}

bool ReadNumber(IUiServices& ui, QLineEdit* edit, double& value)
{
    static const QRegularExpression number(
        QStringLiteral("^[+-]?([0-9]+\\.?[0-9]*|\\.[0-9]+)([eE][+-]?[0-9]+)?$"));
    const QString text = edit->text().trimmed();
    if (!number.match(text).hasMatch()) {
        Refuse(ui, edit, "Please enter a number.");
        return false;
    }
    value = ParseDecimalPrefix(text.toStdString());
    return true;
}

QString IntegerText(int value)
{
    return QString::number(value);
}

QString NumberText(double value)
{
    // The shortest text that reads back to the same value: 100.0 shows as
    // "100", 0.1 as "0.1".
    return QString::fromStdString(FormatRoundTrip(value));
}

void MakeDigitsOnly(QLineEdit* edit)
{
    edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
}

QString ControlName(const char* kind, int id)
{
    return QString::fromLatin1(kind) + QString::number(id);
}

QButtonGroup* MakeRadioGroup(QWidget* parent, std::initializer_list<QRadioButton*> radios)
{
    auto* group = new QButtonGroup(parent);
    group->setExclusive(true);
    int id = 0;
    for (QRadioButton* radio : radios) {
        radio->setAutoExclusive(false);
        group->addButton(radio, id++);
    }
    return group;
}

int RadioIndex(const QButtonGroup* group)
{
    return group->checkedId();
}

void SetRadioIndex(QButtonGroup* group, int index)
{
    QAbstractButton* wanted = group->button(index);
    if (wanted) {
        wanted->setChecked(true);
        return;
    }
    // No such radio: none is checked.
    group->setExclusive(false);
    for (QAbstractButton* button : group->buttons())
        button->setChecked(false);
    group->setExclusive(true);
}
