#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

#include "platform/db/MdbReaderTasks.h"
#include "platform/db/MdbWire.h"
#include "tests/support/TestSupport.h"

namespace mdb_reader_tasks_test {

// The reader processes' work, run here in the test's own process so that the
// sanitizers watch every call into mdbtools (the reader processes leave
// without a leak check), and so the messages can be read back exactly.
namespace {

// Runs a task with its messages going to a file, and returns a reader of them.
class TaskOutput
{
public:
    template <typename Task>
    explicit TaskOutput(Task task)
    {
        const std::string path = m_dir.File("messages");
        {
            const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            CWireWriter out(fd);
            task(out);
            out.Flush();
            ::close(fd);
        }
        m_fd = ::open(path.c_str(), O_RDONLY);
    }
    ~TaskOutput() { ::close(m_fd); }
    CWireReader Reader() const { return CWireReader(m_fd, 1); }

private:
    TempDir m_dir;
    int m_fd = -1;
};

} // namespace

TEST(MdbReaderTasks, TableNamesThenEnd)
{
    TaskOutput output([](CWireWriter& out) { SendTableNames(DbFixture("mixed.mdb"), out); });
    CWireReader in = output.Reader();
    ASSERT_EQ(in.Tag(), MdbMessage::kNames);
    const std::vector<std::string> names = in.Names();
    ASSERT_EQ(names.size(), 7u);
    EXPECT_EQ(names[5], "Mixed");
    EXPECT_EQ(names[6], "Unsorted");
    EXPECT_EQ(in.Tag(), MdbMessage::kEnd);
    EXPECT_THROW(in.Tag(), CWireReader::CWireClosed);
}

TEST(MdbReaderTasks, RecordsTravelWithEveryType)
{
    TaskOutput output([](CWireWriter& out) { SendRecords(DbFixture("types.mdb"), "Readings", out); });
    CWireReader in = output.Reader();
    ASSERT_EQ(in.Tag(), MdbMessage::kNames);
    const std::vector<std::string> fields = in.Names();
    ASSERT_EQ(fields.size(), 9u);
    std::vector<std::vector<CDbVariant>> rows;
    MdbMessage tag;
    while ((tag = in.Tag()) == MdbMessage::kRow) {
        std::vector<CDbVariant> row;
        for (std::size_t i = 0; i < fields.size(); ++i)
            row.push_back(in.Value());
        rows.push_back(row);
    }
    EXPECT_EQ(tag, MdbMessage::kEnd);
    ASSERT_EQ(rows.size(), 20u);
    const std::vector<CDbVariant>& r17 = rows[16];
    EXPECT_EQ(r17[0].i, 17);
    EXPECT_EQ(r17[1].vt, kVtDate);
    EXPECT_EQ(VariantToText(r17[1]), "2001-03-20 22:00:00");
    EXPECT_EQ(r17[3].vt, kVtR4);
    EXPECT_EQ(r17[3].d, 4.25);
    EXPECT_EQ(r17[4].vt, kVtBool);
    EXPECT_EQ(r17[4].i, 1);
    EXPECT_EQ(r17[5].i, 10643978);
    EXPECT_EQ(r17[6].i, 700);
    EXPECT_EQ(r17[7].i, 170);
    EXPECT_EQ(r17[8].s, "温度");
    EXPECT_EQ(rows[6][8].vt, kVtNull);
}

TEST(MdbReaderTasks, FailuresAreAnsweredWithAText)
{
    {
        TaskOutput output([](CWireWriter& out) { SendFieldNames(DbFixture("series.mdb"), "temp", out); });
        CWireReader in = output.Reader();
        // Names reach the reader exactly as the file spells them.
        ASSERT_EQ(in.Tag(), MdbMessage::kError);
        EXPECT_EQ(in.Text(), "There is no table \"temp\".");
    }
    {
        TempDir dir;
        const std::string path = dir.File("cut.mdb");
        std::vector<std::uint8_t> bytes = ReadFileBytes(DbFixture("series.mdb"));
        bytes.resize(300000);
        WriteFile(path, std::string(bytes.begin(), bytes.end()));
        TaskOutput output([&](CWireWriter& out) { SendRecords(path, "Series", out); });
        CWireReader in = output.Reader();
        ASSERT_EQ(in.Tag(), MdbMessage::kNames);
        in.Names();
        std::size_t rows = 0;
        MdbMessage tag;
        while ((tag = in.Tag()) == MdbMessage::kRow) {
            in.Value();
            in.Value();
            ++rows;
        }
        ASSERT_EQ(tag, MdbMessage::kError);
        EXPECT_EQ(in.Text(), "The table \"Series\" ends after " + std::to_string(rows) +
                                 " of its 100000 records: the file is damaged or incomplete.");
    }
}

} // namespace mdb_reader_tasks_test
