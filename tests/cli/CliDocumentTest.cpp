// kestrin-cli import and info: text file to document and back, and what
// happens with documents that are missing or damaged.
#include <filesystem>

#include "tests/support/CliRunner.h"
#include "tests/support/SeriesBuilders.h"
#include "platform/HeadlessUi.h"
#include "document/KestrinDoc.h"

namespace cli_document_test {

namespace {

using CliDocument = CliTest;

const std::vector<double> kZigzag{1, 3, 2, 5, 4, 6, 5, 8, 7, 9};

TEST_F(CliDocument, ImportedDocumentShowsTheSameEstimateAsTheTextFile)
{
    const std::string text = WriteValues("zigzag.txt", kZigzag);
    const JsonValue imported = RunJson({"import", text, "-o", "zigzag.kst", "--json"});
    EXPECT_EQ(imported["points"].Number(), 10);
    EXPECT_EQ(imported["output"].String(), "zigzag.kst");

    const JsonValue estimate = RunJson({"estimate", text, "--json"});
    const JsonValue info = RunJson({"info", Path("zigzag.kst"), "--json"});
    EXPECT_EQ(info["D"].Number(), 4);
    EXPECT_EQ(info["M"].Number(), 3);
    EXPECT_EQ(info["database"].String(), "");
    EXPECT_EQ(info["has_data"].Number(), 1);
    EXPECT_EQ(info["h_series"].Number(), 0);
    EXPECT_EQ(info["spacing"].Number(), 1);
    EXPECT_EQ(info["point_count"].Number(), 10);
    EXPECT_EQ(info["window_count"].Number(), 0);
    const JsonValue& global = info["estimator"];
    EXPECT_EQ(global["n"].Number(), 10);
    EXPECT_EQ(global["D"].Number(), 4);
    EXPECT_EQ(global["M"].Number(), 3);
    EXPECT_EQ(global["H"].Number(), estimate["H"].Number());
    EXPECT_EQ(global["b"].Number(), estimate["b"].Number());
    EXPECT_EQ(global["r"].Number(), estimate["r"].Number());
    ASSERT_EQ(global["lags"].Size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(global["lags"][i]["L"].Number(), estimate["lags"][i]["L"].Number());
        EXPECT_EQ(global["lags"][i]["log10_L_over_r"].Number(), estimate["lags"][i]["log10_L_over_r"].Number());
    }
    // Lists come only when asked for.
    EXPECT_FALSE(info.Has("points"));
    EXPECT_FALSE(info.Has("windows"));
    EXPECT_FALSE(global.Has("values"));

    const CliResult human = Run({"info", Path("zigzag.kst")});
    EXPECT_EQ(human.exitCode, 0);
    EXPECT_NE(human.out.find("database    \"\"\n"), std::string::npos) << human.out;
    EXPECT_NE(human.out.find("M'          3\nD'          4\n"), std::string::npos) << human.out;
}

// A document made by profile records what it is the profile of; info says
// so, and says nothing of it for any other document.
TEST_F(CliDocument, ProfileDocumentRecordsItsSource)
{
    const std::string text = WriteValues("zigzag.txt", kZigzag); // mean 5
    ASSERT_EQ(Run({"profile", text, "-o", "p.kst"}).exitCode, 0);
    const JsonValue info = RunJson({"info", Path("p.kst"), "--json"});
    EXPECT_EQ(info["profile_of"]["source"].String(), "zigzag.txt");
    EXPECT_EQ(info["profile_of"]["mean"].Number(), 5.0);
    const CliResult human = Run({"info", Path("p.kst")});
    EXPECT_NE(human.out.find("\nmade as     profile of \"zigzag.txt\", its mean 5 removed\n"), std::string::npos)
        << human.out;

    // The profile of a document names the document.
    ASSERT_EQ(Run({"profile", Path("p.kst"), "-o", "pp.kst"}).exitCode, 0);
    EXPECT_EQ(RunJson({"info", Path("pp.kst"), "--json"})["profile_of"]["source"].String(), "p.kst");

    ASSERT_EQ(Run({"import", text, "-o", "plain.kst"}).exitCode, 0);
    EXPECT_FALSE(RunJson({"info", Path("plain.kst"), "--json"}).Has("profile_of"));
    EXPECT_EQ(Run({"info", Path("plain.kst")}).out.find("made as"), std::string::npos);
}

TEST_F(CliDocument, FilteredImportKeepsRenumberedPointsAndValues)
{
    RunJson({"import", WriteValues("zigzag.txt", kZigzag), "-o", "f.kst", "--filter", "3", "7", "--json"});
    const JsonValue info = RunJson({"info", Path("f.kst"), "--points", "--values", "--windows", "--json"});
    // Between 3 and 7: 5, 4, 6, 5, numbered X = 0..3.
    const std::vector<double> kept{5, 4, 6, 5};
    ASSERT_EQ(info["points"].Size(), kept.size());
    ASSERT_EQ(info["estimator"]["values"].Size(), kept.size());
    for (std::size_t i = 0; i < kept.size(); ++i) {
        EXPECT_EQ(info["points"][i]["X"].Number(), static_cast<double>(i));
        EXPECT_EQ(info["points"][i]["Y"].Number(), kept[i]);
        EXPECT_EQ(info["estimator"]["values"][i].Number(), kept[i]);
    }
    EXPECT_EQ(info["windows"].Size(), 0u);

    const CliResult text = Run({"info", Path("f.kst"), "--points", "--values"});
    EXPECT_NE(text.out.find("Points\nX  Y\n0  5\n1  4\n2  6\n3  5\n"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("Values\ni  value\n0      5\n"), std::string::npos) << text.out;
}

TEST_F(CliDocument, InfoShowsNamesAndWindowsAsSaved)
{
    // A document as the workbench leaves it after a database import and a
    // sliding-window run; names in the old single-byte code page.
    {
        CHeadlessUi ui;
        CKestrinDoc doc(ui);
        doc.OnNewDocument();
        doc.m_strDatabase = "Nil\xe9 \"Roda\"";
        doc.m_strTable = "levels\\minima";
        doc.m_strXField = "year\tA.D.";
        doc.m_strYField = "cm";
        doc.m_nSpacing = 7;
        doc.m_bHasData = 1;
        CHPoint w;
        w.m_dX = 12.5;
        w.m_dY = 0.1;
        w.m_dR = -0.99;
        w.m_dB = -1.9;
        w.m_nCount = 40;
        doc.m_windows.Add(w);
        ASSERT_TRUE(doc.OnSaveDocument(Path("db.kst")));
    }
    const JsonValue info = RunJson({"info", Path("db.kst"), "--windows", "--json"});
    EXPECT_EQ(info["database"].String(), "Nil\u00e9 \"Roda\"");
    EXPECT_EQ(info["table"].String(), "levels\\minima");
    EXPECT_EQ(info["x_field"].String(), "year\tA.D.");
    EXPECT_EQ(info["y_field"].String(), "cm");
    EXPECT_EQ(info["spacing"].Number(), 7);
    ASSERT_EQ(info["windows"].Size(), 1u);
    const JsonValue& window = info["windows"][0];
    EXPECT_EQ(window["X"].Number(), 12.5);
    EXPECT_EQ(window["H"].Number(), 0.1);
    EXPECT_EQ(window["r"].Number(), -0.99);
    EXPECT_EQ(window["b"].Number(), -1.9);
    EXPECT_EQ(window["n"].Number(), 40);

    const CliResult text = Run({"info", Path("db.kst"), "--windows"});
    EXPECT_NE(text.out.find("database    \"Nil\u00e9 \\\"Roda\\\"\"\n"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("X field     \"year\\tA.D.\"\n"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("12.5  0.100000  -0.990000  -1.900000  40\n"), std::string::npos) << text.out;
}

TEST_F(CliDocument, MissingOrDamagedDocumentsFailWithTheReason)
{
    const CliResult missing = Run({"info", Path("nowhere.kst")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.out, "");
    EXPECT_NE(missing.err.find("nowhere.kst"), std::string::npos) << missing.err;
    EXPECT_NE(missing.err.find("No such file"), std::string::npos) << missing.err;

    RunJson({"import", WriteValues("zigzag.txt", kZigzag), "-o", "whole.kst", "--json"});
    const std::string whole = ReadFile(Path("whole.kst"));
    // Cut inside the series, inside the estimator and one byte short.
    for (const std::size_t keep : {std::size_t{30}, whole.size() / 2, whole.size() - 1}) {
        const std::string cut = WriteFile("cut.kst", whole.substr(0, keep));
        const CliResult r = Run({"info", cut});
        EXPECT_EQ(r.exitCode, 1) << keep;
        EXPECT_EQ(r.out, "") << keep;
        EXPECT_NE(r.err.find("damaged"), std::string::npos) << keep << ": " << r.err;
    }

    const CliResult text = Run({"info", Path("zigzag.txt")});
    EXPECT_EQ(text.exitCode, 1);
    EXPECT_NE(text.err.find("not a Kestrin document"), std::string::npos) << text.err;

    const CliResult directory = Run({"info", Path(".")});
    EXPECT_EQ(directory.exitCode, 1);
    EXPECT_NE(directory.err.find("Cannot open"), std::string::npos) << directory.err;
    EXPECT_NE(directory.err.find("it is a folder"), std::string::npos) << directory.err;
}

TEST_F(CliDocument, FailedImportsAndSavesLeaveNoDocument)
{
    const CliResult missing = Run({"import", Path("nowhere.txt"), "-o", "x.kst"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.err.find("Unable to open"), std::string::npos) << missing.err;
    EXPECT_FALSE(std::filesystem::exists(Path("x.kst")));

    const std::string text = WriteValues("zigzag.txt", kZigzag);
    const CliResult noDirectory = Run({"import", text, "-o", Path("no/such/dir/x.kst")});
    EXPECT_EQ(noDirectory.exitCode, 1);
    EXPECT_NE(noDirectory.err.find("Unable to save"), std::string::npos) << noDirectory.err;

    // Saving over the text being imported would destroy it.
    const std::string before = ReadFile(text);
    const CliResult over = Run({"import", text, "--output", "./zigzag.txt"});
    EXPECT_EQ(over.exitCode, 2);
    EXPECT_NE(over.err.find("is the file being imported"), std::string::npos) << over.err;
    EXPECT_EQ(ReadFile(text), before);

    const CliResult noOutput = Run({"import", text});
    EXPECT_EQ(noOutput.exitCode, 2);
    EXPECT_NE(noOutput.err.find("missing -o"), std::string::npos) << noOutput.err;
}

TEST_F(CliDocument, ImportReplacesAnExistingDocument)
{
    RunJson({"import", WriteValues("long.txt", kZigzag), "-o", "doc.kst", "--json"});
    const CliResult r = Run({"import", WriteValues("short.txt", {1, 2, 3}), "-o", "doc.kst"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "Imported 3 values from \"" + Path("short.txt") + "\" into \"doc.kst\".\n");
    EXPECT_EQ(RunJson({"info", "doc.kst", "--json"})["point_count"].Number(), 3);
}

// info and meta-h say what the H they show must be read with, in the
// words of estimate; a document whose H values need nothing says nothing.
TEST_F(CliDocument, InfoAndMetaHWarnOfTheHTheyShow)
{
    const std::string kShort = "Estimates from fewer than 128 values vary by 0.1 or more; use the bootstrap to see how far.";
    ASSERT_EQ(Run({"import", WriteValues("zigzag.txt", kZigzag), "-o", "zigzag.kst"}).exitCode, 0);
    const JsonValue info = RunJson({"info", Path("zigzag.kst"), "--json"});
    ASSERT_TRUE(info.Has("warnings"));
    ASSERT_EQ(info["warnings"].Size(), 1u);
    EXPECT_EQ(info["warnings"][0].String(), kShort);
    EXPECT_EQ(Run({"info", Path("zigzag.kst")}).err, "kestrin-cli: info: warning: " + kShort + "\n");

    ASSERT_EQ(Run({"import", WriteValues("walk.txt", RandomWalk(400, 3)), "-o", "walk.kst"}).exitCode, 0);
    EXPECT_FALSE(RunJson({"info", Path("walk.kst"), "--json"}).Has("warnings"));
    EXPECT_EQ(Run({"info", Path("walk.kst")}).err, "");

    const JsonValue metaH = RunJson({"meta-h", Path("walk.kst"), "--width", "100", "--spacing", "10", "--json"});
    bool said = false;
    for (std::size_t i = 0; i < metaH["warnings"].Size(); ++i)
        said = said || metaH["warnings"][i].String() == "Meta H: " + kShort;
    EXPECT_TRUE(said);
}

} // namespace

} // namespace cli_document_test
