#pragma once

#include <QString>
#include <QWidget>

// Tool tips of the estimator's parameters, the same in every dialog that
// asks for them. The manual (Help > Kestrin Help) says more.
namespace tips {

inline QString D()
{
    return QStringLiteral("D: the number of consecutive values in one delay vector. L(r) sums the distances "
                          "between vectors of D values taken r values apart.");
}

inline QString M()
{
    return QStringLiteral("M: the number of lags r = 1..M whose log10(L(r)/r) the line is fitted through. "
                          "H = slope + 2.");
}

inline QString FirstLag()
{
    return QStringLiteral("First lag: the line is fitted through lags r = first lag..M (1 fits every lag). The "
                          "smallest lags are distorted by discreteness and noise; at least two lags are fitted.");
}

inline QString OptimumM()
{
    return QStringLiteral("Sets M to the best value: the whole square root of the number of values. "
                          "Apply uses it.");
}

inline QString UseBest()
{
    return QStringLiteral("Use the best M: the whole square root of the number of values of each estimate.");
}

// Meta H estimates the H curve's own series: its best M is every result.
inline QString MetaHUseBest()
{
    return QStringLiteral("Use Best M: M is the number of sliding-window results, so that every lag the H "
                          "curve allows is fitted.");
}

} // namespace tips

// The tips of a dialog's M group (its frame, value choice and edit, and the
// choice of the best M) and D group (frame, value choice, edit).
inline void SetParameterTips(QWidget* groupM, QWidget* valueM, QWidget* editM, QWidget* bestM, QWidget* groupD,
                             QWidget* valueD, QWidget* editD)
{
    for (QWidget* w : {groupM, valueM, editM})
        w->setToolTip(tips::M());
    bestM->setToolTip(tips::UseBest());
    for (QWidget* w : {groupD, valueD, editD})
        w->setToolTip(tips::D());
}
