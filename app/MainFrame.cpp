#include "app/MainFrame.h"

#include <algorithm>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QColor>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPalette>
#include <QStatusBar>
#include <QToolBar>

#include "views/CommandTable.h"
#include "app/KestrinApp.h"
#include "views/KestrinView.h"
#include "app/MdiArrange.h"
#include "platform/StatusOperation.h"
#include "app/ToolbarIcons.h"

CMainFrame::CMainFrame(CKestrinApp& app) : m_app(app)
{
    setWindowTitle(QStringLiteral("Kestrin"));
    setWindowIcon(ApplicationIcon());
    resize(1024, 720);
}

CMainFrame::~CMainFrame()
{
    qApp->removeEventFilter(this);
    // The document windows go while this frame is still whole: their views
    // and the area signal on the way out.
    if (m_mdiArea) {
        disconnect(m_mdiArea, nullptr, this, nullptr);
        delete m_mdiArea;
        m_mdiArea = nullptr;
    }
}

bool CMainFrame::Create()
{
    m_mdiArea = new QMdiArea(this);
    m_mdiArea->setObjectName(QStringLiteral("mdiArea"));
    // Windows moved partly out of the area can be scrolled into sight.
    m_mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_mdiArea);
    connect(m_mdiArea, &QMdiArea::subWindowActivated, this, [this] {
        UpdateMenuSet();
        UpdateCommandUi();
        UpdateTitle();
    });

    BuildToolBar();
    BuildStatusBar();
    BuildMenuSet(NoDocumentMenus(), m_noDocMenus);
    BuildMenuSet(DocumentMenus(), m_docMenus);
    for (QMenu* m : m_docMenus)
        if (m->title() == QLatin1String("&Window"))
            m_windowMenu = m;
    if (m_windowMenu)
        connect(m_windowMenu, &QMenu::aboutToShow, this, &CMainFrame::UpdateWindowList);
    // Ctrl+C copies the active document window's picture; no menu shows it.
    const CCommandInfo* copy = FindCommandInfo(cmd::EditCopy);
    addAction(MakeAction(copy->text, copy->id, copy->shortcut));
    m_bDocumentMenus = true; // forces the first switch
    UpdateMenuSet();
    UpdateRecentFileMenu();
    UpdateCommandUi();
    qApp->installEventFilter(this);
    ShowLockKeys();
    return m_toolBar && statusBar();
}

namespace {

// A command's prompt shows in the status bar while it is highlighted; the
// part after the newline is its tool tip.
void ApplyPrompt(QAction* action, int id)
{
    const CCommandInfo* info = FindCommandInfo(id);
    if (!info || !info->prompt)
        return;
    const char* prompt = info->prompt;
    const QString all = QString::fromUtf8(prompt);
    const qsizetype nl = all.indexOf(QLatin1Char('\n'));
    action->setStatusTip(nl < 0 ? all : all.left(nl));
    if (nl >= 0)
        action->setToolTip(all.mid(nl + 1));
}

} // namespace

QAction* CMainFrame::MakeAction(const char* text, int id, const char* shortcut)
{
    // Items with the same text and command in both menu sets share one
    // action, so a shortcut never has two owners.
    const QString key = QString::number(id) + QLatin1Char('|') + QString::fromUtf8(text);
    if (auto it = m_sharedActions.find(key); it != m_sharedActions.end())
        return it->second;
    auto* action = new QAction(QString::fromUtf8(text), this);
    action->setData(id);
    if (shortcut)
        action->setShortcut(QKeySequence(QString::fromLatin1(shortcut)));
    ApplyPrompt(action, id);
    connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
    RegisterAction(id, action);
    m_sharedActions[key] = action;
    return action;
}

void CMainFrame::RegisterAction(int id, QAction* action)
{
    m_actions.emplace(id, action);
}

QMenu* CMainFrame::BuildMenu(const char* title, const std::vector<CMenuItem>& items)
{
    auto* menu = new QMenu(QString::fromUtf8(title), this);
    connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandUi);
    for (std::size_t i = 0; i < items.size(); ++i) {
        const CMenuItem& item = items[i];
        if (item.IsSeparator()) {
            menu->addSeparator();
        } else if (item.IsSubmenu()) {
            menu->addMenu(BuildMenu(item.text, item.items));
        } else if (item.id == cmd::FileMru1) {
            // The recent-file entries go before the separator that follows.
            CRecentAnchor anchor;
            anchor.menu = menu;
            anchor.before = menu->addSeparator();
            m_recentAnchors.push_back(anchor);
            ++i; // that separator is the one just added
        } else {
            menu->addAction(MakeAction(item.text, item.id, item.shortcut));
        }
    }
    return menu;
}

void CMainFrame::BuildMenuSet(const std::vector<CMenuDef>& defs, std::vector<QMenu*>& menus)
{
    for (const CMenuDef& def : defs)
        menus.push_back(BuildMenu(def.title, def.items));
}

void CMainFrame::BuildToolBar()
{
    m_toolBar = new QToolBar(QStringLiteral("Standard"), this);
    m_toolBar->setObjectName(QStringLiteral("toolBar"));
    m_toolBar->setIconSize(QSize(16, 15));
    m_toolBar->setMovable(true);
    m_toolBar->setAllowedAreas(Qt::AllToolBarAreas);
    addToolBar(Qt::TopToolBarArea, m_toolBar);
    for (int id : ToolbarCommands()) {
        if (id == 0) {
            m_toolBar->addSeparator();
            continue;
        }
        auto* action = new QAction(ToolbarIcon(FindCommandInfo(id)->icon), QString(), this);
        action->setData(id);
        ApplyPrompt(action, id);
        action->setText(action->toolTip());
        connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
        m_toolBar->addAction(action);
        RegisterAction(id, action);
        m_toolbarActions[id] = action;
    }
}

void CMainFrame::BuildStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("statusBar"));
    for (const char* text : {"CAP", "NUM", "SCRL"}) {
        auto* label = new QLabel(bar);
        label->setObjectName(QString::fromLatin1(text));
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setAlignment(Qt::AlignCenter);
        label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("SCRL")) + 12);
        label->setProperty("indicatorText", QString::fromLatin1(text));
        bar->addPermanentWidget(label);
        m_indicators.append(label);
    }
    // The readout stands left of the indicators, which keep their places;
    // hidden while empty, so that the bar looks as ever without it.
    m_readout = new QLabel(bar);
    m_readout->setObjectName(QStringLiteral("readout"));
    m_readout->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_readout->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    bar->insertPermanentWidget(0, m_readout);
    m_readout->hide();
    // Left of the readout: the active window's warnings on its estimate,
    // which stay while the messages come and go; hidden while there are
    // none, so that the bar looks as ever without them.
    m_estimateWarning = new QLabel(bar);
    m_estimateWarning->setObjectName(QStringLiteral("estimateWarning"));
    m_estimateWarning->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_estimateWarning->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QPalette warningColours = m_estimateWarning->palette();
    warningColours.setColor(QPalette::WindowText, QColor(0x9C, 0x27, 0x00));
    m_estimateWarning->setPalette(warningColours);
    bar->insertPermanentWidget(0, m_estimateWarning);
    m_estimateWarning->hide();
    connect(bar, &QStatusBar::messageChanged, this, &CMainFrame::OnStatusMessageChanged);
    bar->showMessage(QString::fromLatin1(CStatusOperation::kReady));
}

void CMainFrame::ShowReadout(const QString& text)
{
    if (!m_readout)
        return;
    m_readout->setText(text);
    m_readout->setVisible(!text.isEmpty());
}

void CMainFrame::UpdateEstimateWarning()
{
    if (!m_estimateWarning)
        return;
    const CKestrinView* view = m_app.ActiveView();
    const QString text = view ? view->EstimateWarning() : QString();
    // At most half the bar: the whole text is the tool tip.
    const int room = std::max(160, width() / 2);
    m_estimateWarning->setText(m_estimateWarning->fontMetrics().elidedText(text, Qt::ElideRight, room));
    m_estimateWarning->setToolTip(text);
    m_estimateWarning->setVisible(!text.isEmpty());
}

void CMainFrame::OnStatusMessageChanged(const QString& text)
{
    // When a command's prompt goes away the pane returns to its idle text.
    if (text.isEmpty())
        statusBar()->showMessage(QString::fromLatin1(CStatusOperation::kReady));
}

QList<QMenu*> CMainFrame::CurrentMenus() const
{
    QList<QMenu*> menus;
    for (QMenu* m : (m_bDocumentMenus ? m_docMenus : m_noDocMenus))
        menus.append(m);
    return menus;
}

QList<QAction*> CMainFrame::ActionsFor(int id) const
{
    QList<QAction*> actions;
    auto [first, last] = m_actions.equal_range(id);
    for (auto it = first; it != last; ++it)
        actions.append(it->second);
    return actions;
}

QAction* CMainFrame::ToolbarAction(int id) const
{
    auto it = m_toolbarActions.find(id);
    return it == m_toolbarActions.end() ? nullptr : it->second;
}

void CMainFrame::UpdateMenuSet()
{
    const bool wantDocument = !m_mdiArea->subWindowList().isEmpty();
    if (wantDocument == m_bDocumentMenus)
        return;
    m_bDocumentMenus = wantDocument;
    menuBar()->clear();
    for (QMenu* m : (wantDocument ? m_docMenus : m_noDocMenus))
        menuBar()->addMenu(m);
}

void CMainFrame::UpdateRecentFileMenu()
{
    const CRecentFileList& recent = m_app.RecentFiles();
    for (CRecentAnchor& anchor : m_recentAnchors) {
        for (QAction* a : anchor.items) {
            auto [first, last] = m_actions.equal_range(a->data().toInt());
            for (auto it = first; it != last;) {
                if (it->second == a)
                    it = m_actions.erase(it);
                else
                    ++it;
            }
            anchor.menu->removeAction(a);
            a->deleteLater();
        }
        anchor.items.clear();
        if (recent.Files().isEmpty()) {
            auto* placeholder = new QAction(QStringLiteral("Recent File"), this);
            placeholder->setData(cmd::FileMru1);
            placeholder->setEnabled(false);
            anchor.menu->insertAction(anchor.before, placeholder);
            anchor.items.push_back(placeholder);
            RegisterAction(cmd::FileMru1, placeholder);
            continue;
        }
        for (int i = 0; i < recent.Files().size(); ++i) {
            const int id = cmd::FileMru1 + i;
            auto* action = new QAction(recent.MenuText(i), this);
            action->setData(id);
            ApplyPrompt(action, id);
            connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
            anchor.menu->insertAction(anchor.before, action);
            anchor.items.push_back(action);
            RegisterAction(id, action);
        }
    }
}

void CMainFrame::UpdateWindowList()
{
    if (!m_windowMenu)
        return;
    for (QAction* a : m_windowListItems) {
        m_windowMenu->removeAction(a);
        a->deleteLater();
    }
    m_windowListItems.clear();
    const auto windows = m_mdiArea->subWindowList(QMdiArea::CreationOrder);
    if (windows.isEmpty())
        return;
    m_windowListItems.push_back(m_windowMenu->addSeparator());
    QMdiSubWindow* active = m_mdiArea->activeSubWindow();
    for (int i = 0; i < windows.size(); ++i) {
        QMdiSubWindow* w = windows[i];
        QString title = w->windowTitle();
        title.replace(QLatin1Char('&'), QStringLiteral("&&"));
        auto* action = m_windowMenu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(title));
        action->setCheckable(true);
        action->setChecked(w == active);
        action->setStatusTip(QStringLiteral("Activate this window"));
        connect(action, &QAction::triggered, this, [this, w] {
            if (m_mdiArea->subWindowList().contains(w))
                m_mdiArea->setActiveSubWindow(w);
        });
        m_windowListItems.push_back(action);
    }
}

QMdiSubWindow* CMainFrame::ActiveSubWindow() const
{
    if (!m_mdiArea)
        return nullptr;
    if (QMdiSubWindow* active = m_mdiArea->activeSubWindow())
        return active;
    // The area has no active window while the application is not focused;
    // the topmost one stands for it then.
    const auto windows = m_mdiArea->subWindowList(QMdiArea::StackingOrder);
    return windows.isEmpty() ? nullptr : windows.last();
}

void CMainFrame::UpdateTitle()
{
    QMdiSubWindow* active = ActiveSubWindow();
    if (active)
        setWindowTitle(QStringLiteral("Kestrin - ") + active->windowTitle());
    else
        setWindowTitle(QStringLiteral("Kestrin"));
}

void CMainFrame::ApplyState(int id, QAction* action)
{
    CCommandState state;
    if (const CFrameCommand* command = FindFrameCommand(id)) {
        if (command->state)
            state = command->state(*this);
    } else if (id >= cmd::FileMru1 && id < cmd::FileMru1 + m_app.RecentFiles().Size()) {
        state.enabled = !m_app.RecentFiles().Files().isEmpty();
    } else if (CKestrinView* view = m_app.ActiveView(); view && view->RoutesCommand(id)) {
        state = view->GetCommandState(id);
    } else {
        state.enabled = false;
    }
    action->setEnabled(state.enabled);
    action->setCheckable(state.checkable);
    if (state.checkable)
        action->setChecked(state.checked);
}

void CMainFrame::UpdateCommandUi()
{
    for (auto& [id, action] : m_actions)
        ApplyState(id, action);
    UpdateEstimateWarning();
}

void CMainFrame::OnCommand(int id)
{
    if (const CFrameCommand* command = FindFrameCommand(id)) {
        command->run(*this);
    } else if (id >= cmd::FileMru1 && id < cmd::FileMru1 + m_app.RecentFiles().Size()) {
        m_app.OnOpenRecentFile(id - cmd::FileMru1);
    } else if (CKestrinView* view = m_app.ActiveView()) {
        // The view reports its own change of state when it is done.
        view->OnCommand(id);
        return;
    }
    UpdateCommandUi();
}

void CMainFrame::OnArrangeIcons()
{
    // Minimised windows in a row along the bottom of the area.
    int x = 0;
    const int bottom = m_mdiArea->viewport()->height();
    for (QMdiSubWindow* w : m_mdiArea->subWindowList(QMdiArea::CreationOrder)) {
        if (!w->isMinimized())
            continue;
        w->move(x, bottom - w->height());
        x += w->width();
    }
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    if (!m_app.SaveAllModified()) {
        event->ignore();
        return;
    }
    m_app.CloseAllDocuments();
    event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event)
{
    const auto urls = event->mimeData()->urls();
    event->acceptProposedAction();
    activateWindow();
    for (const QUrl& url : urls) {
        if (url.isLocalFile())
            m_app.OpenDocumentFile(url.toLocalFile());
    }
}

void CMainFrame::ShowLockKeys()
{
    if (const std::optional<CLockKeyState> keys = m_app.Ui().LockKeys()) {
        m_bCaps = keys->caps;
        m_bNum = keys->num;
        m_bScroll = keys->scroll;
    }
    ShowIndicators();
}

void CMainFrame::ShowIndicators()
{
    const bool on[3] = {m_bCaps, m_bNum, m_bScroll};
    for (int i = 0; i < m_indicators.size(); ++i)
        m_indicators[i]->setText(on[i] ? m_indicators[i]->property("indicatorText").toString() : QString());
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::ApplicationActivate:
        // The keys may have changed while another program had the keyboard.
        if (watched == qApp)
            ShowLockKeys();
        break;
    case QEvent::ApplicationStateChange:
        if (watched == qApp &&
            static_cast<QApplicationStateChangeEvent*>(event)->applicationState() == Qt::ApplicationActive)
            ShowLockKeys();
        break;
    case QEvent::KeyPress: {
        // A lock key toggles its state; where the keyboard can be asked, its
        // answer stands instead. Each press is counted once, where it reaches
        // its window, not again at every widget it passes on its way.
        if (!watched->isWindowType())
            break;
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_CapsLock)
            m_bCaps = !m_bCaps;
        else if (key == Qt::Key_NumLock)
            m_bNum = !m_bNum;
        else if (key == Qt::Key_ScrollLock)
            m_bScroll = !m_bScroll;
        else
            break;
        ShowLockKeys();
        break;
    }
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}
