#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

class QLineEdit;
class QListWidget;
class QTextBrowser;

// "Kestrin Help": the manual bundled in the program's resources, with its
// sections listed beside it and a find field.
class CHelpWindow : public QWidget
{
    Q_OBJECT

public:
    explicit CHelpWindow(QWidget* parent = nullptr);

    // The manual's HTML as bundled.
    static QString ManualHtml();
    // The ids of the manual's section headings (<h2 id="...">), in order,
    // with their titles; and every in-page link target (href="#...").
    static QStringList SectionIds(const QString& html);
    static QStringList SectionTitles(const QString& html);
    static QStringList LinkTargets(const QString& html);

    QTextBrowser& Browser() { return *m_browser; }
    // Finds the next occurrence of text after the cursor, starting again
    // from the top when there is none below; false when there is none.
    bool Find(const QString& text);

    // Keeps the window, its size first, inside the primary screen's
    // available area.
    void FitIntoScreen();

protected:
    // Placed by the window system when shown, then kept inside the screen.
    void showEvent(QShowEvent* event) override;

private:
    QTextBrowser* m_browser = nullptr;
    QListWidget* m_sections = nullptr;
    QLineEdit* m_find = nullptr;
};
