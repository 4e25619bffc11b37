#include "dialogs/ExportPictureDlg.h"

#include <algorithm>

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QSpinBox>

namespace {

QSpinBox* SpinBox(QWidget* parent, const char* name, int min, int max, int value, const char* suffix)
{
    auto* box = new QSpinBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(min, max);
    box->setValue(std::clamp(value, min, max));
    box->setSuffix(QString::fromLatin1(suffix));
    return box;
}

} // namespace

CExportPictureDlg::CExportPictureDlg(int width, int height, int dpi, bool withDpi, QWidget* parent)
    : CKestrinDialog(parent)
{
    setWindowTitle(QStringLiteral("Export Picture"));
    m_width = SpinBox(this, "width", 1, kMaxSide, width, " px");
    m_height = SpinBox(this, "height", 1, kMaxSide, height, " px");
    m_dpi = SpinBox(this, "dpi", kMinDpi, kMaxDpi, dpi, " dpi");
    m_dpi->setEnabled(withDpi);
    m_ruler = new QCheckBox(QStringLiteral("Include the ru&ler and its tabs"), this);
    m_ruler->setObjectName(QStringLiteral("ruler"));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CExportPictureDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CExportPictureDlg::reject);

    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("&Width:"), m_width);
    form->addRow(QStringLiteral("&Height:"), m_height);
    form->addRow(QStringLiteral("&Resolution:"), m_dpi);
    form->addRow(m_ruler);
    form->addRow(buttons);
}

bool CExportPictureDlg::OnOK()
{
    m_nWidth = m_width->value();
    m_nHeight = m_height->value();
    m_nDpi = m_dpi->value();
    m_bRuler = m_ruler->isChecked();
    return true;
}
