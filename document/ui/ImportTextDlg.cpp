#include "document/ui/ImportTextDlg.h"

#include <algorithm>

#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

#include "platform/ui/DataExchange.h"
#include "platform/ui/DialogUnits.h"
#include "platform/TextEncoding.h"
#include "platform/UiServices.h"

CImportTextDlg::CImportTextDlg(IUiServices& ui, QWidget* parent) : CKestrinDialog(parent), m_ui(ui)
{
    setWindowTitle(QStringLiteral("Import Data from Text File"));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("button1"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("button2"));

    // The group box is only a frame drawn behind the filter controls, which
    // are children of the dialog like every other control.
    auto* group = new QGroupBox(QStringLiteral("Min / Max"), this);
    group->setObjectName(QStringLiteral("groupMinMax"));
    m_checkFilter = new QCheckBox(QStringLiteral("Filter Data"), this);
    m_checkFilter->setObjectName(QStringLiteral("check1066"));

    // Only digits can be typed: the limits are whole numbers from 0 up.
    auto* digitsOnly = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this);
    auto* labelOver = new QLabel(QStringLiteral("Discard values over"), this);
    labelOver->setObjectName(QStringLiteral("labelOver"));
    m_editOver = new QLineEdit(this);
    m_editOver->setObjectName(QStringLiteral("edit1064"));
    auto* labelUnder = new QLabel(QStringLiteral("Discard values under"), this);
    labelUnder->setObjectName(QStringLiteral("labelUnder"));
    m_editUnder = new QLineEdit(this);
    m_editUnder->setObjectName(QStringLiteral("edit1065"));
    for (QLineEdit* edit : {m_editOver, m_editUnder}) {
        edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        edit->setValidator(digitsOnly);
    }

    auto* select = new QPushButton(QStringLiteral("&Select File"), this);
    select->setObjectName(QStringLiteral("button1063"));
    select->setAutoDefault(false);
    // A path can only come from "Select File".
    m_editPath = new QLineEdit(this);
    m_editPath->setObjectName(QStringLiteral("edit1062"));
    m_editPath->setReadOnly(true);

    // Where the font's texts are wider than the dialog units allow, the
    // column of the limit edits moves right (and everything right of it
    // with it) so that the labels are never cut.
    const CDialogUnits du(font());
    const int labelRoom = du.X(85 - 13 - 2);
    const int widen = std::max({0, labelOver->sizeHint().width() - labelRoom,
                                labelUnder->sizeHint().width() - labelRoom});
    const auto at = [&](QWidget* w, int x, int y, int cx, int cy, bool rightColumn = false, bool spans = false) {
        QRect r = du.Rect(x, y, cx, cy);
        if (rightColumn)
            r.translate(widen, 0);
        if (spans)
            r.setWidth(r.width() + widen);
        w->setGeometry(r);
    };
    at(ok, 139, 7, 50, 14, true);
    at(cancel, 139, 24, 50, 14, true);
    at(group, 7, 3, 127, 63, false, true);
    at(m_checkFilter, 14, 17, 64, 10);
    at(labelOver, 13, 31, 85 - 13 - 2, 8, false, true);
    at(m_editOver, 85, 28, 40, 14, true);
    at(labelUnder, 13, 48, 85 - 13 - 2, 8, false, true);
    at(m_editUnder, 85, 46, 40, 14, true);
    at(select, 7, 71, 50, 14);
    at(m_editPath, 7, 89, 182, 14, false, true);
    setFixedSize(du.X(196) + widen, du.Y(110));

    connect(ok, &QPushButton::clicked, this, &CImportTextDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CImportTextDlg::reject);
    connect(m_checkFilter, &QCheckBox::clicked, this, &CImportTextDlg::OnFilterData);
    connect(select, &QPushButton::clicked, this, &CImportTextDlg::OnSelectFile);
}

void CImportTextDlg::OnInitDialog()
{
    UpdateData(false);
    OnFilterData();
}

bool CImportTextDlg::UpdateData(bool saveAndValidate)
{
    if (!saveAndValidate) {
        m_editOver->setText(QString::number(m_nOver));
        m_editUnder->setText(QString::number(m_nUnder));
        m_editPath->setText(QString::fromStdString(DisplayText(m_strPath)));
        m_checkFilter->setChecked(m_bFilter != 0);
        return true;
    }
    // Read in the members' order; a limit that fails stops the exchange, as
    // far as it got.
    if (!ReadInteger(m_ui, m_editOver, m_nOver))
        return false;
    if (!ReadInteger(m_ui, m_editUnder, m_nUnder))
        return false;
    // The edit shows the path in display form; the member keeps the chosen
    // path's bytes as long as the edit still shows that path.
    const QString path = m_editPath->text();
    if (path != QString::fromStdString(DisplayText(m_strPath)))
        m_strPath = path.toStdString();
    m_bFilter = m_checkFilter->isChecked() ? 1 : 0;
    return true;
}

void CImportTextDlg::OnFilterData()
{
    // If a limit is not a whole number, the message has been shown and the
    // exchange stopped before the check box: the members keep their last
    // good values, and writing them back undoes the click and the bad entry
    // together, so the state on screen is always one that reads back.
    UpdateData(true);
    m_editOver->setEnabled(m_bFilter != 0);
    m_editUnder->setEnabled(m_bFilter != 0);
    UpdateData(false);
}

void CImportTextDlg::OnSelectFile()
{
    FileDialogOptions options;
    options.defaultExtension = ".txt";
    options.fileName = "*.txt";
    options.overwritePrompt = true;
    options.kind = FileKind::textImport;
    const std::optional<std::string> chosen = m_ui.ChooseOpenFile(options);
    if (!chosen)
        return;
    // Only the path changes: the limits and the check box keep what the
    // user has typed, even if it is not yet a valid number.
    m_strPath = *chosen;
    m_editPath->setText(QString::fromStdString(DisplayText(m_strPath)));
}
