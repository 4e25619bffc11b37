// The interval band of the sliding windows, computed with them when the
// "Set Sliding Windows" dialog asks for it.
#include <QCoreApplication>
#include <QProgressDialog>

#include "analysis/IntervalBand.h"
#include "dialogs/BackgroundRun.h"
#include "document/KestrinDoc.h"
#include "views/KestrinView.h"

void CKestrinView::ComputeIntervalBand(const SlidingWindowParams& params)
{
    // The replicates and seed of the series' own bootstrap, as its dialog
    // remembers them.
    const CRememberedBootstrap remembered = RememberedBootstrapSettings();
    const CIntervalBandOptions options = DocumentBandOptions(m_doc, remembered.replicates, remembered.seed);
    if (m_doc.m_windows.IsEmpty())
        return;

    QProgressDialog progress(QStringLiteral("Calculating the interval band..."), QStringLiteral("Cancel"), 0, 1000,
                             this);
    progress.setWindowTitle(QStringLiteral("Interval Band"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    std::string why;
    const bool done = ComputeDocumentBand(m_doc, params, options, [&](double fraction) {
        const int permille = static_cast<int>(fraction * 1000.0);
        if (permille != progress.value())
            progress.setValue(permille);
        return !progress.wasCanceled();
    }, &why);
    progress.reset();
    if (!done && !why.empty())
        m_doc.Ui().MessageBox(why, MsgButtons::ok, MsgIcon::warning);
}
