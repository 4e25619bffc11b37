#pragma once

#include <string>

#include <QWizardPage>

class CDBWiz;
class IUiServices;
class QLabel;
class QListWidget;

// The wizard buttons a page asks for. Cancel is always there.
enum DBWizButtons : unsigned
{
    kWizNone = 0,
    kWizBack = 1,
    kWizNext = 2,
    kWizFinish = 4,
};

// What every page of the database wizard shares: the wizard buttons it has
// asked for, the way to its wizard, and its controls laid out in dialog
// units.
class CDBWizPage : public QWizardPage
{
    Q_OBJECT

public:
    // templateId names the page ("page131"); title is the page's caption.
    CDBWizPage(int templateId, const char* title);

    // Each activation of the page, moving forward or back: true accepts it.
    virtual bool OnSetActive() = 0;
    // Next (or, on the last page, Finish) was pressed: copies the page's
    // choice to the wizard. False keeps the page up.
    virtual bool OnWizardNext() { return true; }

    // The buttons the page has enabled (kWiz... flags). Next and Finish
    // follow them; Back is the wizard's own: enabled on every page but the
    // first, which is exactly what each page asks for.
    unsigned WizardButtons() const { return m_buttons; }
    void SetWizardButtons(unsigned buttons);
    bool isComplete() const override;

protected:
    CDBWiz& Wizard() const;
    IUiServices& Ui() const;
    // A plain message box with an OK button.
    void Message(const std::string& text) const;

    // Controls placed in dialog units.
    void Place(QWidget* control, int x, int y, int cx, int cy) const;
    QLabel* AddStatic(const char* name, const char* text, int x, int y, int cx, int cy);
    // A list box that keeps its entries sorted as text, ignoring case.
    QListWidget* AddListBox(int id, int x, int y, int cx, int cy);
    void SetPageSize(int cx, int cy);

private:
    unsigned m_buttons = kWizNone;
};

// Adds an entry showing name (UTF-8) and keeping its bytes for ListEntry.
void AddListEntry(QListWidget& list, const std::string& name);
// The bytes of the entry at row.
std::string ListEntry(const QListWidget& list, int row);
// The list box's select-string search from the top: the row of the first
// entry, in the list's order, that begins with name, ignoring case; -1 when
// none does or name is empty.
int FindStringPrefix(const QListWidget& list, const std::string& name);
// Selects the entry FindStringPrefix finds, without reporting a selection
// change; returns its row or -1.
int SelectStringPrefix(QListWidget& list, const std::string& name);
