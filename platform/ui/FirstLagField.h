#pragma once

#include <QSpinBox>

#include "core/OptimumM.h"
#include "platform/ui/DialogUnits.h"
#include "platform/ui/ParameterTips.h"

// The "First lag" field of a parameter dialog: one box that names itself
// ("First lag 1"), object "spinFirstLag", at (x, y) in dialog units, 12
// high, taking whole numbers from 1 (1 by default). Whether the lag leaves
// two lags to fit under M is the dialog's check, with its message.
inline QSpinBox* AddFirstLagField(QWidget* dialog, const CDialogUnits& du, int x, int y, int width)
{
    auto* spin = new QSpinBox(dialog);
    spin->setObjectName(QStringLiteral("spinFirstLag"));
    spin->setPrefix(QStringLiteral("First lag "));
    spin->setRange(kMinFirstLag, kMaxLagCount - 1);
    spin->setValue(1);
    spin->setButtonSymbols(QAbstractSpinBox::NoButtons);
    spin->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    spin->setGeometry(du.Rect(x, y, width, 12));
    spin->setToolTip(tips::FirstLag());
    return spin;
}
