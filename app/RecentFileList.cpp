#include "app/RecentFileList.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace {
const char* const kSection = "Recent File List";

QString Absolute(const QString& path)
{
    return QFileInfo(path).absoluteFilePath();
}
} // namespace

void CRecentFileList::Load()
{
    m_files.clear();
    QSettings settings;
    settings.beginGroup(QLatin1String(kSection));
    for (int i = 1; i <= m_nSize; ++i) {
        const QString path = settings.value(QStringLiteral("File%1").arg(i)).toString();
        if (!path.isEmpty() && !m_files.contains(path))
            m_files.append(path);
    }
}

void CRecentFileList::Save() const
{
    QSettings settings;
    settings.beginGroup(QLatin1String(kSection));
    for (int i = 1; i <= m_nSize; ++i) {
        const QString key = QStringLiteral("File%1").arg(i);
        if (i <= m_files.size())
            settings.setValue(key, m_files[i - 1]);
        else
            settings.remove(key);
    }
}

void CRecentFileList::Add(const QString& path)
{
    const QString absolute = Absolute(path);
    m_files.removeAll(absolute);
    m_files.prepend(absolute);
    while (m_files.size() > m_nSize)
        m_files.removeLast();
}

void CRecentFileList::Remove(int index)
{
    if (index >= 0 && index < m_files.size())
        m_files.removeAt(index);
}

QString CRecentFileList::MenuText(int index) const
{
    QString shown = QDir::toNativeSeparators(m_files.value(index));
    const QString home = QDir::toNativeSeparators(QDir::homePath());
    if (!home.isEmpty() && home != QLatin1String("/") && shown.startsWith(home + QDir::separator()))
        shown = QLatin1Char('~') + shown.mid(home.size());
    // Keep long paths to a menu's width: the start, an ellipsis, the file name.
    constexpr int kMaxLength = 60;
    if (shown.size() > kMaxLength) {
        const QString name = QFileInfo(m_files.value(index)).fileName();
        const int keep = std::max(0, kMaxLength - static_cast<int>(name.size()) - 4);
        shown = shown.left(keep) + QStringLiteral("...") + QDir::separator() + name;
    }
    shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return QStringLiteral("&%1 %2").arg(index + 1).arg(shown);
}
