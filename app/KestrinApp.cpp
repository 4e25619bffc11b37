#include "app/KestrinApp.h"

#include <algorithm>

#include <QApplication>
#include <QFileInfo>
#include <QLayout>
#include <QMdiArea>
#include <QSettings>

#include "app/AboutDlg.h"
#include "app/ChildFrame.h"
#include "app/CommandLine.h"
#include "app/HelpWindow.h"
#include "document/KestrinDoc.h"
#include "views/KestrinView.h"
#include "app/MainFrame.h"
#include "app/MdiArrange.h"

namespace {

// The settings entry of View > Axis Scales.
constexpr const char* kAxisScalesKey = "View/AxisScales";

bool SamePath(const std::string& a, const QString& b)
{
    if (a.empty())
        return false;
    const QFileInfo fa(QString::fromStdString(a));
    const QFileInfo fb(b);
    const QString ca = fa.canonicalFilePath();
    const QString cb = fb.canonicalFilePath();
    if (!ca.isEmpty() && !cb.isEmpty())
        return ca == cb;
    return fa.absoluteFilePath() == fb.absoluteFilePath();
}

} // namespace

CKestrinApp::CKestrinApp(std::unique_ptr<CQtUiServices> ui)
    : m_ui(ui ? std::move(ui) : std::make_unique<CQtUiServices>()), m_recentFiles(4)
{
}

CKestrinApp::~CKestrinApp()
{
    // Windows first (each takes its view off its document), then documents.
    m_closing.clear();
    for (const auto& doc : m_docs)
        m_closing.insert(doc.get());
    m_mainFrame.reset();
    m_docs.clear();
}

bool CKestrinApp::InitInstance(const QStringList& arguments)
{
    QCoreApplication::setOrganizationName(QStringLiteral("Orvanel"));
    QCoreApplication::setApplicationName(QStringLiteral("Kestrin"));
    m_recentFiles.Load();
    m_bAxisScales = QSettings().value(QLatin1String(kAxisScalesKey), false).toBool();

    m_mainFrame = std::make_unique<CMainFrame>(*this);
    if (!m_mainFrame->Create()) {
        m_mainFrame.reset();
        return false;
    }
    m_ui->SetMainWindow(m_mainFrame.get());
    m_mainFrame->setAcceptDrops(true);

    // The command line: a document to open, a text file to import, or
    // nothing for a new document.
    const CCommandLine line = ParseCommandLine(arguments);
    if (!line.error.isEmpty()) {
        m_ui->ShowError("Kestrin cannot start: " + line.error.toStdString() + ".");
        return false;
    }
    const QString& documentPath = line.document;
    const QString& importPath = line.importText;

    // The document comes before the window shows: the window lays out its
    // area now, so that the document's window is placed as it will be seen,
    // and a document that cannot be opened ends start-up after its message
    // without the window ever appearing.
    m_mainFrame->layout()->activate();
    if (!documentPath.isEmpty()) {
        if (!OpenDocumentFile(documentPath))
            return false;
    }
    if (!importPath.isEmpty())
        ImportTextIntoNewDocument(importPath);
    if (documentPath.isEmpty() && importPath.isEmpty())
        OnFileNew();
    m_mainFrame->show();
    m_mainFrame->UpdateCommandUi();
    return true;
}

CChildFrame* CKestrinApp::ActiveFrame() const
{
    return m_mainFrame ? qobject_cast<CChildFrame*>(m_mainFrame->ActiveSubWindow()) : nullptr;
}

CKestrinView* CKestrinApp::ActiveView() const
{
    CChildFrame* frame = ActiveFrame();
    return frame ? frame->View() : nullptr;
}

CKestrinDoc* CKestrinApp::ActiveDocument() const
{
    CChildFrame* frame = ActiveFrame();
    return frame ? &frame->Document() : nullptr;
}

std::vector<CChildFrame*> CKestrinApp::FramesOf(const CKestrinDoc* doc) const
{
    std::vector<CChildFrame*> frames;
    if (!m_mainFrame)
        return frames;
    for (QMdiSubWindow* w : m_mainFrame->MdiArea()->subWindowList(QMdiArea::CreationOrder)) {
        auto* frame = qobject_cast<CChildFrame*>(w);
        if (frame && frame->View() && &frame->Document() == doc)
            frames.push_back(frame);
    }
    return frames;
}

CKestrinDoc* CKestrinApp::CreateDocument()
{
    auto doc = std::make_unique<CKestrinDoc>(*m_ui);
    doc->m_saveDialog.title = "Save As";
    doc->m_saveDialog.defaultExtension = kExtension;
    doc->m_saveDialog.filter = kFilter;
    doc->m_saveDialog.overwritePrompt = true;
    doc->m_saveDialog.kind = FileKind::documents;
    m_docs.push_back(std::move(doc));
    return m_docs.back().get();
}

void CKestrinApp::DestroyDocument(CKestrinDoc* doc)
{
    m_closing.erase(doc);
    auto it = std::find_if(m_docs.begin(), m_docs.end(), [doc](const auto& d) { return d.get() == doc; });
    if (it != m_docs.end()) {
        (*it)->OnCloseDocument();
        m_docs.erase(it);
    }
}

CChildFrame* CKestrinApp::CreateFrame(CKestrinDoc& doc)
{
    auto* frame = new CChildFrame(*this, doc);
    QMdiArea* area = m_mainFrame->MdiArea();
    area->addSubWindow(frame);
    const QSize room = ArrangeRoom(*area);
    frame->resize(std::max(400, room.width() * 3 / 4), std::max(300, room.height() * 3 / 4));
    // Windows cascade from the top-left corner, each a step further down and
    // right than the one before, starting over before one would leave the
    // area (the area's own placement puts a second window beside the first,
    // partly out of sight).
    const int step = CascadeStep(*area);
    const int fits =
        1 + std::max(0, std::min(room.width() - frame->width(), room.height() - frame->height()) / step);
    const int index = static_cast<int>(area->subWindowList().size()) - 1;
    const int offset = (std::max(index, 0) % fits) * step;
    frame->move(offset, offset);
    frame->show();
    // The view's extraction commands open their documents as File > New does.
    frame->View()->SetNewDocumentFactory([this] { return OnFileNew(); });
    frame->View()->SetAxisScales(m_bAxisScales);
    frame->View()->OnInitialUpdate();
    QObject::connect(frame->View(), &CKestrinView::commandStateChanged, m_mainFrame.get(),
                     &CMainFrame::UpdateCommandUi);
    QObject::connect(frame->View(), &CKestrinView::readoutChanged, m_mainFrame.get(), &CMainFrame::ShowReadout);
    // An import renames the document (it no longer stands for its file).
    QObject::connect(frame->View(), &CKestrinView::commandStateChanged, m_mainFrame.get(),
                     [this, d = &doc] { UpdateFrameTitles(d); });
    area->setActiveSubWindow(frame);
    UpdateFrameTitles(&doc);
    m_mainFrame->UpdateMenuSet();
    m_mainFrame->UpdateCommandUi();
    return frame;
}

void CKestrinApp::UpdateFrameTitles(const CKestrinDoc* doc)
{
    const std::vector<CChildFrame*> frames = FramesOf(doc);
    const QString title = QString::fromStdString(doc->GetTitle());
    for (std::size_t i = 0; i < frames.size(); ++i) {
        if (frames.size() == 1)
            frames[i]->setWindowTitle(title);
        else
            frames[i]->setWindowTitle(QStringLiteral("%1:%2").arg(title).arg(i + 1));
    }
    if (m_mainFrame)
        m_mainFrame->UpdateTitle();
}

CKestrinDoc* CKestrinApp::OnFileNew()
{
    CKestrinDoc* doc = CreateDocument();
    if (!doc->OnNewDocument()) {
        DestroyDocument(doc);
        return nullptr;
    }
    doc->SetTitle(kDocName + std::to_string(++m_nUntitledCount));
    CreateFrame(*doc);
    return doc;
}

void CKestrinApp::OnFileOpen()
{
    FileDialogOptions options;
    options.title = "Open";
    options.defaultExtension = kExtension;
    options.filter = kFilter;
    options.kind = FileKind::documents;
    const auto path = m_ui->ChooseOpenFile(options);
    if (path && !path->empty())
        OpenDocumentFile(QString::fromStdString(*path));
}

CKestrinDoc* CKestrinApp::OpenDocumentFile(const QString& path)
{
    for (const auto& doc : m_docs) {
        if (SamePath(doc->GetPathName(), path)) {
            const auto frames = FramesOf(doc.get());
            if (!frames.empty())
                m_mainFrame->MdiArea()->setActiveSubWindow(frames.front());
            return doc.get();
        }
    }
    CKestrinDoc* doc = CreateDocument();
    const std::string absolute = QFileInfo(path).absoluteFilePath().toStdString();
    if (!doc->OnOpenDocument(absolute)) {
        DestroyDocument(doc);
        return nullptr;
    }
    AddToRecentFileList(absolute);
    CreateFrame(*doc);
    return doc;
}

CKestrinDoc* CKestrinApp::OnOpenRecentFile(int index)
{
    if (index < 0 || index >= m_recentFiles.Files().size())
        return nullptr;
    const QString path = m_recentFiles.Files()[index];
    CKestrinDoc* doc = OpenDocumentFile(path);
    if (!doc) {
        // The file is gone or unreadable: it leaves the list.
        m_recentFiles.Remove(index);
        m_recentFiles.Save();
        m_mainFrame->UpdateRecentFileMenu();
    }
    return doc;
}

bool CKestrinApp::OnFileSave()
{
    return SaveActiveDocument(false);
}

bool CKestrinApp::OnFileSaveAs()
{
    return SaveActiveDocument(true);
}

bool CKestrinApp::SaveActiveDocument(bool askForName)
{
    CKestrinDoc* doc = ActiveDocument();
    if (!doc)
        return false;
    const bool saved = askForName ? doc->DoSave(std::string(), true) : doc->DoFileSave();
    if (!saved)
        return false;
    AddToRecentFileList(doc->GetPathName());
    UpdateFrameTitles(doc);
    return true;
}

bool CKestrinApp::OnFileClose()
{
    CKestrinDoc* doc = ActiveDocument();
    if (!doc || !doc->SaveModified())
        return false;
    return CloseDocumentWindows(doc);
}

bool CKestrinApp::CloseDocumentWindows(CKestrinDoc* doc)
{
    m_closing.insert(doc);
    // The last frame to go destroys the document.
    for (CChildFrame* frame : FramesOf(doc))
        frame->close();
    return true;
}

void CKestrinApp::OnWindowNew()
{
    if (CKestrinDoc* doc = ActiveDocument())
        CreateFrame(*doc);
}

void CKestrinApp::SetAxisScales(bool on)
{
    m_bAxisScales = on;
    QSettings().setValue(QLatin1String(kAxisScalesKey), on);
    if (!m_mainFrame)
        return;
    for (QMdiSubWindow* w : m_mainFrame->MdiArea()->subWindowList()) {
        if (auto* frame = qobject_cast<CChildFrame*>(w); frame && frame->View())
            frame->View()->SetAxisScales(on);
    }
}

void CKestrinApp::OnAppAbout()
{
    CAboutDlg about(m_mainFrame.get());
    about.exec();
}

void CKestrinApp::OnHelpManual()
{
    if (!m_helpWindow)
        m_helpWindow = std::make_unique<CHelpWindow>();
    m_helpWindow->show();
    m_helpWindow->raise();
    m_helpWindow->activateWindow();
}

CKestrinDoc* CKestrinApp::ImportTextIntoNewDocument(const QString& path)
{
    CKestrinDoc* doc = OnFileNew();
    if (!doc)
        return nullptr;
    doc->ImportTextFile(QFileInfo(path).absoluteFilePath().toStdString(), 0, 0, false);
    return doc;
}

bool CKestrinApp::SaveAllModified()
{
    for (const auto& doc : m_docs) {
        if (!doc->SaveModified())
            return false;
        UpdateFrameTitles(doc.get());
    }
    return true;
}

void CKestrinApp::CloseAllDocuments()
{
    std::vector<CKestrinDoc*> docs;
    for (const auto& doc : m_docs)
        docs.push_back(doc.get());
    for (CKestrinDoc* doc : docs)
        CloseDocumentWindows(doc);
}

bool CKestrinApp::CanCloseFrame(CChildFrame* frame)
{
    CKestrinDoc* doc = &frame->Document();
    if (m_closing.count(doc) || FramesOf(doc).size() > 1)
        return true;
    if (!doc->SaveModified())
        return false;
    m_closing.insert(doc);
    return true;
}

void CKestrinApp::OnFrameDestroyed(CKestrinDoc* doc)
{
    const bool known =
        std::any_of(m_docs.begin(), m_docs.end(), [doc](const auto& d) { return d.get() == doc; });
    if (!known)
        return;
    if (doc->GetViews().empty()) {
        DestroyDocument(doc);
    } else {
        UpdateFrameTitles(doc);
    }
    if (m_mainFrame) {
        m_mainFrame->UpdateMenuSet();
        m_mainFrame->UpdateCommandUi();
        m_mainFrame->UpdateTitle();
    }
}

void CKestrinApp::AddToRecentFileList(const std::string& path)
{
    if (path.empty())
        return;
    m_recentFiles.Add(QString::fromStdString(path));
    m_recentFiles.Save();
    if (m_mainFrame)
        m_mainFrame->UpdateRecentFileMenu();
}
