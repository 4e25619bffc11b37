#pragma once

#include <QDialog>

// "About Kestrin": the program's name, version and copyright.
class CAboutDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};
