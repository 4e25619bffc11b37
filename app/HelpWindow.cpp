#include "app/HelpWindow.h"

#include <algorithm>

#include <QFile>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QSplitter>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace {

const QRegularExpression& HeadingPattern()
{
    static const QRegularExpression pattern(QStringLiteral("<h2 id=\"([^\"]+)\">(.*?)</h2>"));
    return pattern;
}

QString PlainText(QString html)
{
    html.remove(QRegularExpression(QStringLiteral("<[^>]*>")));
    return html.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
}

} // namespace

QString CHelpWindow::ManualHtml()
{
    // The resource lives in a static library: make sure it is registered.
    Q_INIT_RESOURCE(manual);
    QFile file(QStringLiteral(":/manual/manual.html"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

QStringList CHelpWindow::SectionIds(const QString& html)
{
    QStringList ids;
    for (const auto& match : HeadingPattern().globalMatch(html))
        ids << match.captured(1);
    return ids;
}

QStringList CHelpWindow::SectionTitles(const QString& html)
{
    QStringList titles;
    for (const auto& match : HeadingPattern().globalMatch(html))
        titles << PlainText(match.captured(2));
    return titles;
}

QStringList CHelpWindow::LinkTargets(const QString& html)
{
    QStringList targets;
    static const QRegularExpression link(QStringLiteral("href=\"#([^\"]+)\""));
    for (const auto& match : link.globalMatch(html))
        targets << match.captured(1);
    return targets;
}

CHelpWindow::CHelpWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setWindowTitle(QStringLiteral("Kestrin Help"));
    setObjectName(QStringLiteral("CHelpWindow"));
    const QString html = ManualHtml();

    m_sections = new QListWidget(this);
    m_sections->setObjectName(QStringLiteral("listSections"));
    const QStringList ids = SectionIds(html);
    const QStringList titles = SectionTitles(html);
    for (int i = 0; i < ids.size(); ++i) {
        auto* item = new QListWidgetItem(titles.value(i), m_sections);
        item->setData(Qt::UserRole, ids[i]);
    }
    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("browserManual"));
    m_browser->setOpenLinks(true);
    m_browser->setOpenExternalLinks(false);
    m_browser->setHtml(html);

    m_find = new QLineEdit(this);
    m_find->setObjectName(QStringLiteral("editFind"));
    m_find->setPlaceholderText(QStringLiteral("Find in the manual"));
    auto* findNext = new QPushButton(QStringLiteral("&Find"), this);
    findNext->setObjectName(QStringLiteral("buttonFind"));

    auto* findRow = new QHBoxLayout;
    findRow->addWidget(new QLabel(QStringLiteral("Find:"), this));
    findRow->addWidget(m_find, 1);
    findRow->addWidget(findNext);
    auto* splitter = new QSplitter(this);
    splitter->addWidget(m_sections);
    splitter->addWidget(m_browser);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({200, 600});
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(findRow);
    layout->addWidget(splitter, 1);
    resize(860, 620);
    FitIntoScreen();

    connect(m_sections, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
        if (item)
            m_browser->scrollToAnchor(item->data(Qt::UserRole).toString());
    });
    const auto findTyped = [this] { Find(m_find->text()); };
    connect(m_find, &QLineEdit::returnPressed, this, findTyped);
    connect(findNext, &QPushButton::clicked, this, findTyped);
}

bool CHelpWindow::Find(const QString& text)
{
    if (text.isEmpty())
        return false;
    if (m_browser->find(text))
        return true;
    m_browser->moveCursor(QTextCursor::Start);
    return m_browser->find(text);
}

void CHelpWindow::FitIntoScreen()
{
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    if (available.isEmpty())
        return;
    // The border the window system draws around the window counts, too.
    const QSize border = frameGeometry().size() - size();
    resize(std::min(width(), available.width() - border.width()),
           std::min(height(), available.height() - border.height()));
    // The window's place, moved only as far as needed to lie inside.
    QRect placed(pos(), size() + border);
    placed.moveLeft(std::max(available.left(), std::min(placed.left(), available.right() + 1 - placed.width())));
    placed.moveTop(std::max(available.top(), std::min(placed.top(), available.bottom() + 1 - placed.height())));
    move(placed.topLeft());
}

void CHelpWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    FitIntoScreen();
}
