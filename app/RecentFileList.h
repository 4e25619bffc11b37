#pragma once

#include <QString>
#include <QStringList>

// The most recently used documents, newest first, kept in the settings under
// the organisation "Orvanel" (section "Recent File List", keys File1...).
class CRecentFileList
{
public:
    explicit CRecentFileList(int size = 4) : m_nSize(size) {}

    void Load();
    void Save() const;
    // Puts the file first, removing an older entry for the same file.
    void Add(const QString& path);
    void Remove(int index);

    const QStringList& Files() const { return m_files; }
    int Size() const { return m_nSize; }
    // The menu text of entry index: "&1 name".
    QString MenuText(int index) const;

private:
    int m_nSize;
    QStringList m_files;
};
