#include "platform/db/MdbDatabase.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "platform/db/MdbChild.h"
#include "platform/db/MdbReaderTasks.h"
#include "platform/db/MdbRecordset.h"
#include "platform/db/MdbSupport.h"

namespace {

// The first bytes of every Jet and ACE database file: a page-type word, then
// the engine's signature, then the engine version at 0x14.
constexpr unsigned char kJetMagic[] = {0x00, 0x01, 0x00, 0x00};
constexpr char kJetSignature[] = "Standard Jet DB";
constexpr char kAceSignature[] = "Standard ACE DB";
constexpr std::size_t kVersionOffset = 0x14;
constexpr unsigned char kJet3 = 0x00;
constexpr unsigned char kNewestVersion = 0x06;
// The table catalog starts on page 2, so a file has three pages at least.
constexpr std::uintmax_t kMinimumPages = 3;

bool AsciiLowerEqual(char a, char b)
{
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return lower(a) == lower(b);
}

// Checks that `path` is an Access database before any reader sees it, so
// that a missing, foreign or cut-off file gets a clear message.
void CheckAccessFile(const std::string& path)
{
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (ec || !std::filesystem::exists(status))
        throw CDatabaseError("Unable to open \"" + path + "\": the file does not exist.");
    if (!std::filesystem::is_regular_file(status))
        throw CDatabaseError("Unable to open \"" + path + "\": it is not a file.");
    const std::uintmax_t size = std::filesystem::file_size(path, ec);

    unsigned char header[kVersionOffset + 1] = {};
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw CDatabaseError("Unable to open \"" + path + "\": the file cannot be read.");
    in.read(reinterpret_cast<char*>(header), sizeof header);
    const bool complete = in.gcount() == static_cast<std::streamsize>(sizeof header);
    const char* signature = reinterpret_cast<const char*>(header + sizeof kJetMagic);
    if (!complete || std::memcmp(header, kJetMagic, sizeof kJetMagic) != 0 ||
        (std::memcmp(signature, kJetSignature, sizeof kJetSignature) != 0 &&
         std::memcmp(signature, kAceSignature, sizeof kAceSignature) != 0))
        throw CDatabaseError("Unable to open \"" + path + "\": it is not an Access database.");
    const unsigned char version = header[kVersionOffset];
    if (version > kNewestVersion)
        throw CDatabaseError("Unable to open \"" + path + "\": its Access version is not known.");
    const std::uintmax_t pageSize = version == kJet3 ? 2048 : 4096;
    if (ec || size < kMinimumPages * pageSize)
        throw CDatabaseError("Unable to open \"" + path + "\": the file is incomplete.");
}

// Asks a reader process for a list of names.
std::vector<std::string> ReadNames(const std::string& what, const std::function<void(CWireWriter&)>& task)
{
    CMdbChild child(task, kMdbStallSeconds);
    std::vector<std::string> names;
    ReadReply(child, what, [&](CWireReader& in) {
        MdbMessage tag = in.Tag();
        if (tag == MdbMessage::kNames) {
            names = in.Names();
            tag = in.Tag();
        }
        if (tag == MdbMessage::kError)
            throw CDatabaseError(in.Text());
        if (tag != MdbMessage::kEnd)
            throw CWireReader::CWireClosed{};
    });
    return names;
}

// An Access file. Every reading of it is done by a reader process (see
// CMdbChild); this object keeps the file's name and its list of tables.
class CMdbDatabase : public IDatabase
{
public:
    explicit CMdbDatabase(const std::string& path) : m_path(path)
    {
        CheckAccessFile(path);
        m_tableNames = ReadNames("\"" + path + "\"", [path](CWireWriter& out) { SendTableNames(path, out); });
        // Every Access file lists its system tables: a file cut short before
        // its catalog would otherwise read as a database without tables.
        if (m_tableNames.empty())
            throw CDatabaseError("Unable to open \"" + path + "\": the file is damaged or incomplete.");
    }

    std::vector<std::string> TableNames() override { return m_tableNames; }

    std::vector<std::string> FieldNames(const std::string& table) override
    {
        const std::string name = StoredName(table);
        const std::string path = m_path;
        return ReadNames("the table \"" + name + "\" of \"" + path + "\"",
                         [path, name](CWireWriter& out) { SendFieldNames(path, name, out); });
    }

    std::unique_ptr<IRecordset> OpenRecordset(const std::string& table) override
    {
        return std::make_unique<CMdbRecordset>(m_path, StoredName(table));
    }

private:
    std::string StoredName(const std::string& table) const
    {
        const int index = FindMdbName(m_tableNames, table);
        if (index < 0)
            throw CDatabaseError("There is no table \"" + table + "\" in \"" + m_path + "\".");
        return m_tableNames[static_cast<std::size_t>(index)];
    }

    std::string m_path;
    std::vector<std::string> m_tableNames;
};

} // namespace

int FindMdbName(const std::vector<std::string>& names, const std::string& name)
{
    for (std::size_t i = 0; i < names.size(); ++i)
        if (names[i] == name)
            return static_cast<int>(i);
    int found = -1;
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string& candidate = names[i];
        if (candidate.size() == name.size() &&
            std::equal(candidate.begin(), candidate.end(), name.begin(), AsciiLowerEqual)) {
            if (found >= 0)
                return -1; // names that differ only in case: neither is meant more than the other
            found = static_cast<int>(i);
        }
    }
    return found;
}

std::unique_ptr<IDatabase> OpenMdbDatabase(const std::string& path)
{
    return std::make_unique<CMdbDatabase>(path);
}
