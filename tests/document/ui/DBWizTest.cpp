// The database wizard step by step on files held in memory, and the import
// as the user runs it from the view.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "views/CommandIds.h"
#include "document/ui/DBWiz.h"
#include "document/ui/DBWizFieldPages.h"
#include "document/ui/DBWizP1.h"
#include "document/ui/DBWizP2.h"
#include "tests/support/FakeDatabase.h"
#include "platform/HeadlessUi.h"
#include "document/KestrinDoc.h"
#include "views/KestrinView.h"

namespace dbwiz_test {

namespace {

constexpr const char* kSeries = "/db/series.mdb";
constexpr const char* kOther = "/db/other.mdb";

// The enabled wizard buttons, in the order they stand; Cancel is checked to
// be there every time.
std::string Buttons(QWizard& wiz)
{
    const auto on = [&](QWizard::WizardButton which) {
        QAbstractButton* b = wiz.button(which);
        return b && b->isVisible() && b->isEnabled();
    };
    EXPECT_TRUE(on(QWizard::CancelButton));
    std::string s;
    for (const auto& [which, name] : {std::pair{QWizard::BackButton, "Back"}, std::pair{QWizard::NextButton, "Next"},
                                      std::pair{QWizard::FinishButton, "Finish"}})
        if (on(which))
            s += s.empty() ? name : std::string(" ") + name;
    return s.empty() ? "none" : s;
}

void Press(QWizard& wiz, QWizard::WizardButton which)
{
    QTest::mouseClick(wiz.button(which), Qt::LeftButton);
}

std::vector<std::string> Entries(const QListWidget* list)
{
    std::vector<std::string> v;
    for (int i = 0; i < list->count(); ++i)
        v.push_back(list->item(i)->text().toStdString());
    return v;
}

std::string Selected(const QListWidget* list)
{
    const QList<QListWidgetItem*> items = list->selectedItems();
    return items.isEmpty() ? std::string() : items.front()->text().toStdString();
}

// Clicks the entry as the user does.
void ClickEntry(QListWidget* list, const char* text)
{
    const QList<QListWidgetItem*> found = list->findItems(QString::fromUtf8(text), Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << text;
    list->scrollToItem(found.front());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(found.front()).center());
}

std::vector<std::string> Texts(const CHeadlessUi& ui)
{
    std::vector<std::string> v;
    for (const auto& m : ui.messages)
        v.push_back(m.text);
    return v;
}

std::string FirstLine(const std::string& text)
{
    return text.substr(0, text.find('\n'));
}

FakeTable IntTable(const std::string& name, const std::string& x, const std::string& y,
                   const std::vector<int>& ys)
{
    FakeTable t(name, {x, y});
    for (std::size_t i = 0; i < ys.size(); ++i)
        t.rows.push_back({CDbVariant::Int32(static_cast<std::int64_t>(i)), CDbVariant::Int32(ys[i])});
    return t;
}

class DBWizTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        FakeFile series;
        series.tables.push_back(IntTable("Tiny", "Seq", "Val", {0, 1, 4, 9, 16, 25, 36, 49, 64, 81}));
        series.tables.push_back(IntTable("Temperature", "TT", "VV", {-1, -2, -3}));
        series.tables.push_back(IntTable("Temp", "T", "V", {2, 3, 4}));
        series.tables.push_back(FakeTable("MSysObjects", {"Id", "Name"}));
        series.tables.push_back(IntTable("Daily Flow", "Day", "Flow", {100, 102}));
        db.files[kSeries] = series;
        FakeFile other;
        other.tables.push_back(IntTable("Tiny", "Seq", "Val", {5, 6, 7, 8, 9}));
        db.files[kOther] = other;
    }

    // A wizard on the screen with the given stored names.
    std::unique_ptr<CDBWiz> Show(const std::string& database = "", const std::string& table = "",
                                 const std::string& x = "", const std::string& y = "")
    {
        auto wiz = std::make_unique<CDBWiz>(ui, nullptr, db.Opener());
        wiz->m_strDatabase = database;
        wiz->m_strTable = table;
        wiz->m_strXField = x;
        wiz->m_strYField = y;
        wiz->show();
        return wiz;
    }

    CFakeDatabases db;
    CHeadlessUi ui;
};

} // namespace

TEST_F(DBWizTest, PagesHoldTheirControls)
{
    auto wiz = Show(kSeries, "Tiny", "Seq", "Val");
    EXPECT_EQ(wiz->windowTitle(), "Database Selection Wizard");
    EXPECT_EQ(wiz->pageIds(), (QList<int>{0, 1, 2, 3}));

    struct Page
    {
        const char* name;
        const char* title;
        std::vector<std::string> statics;
    };
    const Page pages[] = {
        {"page131", "Select Database", {"Step 1: Select a Database"}},
        {"page132", "Select Table", {"Step 2: Select Table from Database", "Tables", "Fields"}},
        {"page133", "Select Sequence", {"Step 3: Select Sequence Variable from Table", "Fields", "Sample Values"}},
        {"page134", "Select Series", {"Step 4: Select Series Data", "Fields", "Sample Values"}},
    };
    for (int id = 0; id < 4; ++id) {
        QWizardPage* page = wiz->page(id);
        EXPECT_EQ(page->objectName().toStdString(), pages[id].name);
        EXPECT_EQ(page->windowTitle().toStdString(), pages[id].title);
        std::vector<std::string> statics;
        for (QLabel* label : page->findChildren<QLabel*>())
            statics.push_back(label->text().toStdString());
        EXPECT_EQ(statics, pages[id].statics);
        for (QLabel* label : page->findChildren<QLabel*>())
            EXPECT_LE(label->sizeHint().width(), label->width()) << label->text().toStdString();
    }

    auto* select = wiz->m_page1->findChild<QPushButton*>("button1001");
    auto* path = wiz->m_page1->findChild<QLineEdit*>("edit1000");
    ASSERT_TRUE(select && path);
    EXPECT_EQ(select->text(), "&Select");
    EXPECT_TRUE(path->isReadOnly());
    EXPECT_EQ(path->text().toStdString(), kSeries);
    EXPECT_GT(path->geometry().top(), select->geometry().bottom());

    // Lists by id: the choices enabled, the displays disabled, all sorted.
    const std::pair<QWizardPage*, std::pair<int, bool>> lists[] = {
        {wiz->m_page2, {1002, true}}, {wiz->m_page2, {1003, false}}, {wiz->m_page3, {1004, true}},
        {wiz->m_page3, {1005, false}}, {wiz->m_page4, {1006, true}}, {wiz->m_page4, {1007, false}},
    };
    for (const auto& [page, idEnabled] : lists) {
        auto* list = page->findChild<QListWidget*>(QStringLiteral("list%1").arg(idEnabled.first));
        ASSERT_NE(list, nullptr) << idEnabled.first;
        EXPECT_EQ(list->isEnabled(), idEnabled.second) << idEnabled.first;
        EXPECT_TRUE(list->isSortingEnabled()) << idEnabled.first;
    }
    EXPECT_EQ(wiz->m_page2->m_lbTables->objectName(), "list1002");
    EXPECT_EQ(wiz->m_page4->m_lbSamples->objectName(), "list1007");
    // Tables and fields side by side.
    EXPECT_LT(wiz->m_page2->m_lbTables->geometry().right(), wiz->m_page2->m_lbFields->geometry().left());
}

TEST_F(DBWizTest, ButtonsFollowEachStepThroughARunAndBack)
{
    auto wiz = Show();
    EXPECT_EQ(wiz->currentId(), 0);
    EXPECT_EQ(Buttons(*wiz), "none");
    EXPECT_EQ(db.opens, 0);

    ui.openChoices.push_back(std::string(kSeries));
    QTest::mouseClick(wiz->m_page1->findChild<QPushButton*>("button1001"), Qt::LeftButton);
    ASSERT_EQ(ui.fileDialogs.size(), 1u);
    EXPECT_EQ(ui.fileDialogs[0].filter, DatabaseFileFilter());
    EXPECT_EQ(ui.fileDialogs[0].filter.rfind("All database files (*.mdb *.accdb *.sqlite *.sqlite3 *.db *.csv *.tsv "
                                             "*.txt);;Access Databases (*.mdb *.accdb);;SQLite",
                                             0),
              0u);
    EXPECT_EQ(ui.fileDialogs[0].kind, "Databases");
    EXPECT_EQ(ui.fileDialogs[0].defaultExtension, ".mdb");
    EXPECT_EQ(wiz->m_page1->findChild<QLineEdit*>("edit1000")->text().toStdString(), kSeries);
    EXPECT_EQ(Buttons(*wiz), "Next");
    EXPECT_EQ(db.live, 1);

    Press(*wiz, QWizard::NextButton);
    EXPECT_EQ(wiz->currentId(), 1);
    EXPECT_EQ(wiz->m_strDatabase, kSeries);
    // System tables too; sorted as text whatever the file's order.
    EXPECT_EQ(Entries(wiz->m_page2->m_lbTables),
              (std::vector<std::string>{"Daily Flow", "MSysObjects", "Temp", "Temperature", "Tiny"}));
    EXPECT_EQ(Buttons(*wiz), "Back");
    ClickEntry(wiz->m_page2->m_lbTables, "Tiny");
    EXPECT_EQ(Buttons(*wiz), "Back Next");
    EXPECT_EQ(Entries(wiz->m_page2->m_lbFields), (std::vector<std::string>{"Seq", "Val"}));

    Press(*wiz, QWizard::NextButton);
    EXPECT_EQ(wiz->currentId(), 2);
    EXPECT_EQ(wiz->m_strTable, "Tiny");
    EXPECT_EQ(Buttons(*wiz), "Back");
    EXPECT_TRUE(wiz->m_page3->m_lbSamples->count() == 0);
    ClickEntry(wiz->m_page3->m_lbFields, "Seq");
    EXPECT_EQ(Buttons(*wiz), "Back Next");
    EXPECT_EQ(Entries(wiz->m_page3->m_lbSamples), (std::vector<std::string>{"0", "1", "2", "3", "4", "5", "6"}));

    Press(*wiz, QWizard::NextButton);
    EXPECT_EQ(wiz->currentId(), 3);
    EXPECT_EQ(wiz->m_strXField, "Seq");
    EXPECT_EQ(Buttons(*wiz), "Back");
    ClickEntry(wiz->m_page4->m_lbFields, "Val");
    EXPECT_EQ(Buttons(*wiz), "Back Finish");

    // Back: each page activates again from the wizard's confirmed names.
    Press(*wiz, QWizard::BackButton);
    EXPECT_EQ(wiz->currentId(), 2);
    EXPECT_EQ(Selected(wiz->m_page3->m_lbFields), "Seq");
    EXPECT_EQ(Buttons(*wiz), "Back Next");
    Press(*wiz, QWizard::BackButton);
    EXPECT_EQ(Selected(wiz->m_page2->m_lbTables), "Tiny");
    EXPECT_EQ(Buttons(*wiz), "Back Next");
    Press(*wiz, QWizard::BackButton);
    EXPECT_EQ(wiz->currentId(), 0);
    EXPECT_EQ(Buttons(*wiz), "Next");
    EXPECT_EQ(db.opens, 1); // the connection stayed open all along

    // The step 4 choice was not confirmed, so it is asked again.
    Press(*wiz, QWizard::NextButton);
    Press(*wiz, QWizard::NextButton);
    Press(*wiz, QWizard::NextButton);
    EXPECT_EQ(wiz->currentId(), 3);
    EXPECT_EQ(Buttons(*wiz), "Back");
    ClickEntry(wiz->m_page4->m_lbFields, "Val");
    Press(*wiz, QWizard::FinishButton);
    EXPECT_EQ(wiz->result(), QDialog::Accepted);
    EXPECT_FALSE(wiz->isVisible());
    EXPECT_EQ(wiz->m_strYField, "Val");
    EXPECT_EQ(db.live, 0); // Finish closes it
    EXPECT_TRUE(ui.messages.empty());
}

TEST(DBWizListBox, SortsIgnoringCaseAndFindsTheFirstPrefixInThatOrder)
{
    struct Case
    {
        std::vector<const char*> added;
        std::vector<std::string> sorted;
        std::vector<std::pair<const char*, int>> finds;
    };
    const Case cases[] = {
        {{"Zeta", "data", "MSysObjects", "apple", "Results"},
         {"apple", "data", "MSysObjects", "Results", "Zeta"},
         {{"MSYS", 2}, {"r", 3}, {"A", 0}, {"z", 4}, {"x", -1}, {"", -1}}},
        {{"temp", "Tiny", "Temperature"},
         {"temp", "Temperature", "Tiny"},
         {{"TEMP", 0}, {"tempe", 1}, {"ti", 2}, {"Temps", -1}}},
        // Equal but for case: a fixed order, and the first one is found.
        {{"b", "a_b", "B", "A"}, {"A", "a_b", "B", "b"}, {{"b", 2}, {"a_", 1}, {"a", 0}}},
        {{"     12.00", "    -3.50", "----", "100"},
         {"     12.00", "    -3.50", "----", "100"},
         {{"-", 2}, {"1", 3}}},
    };
    for (const Case& c : cases) {
        QListWidget list;
        list.setSortingEnabled(true);
        for (const char* name : c.added)
            AddListEntry(list, name);
        EXPECT_EQ(Entries(&list), c.sorted);
        for (const auto& [prefix, row] : c.finds)
            EXPECT_EQ(FindStringPrefix(list, prefix), row) << prefix;
    }
}

TEST_F(DBWizTest, StoredPrefixSelectsTheFirstSortedMatchButStaysTheChoice)
{
    // "tem" selects Temp, the first of Temp and Temperature; the page keeps
    // "tem", whose fields cannot be listed.
    auto wiz = Show(kSeries, "tem", "T", "V");
    Press(*wiz, QWizard::NextButton);
    EXPECT_EQ(wiz->currentId(), 1);
    EXPECT_EQ(Selected(wiz->m_page2->m_lbTables), "Temp");
    EXPECT_EQ(wiz->m_page2->m_strTable, "tem");
    EXPECT_EQ(Texts(ui), (std::vector<std::string>{"Cannot open table!"}));
    EXPECT_TRUE(wiz->m_page2->m_lbFields->count() == 0);
    EXPECT_EQ(Buttons(*wiz), "Back Next");

    // Choosing the table makes it the choice.
    ClickEntry(wiz->m_page2->m_lbTables, "Temperature");
    EXPECT_EQ(wiz->m_page2->m_strTable, "Temperature");
    EXPECT_EQ(Entries(wiz->m_page2->m_lbFields), (std::vector<std::string>{"TT", "VV"}));
    // A field name found by its beginning: "T" finds "TT".
    Press(*wiz, QWizard::NextButton);
    EXPECT_EQ(Selected(wiz->m_page3->m_lbFields), "TT");
    EXPECT_EQ(wiz->m_page3->m_strField, "T");
    EXPECT_EQ(Buttons(*wiz), "Back Next");
    // Its samples are read by the kept name, which no field has.
    EXPECT_EQ(ui.messages.back().text, "Cannot open table! (Or some other error)");
}

TEST_F(DBWizTest, SampleListShowsSevenValuesSortedAsText)
{
    db.files[kSeries].tables.push_back(IntTable("Levels", "N", "L", {12, 3, 45, 7, 100, 8, 9, 1, 2, 3}));
    db.files[kSeries].tables.push_back(IntTable("Short", "N", "L", {5, 40}));
    auto wiz = Show(kSeries, "Levels", "L", "L");
    Press(*wiz, QWizard::NextButton);
    Press(*wiz, QWizard::NextButton);
    // The first seven records, not the smallest seven.
    EXPECT_EQ(Entries(wiz->m_page3->m_lbSamples),
              (std::vector<std::string>{"100", "12", "3", "45", "7", "8", "9"}));
    Press(*wiz, QWizard::NextButton);
    EXPECT_EQ(Entries(wiz->m_page4->m_lbSamples),
              (std::vector<std::string>{"100", "12", "3", "45", "7", "8", "9"}));

    // A short table shows what it has; Null shows as "----".
    db.files[kSeries].tables.back().rows.push_back({CDbVariant::Int32(2), CDbVariant::Null()});
    Press(*wiz, QWizard::BackButton);
    Press(*wiz, QWizard::BackButton);
    ClickEntry(wiz->m_page2->m_lbTables, "Short");
    Press(*wiz, QWizard::NextButton);
    ClickEntry(wiz->m_page3->m_lbFields, "L");
    EXPECT_EQ(Entries(wiz->m_page3->m_lbSamples), (std::vector<std::string>{"----", "40", "5"}));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(DBWizTest, FileThatCannotBeOpened)
{
    // Chosen with Select.
    auto wiz = Show();
    ui.openChoices.push_back(std::string("/db/missing.mdb"));
    QTest::mouseClick(wiz->m_page1->findChild<QPushButton*>("button1001"), Qt::LeftButton);
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(FirstLine(ui.messages[0].text), "Unable to open database!");
    EXPECT_NE(ui.messages[0].text.find("missing.mdb"), std::string::npos);
    EXPECT_EQ(ui.messages[1].text, "Unable to connect to database!");
    EXPECT_EQ(Buttons(*wiz), "none");
    EXPECT_EQ(wiz->m_page1->findChild<QLineEdit*>("edit1000")->text(), "/db/missing.mdb");

    // Select again: a good file enables Next.
    ui.openChoices.push_back(std::string(kOther));
    QTest::mouseClick(wiz->m_page1->findChild<QPushButton*>("button1001"), Qt::LeftButton);
    EXPECT_EQ(Buttons(*wiz), "Next");
    // Cancelling the file choice changes nothing.
    QTest::mouseClick(wiz->m_page1->findChild<QPushButton*>("button1001"), Qt::LeftButton);
    EXPECT_EQ(Buttons(*wiz), "Next");
    EXPECT_EQ(wiz->m_page1->m_strDatabase, kOther);

    // A stored path that no longer opens: the same two messages on opening.
    ui.messages.clear();
    auto stored = Show("/db/gone.mdb", "Tiny", "Seq", "Val");
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(FirstLine(ui.messages[0].text), "Unable to open database!");
    EXPECT_EQ(ui.messages[1].text, "Unable to connect to database!");
    EXPECT_EQ(Buttons(*stored), "none");
}

TEST_F(DBWizTest, TableListThatCannotBeReadKeepsStepOne)
{
    db.files[kOther].tableNamesFail = true;
    auto wiz = Show(kOther);
    EXPECT_EQ(Buttons(*wiz), "Next");
    Press(*wiz, QWizard::NextButton);
    EXPECT_EQ(Texts(ui), (std::vector<std::string>{"GetTableDefInfo Error!"}));
    EXPECT_EQ(wiz->currentId(), 0);
    EXPECT_EQ(Buttons(*wiz), "Next");
    // Another file, and the way is open.
    ui.openChoices.push_back(std::string(kSeries));
    QTest::mouseClick(wiz->m_page1->findChild<QPushButton*>("button1001"), Qt::LeftButton);
    Press(*wiz, QWizard::NextButton);
    EXPECT_EQ(wiz->currentId(), 1);
    EXPECT_EQ(ui.messages.size(), 1u);
}

TEST_F(DBWizTest, TableOrRecordsThatCannotBeRead)
{
    FakeTable noFields = IntTable("Locked", "A", "B", {1, 2});
    noFields.fieldsFail = true;
    db.files[kSeries].tables.push_back(noFields);
    FakeTable broken = IntTable("Broken", "A", "B", {1, 2, 3, 4});
    broken.breaksAfter = 2;
    db.files[kSeries].tables.push_back(broken);

    auto wiz = Show(kSeries);
    Press(*wiz, QWizard::NextButton);
    ClickEntry(wiz->m_page2->m_lbTables, "Locked");
    EXPECT_EQ(Texts(ui), (std::vector<std::string>{"Cannot open table!"}));
    EXPECT_EQ(Buttons(*wiz), "Back Next");
    Press(*wiz, QWizard::NextButton);
    EXPECT_EQ(Texts(ui), (std::vector<std::string>{"Cannot open table!", "Cannot open table!"}));
    EXPECT_TRUE(wiz->m_page3->m_lbFields->count() == 0);
    EXPECT_EQ(Buttons(*wiz), "Back");

    // Records that break off after two: those two are shown.
    ui.messages.clear();
    Press(*wiz, QWizard::BackButton);
    ClickEntry(wiz->m_page2->m_lbTables, "Broken");
    Press(*wiz, QWizard::NextButton);
    ClickEntry(wiz->m_page3->m_lbFields, "B");
    // Back on step 2 looked up "Locked" again and said so once more.
    EXPECT_EQ(Texts(ui),
              (std::vector<std::string>{"Cannot open table!", "Cannot open table! (Or some other error)"}));
    EXPECT_EQ(Entries(wiz->m_page3->m_lbSamples), (std::vector<std::string>{"1", "2"}));
    EXPECT_EQ(Buttons(*wiz), "Back Next");
}

TEST_F(DBWizTest, AnotherFileClosesTheFirstAndLooksUpTheStoredNames)
{
    auto wiz = Show(kSeries, "Temp", "T", "V");
    EXPECT_EQ(db.live, 1);
    ui.openChoices.push_back(std::string(kOther));
    QTest::mouseClick(wiz->m_page1->findChild<QPushButton*>("button1001"), Qt::LeftButton);
    EXPECT_EQ(db.opens, 2);
    EXPECT_EQ(db.live, 1);
    Press(*wiz, QWizard::NextButton);
    EXPECT_EQ(Entries(wiz->m_page2->m_lbTables), (std::vector<std::string>{"Tiny"}));
    EXPECT_EQ(Selected(wiz->m_page2->m_lbTables), "");
    EXPECT_EQ(Buttons(*wiz), "Back");
    // Cancel ends the wizard and its connection.
    Press(*wiz, QWizard::CancelButton);
    EXPECT_EQ(wiz->result(), QDialog::Rejected);
    EXPECT_EQ(db.live, 0);
}

// --- The import from the view ----------------------------------------------

namespace {

// Runs the view's database command, acting on the wizard as soon as it is
// open. A wizard that `act` leaves open is cancelled, so that a failing test
// cannot hang.
void RunWizard(CKestrinView& view, const std::function<void(CDBWiz&)>& act)
{
    bool seen = false;
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* wiz = qobject_cast<CDBWiz*>(QApplication::activeModalWidget());
        if (!wiz)
            return;
        poll.stop();
        seen = true;
        act(*wiz);
        if (wiz->isVisible()) {
            ADD_FAILURE() << "the wizard is still open";
            wiz->reject();
        }
    });
    poll.start();
    EXPECT_TRUE(view.OnCommand(cmd::ImportDatabase));
    EXPECT_TRUE(seen) << "no wizard was shown";
}

class ImportDatabaseFromViewTest : public DBWizTest
{
protected:
    void SetUp() override
    {
        DBWizTest::SetUp();
        doc.m_openDatabase = db.Opener();
        doc.OnNewDocument();
        view = std::make_unique<CKestrinView>(doc);
        view->resize(480, 320);
        view->show();
        view->OnInitialUpdate();
    }

    CKestrinDoc doc{ui};
    std::unique_ptr<CKestrinView> view;
};

std::vector<double> Ys(const CKestrinDoc& doc)
{
    std::vector<double> v;
    for (const CSeriesPoint& p : doc.m_points)
        v.push_back(p.m_dY);
    return v;
}

} // namespace

TEST_F(ImportDatabaseFromViewTest, ChoicesBecomeTheSeriesAndRepeatWithNextNextNextFinish)
{
    RunWizard(*view, [&](CDBWiz& wiz) {
        EXPECT_EQ(wiz.windowTitle(), "Database Selection Wizard");
        EXPECT_EQ(wiz.parentWidget(), view.get());
        EXPECT_EQ(wiz.m_pDoc, &doc);
        ui.openChoices.push_back(std::string(kSeries));
        QTest::mouseClick(wiz.m_page1->findChild<QPushButton*>("button1001"), Qt::LeftButton);
        Press(wiz, QWizard::NextButton);
        ClickEntry(wiz.m_page2->m_lbTables, "Temp");
        Press(wiz, QWizard::NextButton);
        ClickEntry(wiz.m_page3->m_lbFields, "T");
        Press(wiz, QWizard::NextButton);
        ClickEntry(wiz.m_page4->m_lbFields, "V");
        Press(wiz, QWizard::FinishButton);
    });
    EXPECT_EQ(Ys(doc), (std::vector<double>{2, 3, 4}));
    EXPECT_EQ(doc.m_strTable, "Temp");
    EXPECT_EQ(doc.m_bHasData, 1);
    EXPECT_EQ(view->GetPlotExtents().m_dXMax, 2.0);
    EXPECT_EQ(view->GetPlotExtents().m_dYMax, 4.0);
    EXPECT_TRUE(view->GetCommandState(cmd::SetSlidingWindows).enabled);

    // The user changes D and M and saves; the same import again needs only
    // Next, Next, Next, Finish, and brings back D 4 and M 3.
    doc.SetHParameters({.nD = 2, .nM = 5});
    doc.SetModifiedFlag(false);
    ui.statusTexts.clear();
    RunWizard(*view, [&](CDBWiz& wiz) {
        EXPECT_EQ(Buttons(wiz), "Next");
        Press(wiz, QWizard::NextButton);
        EXPECT_EQ(Selected(wiz.m_page2->m_lbTables), "Temp");
        Press(wiz, QWizard::NextButton);
        EXPECT_EQ(Selected(wiz.m_page3->m_lbFields), "T");
        EXPECT_EQ(Entries(wiz.m_page3->m_lbSamples), (std::vector<std::string>{"0", "1", "2"}));
        Press(wiz, QWizard::NextButton);
        EXPECT_EQ(Selected(wiz.m_page4->m_lbFields), "V");
        EXPECT_EQ(Buttons(wiz), "Back Finish");
        Press(wiz, QWizard::FinishButton);
    });
    EXPECT_EQ(Ys(doc), (std::vector<double>{2, 3, 4}));
    EXPECT_EQ(doc.m_nD, 4);
    EXPECT_EQ(doc.m_nM, 3);
    EXPECT_EQ(doc.m_globalSet.GetD(), 4);
    EXPECT_EQ(doc.m_globalSet.GetM(), 3);
    EXPECT_TRUE(doc.IsModified());
    // The load, then the view's own drawing.
    ASSERT_GE(ui.statusTexts.size(), 2u);
    EXPECT_EQ(ui.statusTexts[0], "Loading Records...");
    EXPECT_EQ(ui.statusTexts[1], "Ready");
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(db.live, 0);
}

TEST_F(ImportDatabaseFromViewTest, CancelLeavesTheDocumentUntouched)
{
    ASSERT_TRUE(doc.ImportDatabase(kSeries, "Tiny", "Seq", "Val"));
    doc.SetModifiedFlag(false);
    const std::vector<double> before = Ys(doc);
    for (int step = 0; step < 4; ++step) {
        SCOPED_TRACE(step);
        RunWizard(*view, [&](CDBWiz& wiz) {
            ui.openChoices.push_back(std::string(kOther));
            QTest::mouseClick(wiz.m_page1->findChild<QPushButton*>("button1001"), Qt::LeftButton);
            for (int i = 0; i < step; ++i)
                Press(wiz, QWizard::NextButton);
            Press(wiz, QWizard::CancelButton);
        });
        EXPECT_EQ(Ys(doc), before);
        EXPECT_EQ(doc.m_strDatabase, kSeries);
        EXPECT_FALSE(doc.IsModified());
        EXPECT_TRUE(ui.savePrompts.empty());
        EXPECT_EQ(db.live, 0);
    }
}

TEST_F(ImportDatabaseFromViewTest, FailedLoadKeepsTheDocumentAndThePicture)
{
    ASSERT_TRUE(doc.ImportDatabase(kSeries, "Tiny", "Seq", "Val"));
    doc.UpdateAllViews(nullptr);
    doc.SetModifiedFlag(false);
    // The table breaks off while the document reads it, after the wizard
    // has shown its first records.
    FakeTable broken = IntTable("Broken", "A", "B", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    broken.breaksAfter = 8;
    db.files[kSeries].tables.push_back(broken);
    RunWizard(*view, [&](CDBWiz& wiz) {
        Press(wiz, QWizard::NextButton);
        ClickEntry(wiz.m_page2->m_lbTables, "Broken");
        Press(wiz, QWizard::NextButton);
        ClickEntry(wiz.m_page3->m_lbFields, "A");
        Press(wiz, QWizard::NextButton);
        ClickEntry(wiz.m_page4->m_lbFields, "B");
        Press(wiz, QWizard::FinishButton);
    });
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(FirstLine(ui.messages[0].text), "Kestrin: Unable to open database!");
    EXPECT_EQ(Ys(doc), (std::vector<double>{0, 1, 4, 9, 16, 25, 36, 49, 64, 81}));
    EXPECT_EQ(doc.m_strTable, "Tiny");
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(view->GetPlotExtents().m_dYMax, 81.0);
}

} // namespace dbwiz_test
