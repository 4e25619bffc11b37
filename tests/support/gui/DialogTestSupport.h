#pragma once

#include <functional>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

// Helpers for driving the parameter dialogs by their controls' names.

template <class T>
T* Control(QWidget& dlg, const char* name)
{
    T* w = dlg.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

inline void Type(QLineEdit* edit, const QString& text)
{
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

inline void Click(QAbstractButton* button)
{
    QTest::mouseClick(button, Qt::LeftButton);
}

// Every caption fits its control. A push button's style asks for a minimum
// width whatever its text, so for one only the text itself must fit.
inline void ExpectTextsFit(QWidget& dlg)
{
    for (QLabel* label : dlg.findChildren<QLabel*>())
        EXPECT_LE(label->sizeHint().width(), label->width()) << label->text().toStdString();
    for (QAbstractButton* b : dlg.findChildren<QAbstractButton*>()) {
        if (qobject_cast<QPushButton*>(b)) {
            QString text = b->text();
            text.remove(QLatin1Char('&'));
            EXPECT_LE(b->fontMetrics().horizontalAdvance(text) + 8, b->width()) << text.toStdString();
        } else if (qobject_cast<QCheckBox*>(b) || qobject_cast<QRadioButton*>(b)) {
            EXPECT_LE(b->sizeHint().width(), b->width()) << b->text().toStdString();
        }
    }
}

// Runs trigger, which opens a modal dialog of type T, and acts on the dialog
// with act as soon as it is open. A dialog that act leaves open is
// cancelled, so that a failing test cannot hang. Returns whether a dialog of
// type T was shown.
template <class T>
bool RunModal(const std::function<void()>& trigger, const std::function<void(T&)>& act)
{
    bool seen = false;
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dlg = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!dlg)
            return;
        poll.stop();
        seen = true;
        act(*dlg);
        if (dlg->isVisible()) {
            ADD_FAILURE() << "the dialog is still open";
            dlg->reject();
        }
    });
    poll.start();
    trigger();
    return seen;
}
