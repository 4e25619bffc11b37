#include <filesystem>
#include <fstream>
#include <new>
#include <stdexcept>
#include <string>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include "platform/Document.h"
#include "platform/HeadlessUi.h"
#include "platform/StatusOperation.h"
#include "tests/support/TestSupport.h"

namespace document_base_test {

namespace {

// A document of one text that can be told to fail half way through a save.
class TextDoc : public CDocument
{
public:
    using CDocument::CDocument;
    std::string text;
    bool failWhileSaving = false;
    bool outOfMemoryWhileLoading = false;
    int deleted = 0;

    void DeleteContents() override
    {
        text.clear();
        ++deleted;
    }
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring()) {
            ar << text;
            ar.Flush();
            if (failWhileSaving)
                throw CArchiveException(CArchiveException::writeFault, "disk full");
            ar << text;
        } else {
            std::string again;
            ar >> text >> again;
            if (outOfMemoryWhileLoading)
                throw std::bad_alloc();
        }
    }
};

} // namespace

TEST(DocumentBase, FailedSaveKeepsTheOldFile)
{
    TempDir dir;
    const std::string path = dir.File("doc.bin");
    CHeadlessUi ui;
    TextDoc doc(ui);
    doc.text = "first version";
    ASSERT_TRUE(doc.DoSave(path));
    const auto before = ReadFileBytes(path);
    EXPECT_EQ(doc.GetTitle(), "doc.bin");

    doc.text = std::string(3 << 20, 'x'); // more than one buffer
    doc.SetModifiedFlag();
    doc.failWhileSaving = true;
    EXPECT_FALSE(doc.DoFileSave());
    EXPECT_EQ(ReadFileBytes(path), before);
    EXPECT_TRUE(doc.IsModified());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].text.find("doc.bin"), std::string::npos);
    EXPECT_NE(ui.messages[0].text.find("disk full"), std::string::npos);
    // No temporary file is left behind.
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.Path()))
        ++files;
    EXPECT_EQ(files, 1);

    EXPECT_FALSE(doc.DoSave(dir.File("no/such/dir/doc.bin")));
    EXPECT_EQ(ui.messages.size(), 2u);
}

TEST(DocumentBase, SaveAsAsksForANameAndOpenRestores)
{
    TempDir dir;
    CHeadlessUi ui;
    TextDoc doc(ui);
    doc.SetTitle("Kestrn1");
    doc.m_saveDialog.filter = "Kestrin Files (*.kst)";
    doc.text = "hello";
    doc.SetModifiedFlag();
    ui.saveChoices.push_back(dir.File("a.kst"));
    ASSERT_TRUE(doc.DoSave(""));
    ASSERT_EQ(ui.fileDialogs.size(), 1u);
    EXPECT_EQ(ui.fileDialogs[0].fileName, "Kestrn1");
    EXPECT_EQ(ui.fileDialogs[0].filter, "Kestrin Files (*.kst)");
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.GetPathName(), dir.File("a.kst"));

    TextDoc back(ui);
    ASSERT_TRUE(back.OnOpenDocument(dir.File("a.kst")));
    EXPECT_EQ(back.text, "hello");
    EXPECT_EQ(back.GetTitle(), "a.kst");
    EXPECT_FALSE(back.IsModified());

    // Save As to a second name, keeping the first path (a copy).
    ASSERT_TRUE(back.DoSave(dir.File("copy.kst"), false));
    EXPECT_EQ(back.GetPathName(), dir.File("a.kst"));
}

// Only a regular file opens as a document: a pipe nobody writes to, an
// endless device or a folder is refused at once, and the document keeps
// what it held.
TEST(DocumentBase, OnlyARegularFileOpens)
{
    TempDir dir;
    const std::string fifo = dir.File("pipe.kst");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    CHeadlessUi ui;
    TextDoc doc(ui);
    doc.text = "kept";
    for (const std::string& path : {fifo, std::string("/dev/zero"), dir.Path().string(), dir.File("none.kst")}) {
        SCOPED_TRACE(path);
        ui.messages.clear();
        EXPECT_FALSE(doc.OnOpenDocument(path));
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_NE(ui.messages[0].text.find(path), std::string::npos) << ui.messages[0].text;
        EXPECT_EQ(doc.text, "kept");
    }
}

// A document too large for the memory left is not called damaged.
TEST(DocumentBase, LackOfMemoryWhileOpeningIsSaidSo)
{
    TempDir dir;
    CHeadlessUi ui;
    TextDoc doc(ui);
    doc.text = "hello";
    ASSERT_TRUE(doc.DoSave(dir.File("a.kst")));
    TextDoc back(ui);
    back.outOfMemoryWhileLoading = true;
    EXPECT_FALSE(back.OnOpenDocument(dir.File("a.kst")));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Unable to open \"" + dir.File("a.kst") + "\": there is not enough memory to load it.");
    EXPECT_EQ(back.text, "");
}

// A file that cannot be read as a document is called damaged, unless it is
// text: then it is named a text file, whatever its first characters would
// mean as a document's numbers.
TEST(DocumentBase, TextFileIsNotCalledADamagedDocument)
{
    TempDir dir;
    const struct
    {
        std::string bytes;
        const char* said;
    } cases[] = {
        {"1.5\n-2\r\n3e4\t\n", ": it is a text file, not a Kestrin document (import it as a text file of numbers instead)."},
        {"Zeit;Wert\n1;2,5\n", ": it is a text file, not a Kestrin document (import it as a text file of numbers instead)."},
        {std::string("\x05\x00\x00\x00\x01", 5), ": it is not a Kestrin document or it is damaged ("},
        {std::string("1\n2\n\x00", 5), ": it is not a Kestrin document or it is damaged ("},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.said);
        const std::string path = dir.File("f.kst");
        { std::ofstream(path, std::ios::binary) << c.bytes; }
        CHeadlessUi ui;
        TextDoc doc(ui);
        EXPECT_FALSE(doc.OnOpenDocument(path));
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].text.rfind("Unable to open \"" + path + "\"" + c.said, 0), 0u) << ui.messages[0].text;
    }
}

TEST(DocumentBase, CloseOffersToSaveFirst)
{
    TempDir dir;
    CHeadlessUi ui;
    TextDoc doc(ui);
    doc.SetTitle("Kestrn2");
    doc.text = "unsaved";
    EXPECT_TRUE(doc.Close()); // not modified: no question
    EXPECT_TRUE(ui.savePrompts.empty());

    doc.text = "unsaved";
    doc.SetModifiedFlag();
    ui.saveAnswers = {MsgResult::cancel};
    EXPECT_FALSE(doc.Close());
    EXPECT_EQ(doc.text, "unsaved");
    EXPECT_EQ(ui.savePrompts, std::vector<std::string>{"Kestrn2"});

    ui.saveAnswers = {MsgResult::yes};
    ui.saveChoices = {dir.File("closing.kst")};
    EXPECT_TRUE(doc.Close());
    EXPECT_TRUE(doc.text.empty());
    TextDoc back(ui);
    ASSERT_TRUE(back.OnOpenDocument(dir.File("closing.kst")));
    EXPECT_EQ(back.text, "unsaved");
}

TEST(DocumentBase, ViewsAreUpdatedExceptTheSender)
{
    CHeadlessUi ui;
    TextDoc doc(ui);
    struct View : CView
    {
        int updates = 0;
        long lastHint = -1;
        void OnUpdate(CView*, long hint, void*) override
        {
            ++updates;
            lastHint = hint;
        }
    } a, b;
    doc.AddView(&a);
    doc.AddView(&b);
    doc.AddView(&a);
    doc.UpdateAllViews(nullptr);
    EXPECT_EQ(a.updates, 1);
    EXPECT_EQ(b.updates, 1);
    EXPECT_EQ(a.lastHint, 0);
    doc.UpdateAllViews(&a);
    EXPECT_EQ(a.updates, 1);
    EXPECT_EQ(b.updates, 2);
    doc.RemoveView(&b);
    EXPECT_EQ(doc.GetViews().size(), 1u);
}

TEST(StatusOperation, ReadyOnEveryWayOut)
{
    CHeadlessUi ui;
    try {
        CStatusOperation op(ui, "Calculating H...");
        EXPECT_EQ(ui.m_waitDepth, 1);
        op.Progress("Calculating Sliding Windows (%i %%)", 0.999);
        throw std::runtime_error("stop");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(ui.m_waitDepth, 0);
    EXPECT_EQ(ui.statusTexts,
              (std::vector<std::string>{"Calculating H...", "Calculating Sliding Windows (99 %)", "Ready"}));
    EXPECT_EQ(FormatPercent("%i %%", -0.5), "0 %");
    EXPECT_EQ(FormatPercent("%i %%", 1.7), "100 %");
    EXPECT_EQ(FormatPercent("(%i %%) %s", 0.5), "(50 %) %s");
}

} // namespace document_base_test
