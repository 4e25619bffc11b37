#include "analysis/ui/CorrelationDlg.h"

#include <optional>
#include <string>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "platform/ui/DataExchange.h"
#include "platform/ui/DialogUnits.h"
#include "analysis/ui/GeneralText.h"
#include "analysis/MatchPairs.h"
#include "core/Regression.h"
#include "analysis/ResultExport.h"
#include "platform/ui/SpinButton.h"
#include "platform/StatusOperation.h"
#include "platform/UiServices.h"

namespace {

constexpr int kMaxOffset = 5000;

QLineEdit* ReadOnlyEdit(QWidget* parent, int id)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(ControlName("edit", id));
    edit->setReadOnly(true);
    edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return edit;
}

} // namespace

CCorrelationDlg::CCorrelationDlg(IUiServices& ui, QWidget* parent) : CKestrinDialog(parent), m_ui(ui)
{
    setWindowTitle(QStringLiteral("Slope / H Correlation"));

    auto* labelOffset = new QLabel(QStringLiteral("Offset"), this);
    labelOffset->setObjectName(QStringLiteral("labelOffset"));
    m_editOffset = ReadOnlyEdit(this, 1078);
    m_spin = new CSpinButton(this);
    m_spin->setObjectName(ControlName("spin", 1079));
    m_spin->SetBuddy(m_editOffset);
    auto* labelCorrelation = new QLabel(QStringLiteral("Correlation:"), this);
    labelCorrelation->setObjectName(QStringLiteral("labelCorrelation"));
    m_editCorrelation = ReadOnlyEdit(this, 1080);
    auto* labelMatches = new QLabel(QStringLiteral("Matches:"), this);
    labelMatches->setObjectName(QStringLiteral("labelMatches"));
    m_editMatches = ReadOnlyEdit(this, 1081);

    // Enter applies the offset; only "Done" closes.
    auto* apply = new QPushButton(QStringLiteral("&Apply"), this);
    apply->setObjectName(ControlName("button", 1082));
    apply->setDefault(true);
    auto* save = new QPushButton(QStringLiteral("&Save Data"), this);
    save->setObjectName(ControlName("button", 1083));
    save->setAutoDefault(false);
    auto* done = new QPushButton(QStringLiteral("&Done"), this);
    done->setObjectName(ControlName("button", 2));
    done->setAutoDefault(false);

    const CDialogUnits du(font());
    const auto at = [&](QWidget* w, int x, int y, int cx, int cy) { w->setGeometry(du.Rect(x, y, cx, cy)); };
    at(labelOffset, 7, 9, 44, 8);
    at(m_editOffset, 54, 7, 40, 12);
    at(m_spin, 94, 7, 10, 12);
    at(labelCorrelation, 7, 27, 44, 8);
    at(m_editCorrelation, 54, 25, 100, 12);
    at(labelMatches, 7, 45, 44, 8);
    at(m_editMatches, 54, 43, 40, 12);
    at(apply, 164, 7, 50, 14);
    at(save, 164, 24, 50, 14);
    at(done, 164, 41, 50, 14);
    setFixedSize(du.X(221), du.Y(62));

    connect(apply, &QPushButton::clicked, this, &CCorrelationDlg::OnApply);
    connect(save, &QPushButton::clicked, this, &CCorrelationDlg::OnSaveData);
    connect(done, &QPushButton::clicked, this, &CCorrelationDlg::reject);
}

void CCorrelationDlg::OnInitDialog()
{
    // Every opening starts at offset 0, the spin and its edit agreeing.
    m_spin->SetRange(0, kMaxOffset);
    m_spin->SetPos(0);
    m_nOffset = 0;
    UpdateData(false);
}

bool CCorrelationDlg::UpdateData(bool saveAndValidate)
{
    if (!saveAndValidate) {
        m_editCorrelation->setText(GeneralText(m_dCorrelation));
        m_editMatches->setText(IntegerText(m_nMatches));
        m_editOffset->setText(IntegerText(m_nOffset));
        return true;
    }
    // The correlation and the matches are results shown, never entries: only
    // the offset the spin has put into its edit is read back.
    return ReadInteger(m_ui, m_editOffset, m_nOffset);
}

void CCorrelationDlg::MatchPairs()
{
    if (!m_pHResults || !m_pSlopes)
        return;
    CStatusOperation status(m_ui, "Preparing Correlation...");
    m_pairs = ::MatchPairs(*m_pHResults, *m_pSlopes, m_dOrigin, m_nOffset);
}

void CCorrelationDlg::OnApply()
{
    if (!UpdateData(true))
        return;
    MatchPairs();
    m_dCorrelation = PearsonCorrelation(m_pairs);
    m_nMatches = m_pairs.GetSize();
    UpdateData(false);
}

void CCorrelationDlg::OnSaveData()
{
    FileDialogOptions options;
    options.defaultExtension = ".txt";
    options.fileName = "*.txt";
    options.filter = "Text Files (*.txt)";
    options.overwritePrompt = true;
    options.kind = FileKind::exports;
    const std::optional<std::string> path = m_ui.ChooseSaveFile(options);
    if (!path)
        return;
    // A failed write is reported by the export itself, and leaves any
    // existing file as it was.
    SaveCorrelationPairs(m_ui, m_pairs, *path);
}
