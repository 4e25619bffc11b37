// Import of a series from a text file holding one number per line.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "DecimalParse.h"
#include "KestrinDoc.h"
#include "StatusOperation.h"
#include "TextEncoding.h"

namespace {

constexpr std::size_t kReadChunk = 1u << 20;
// Only the start of a line can hold its number; of a line longer than this
// the rest is not kept (the parser would ignore it anyway unless the number
// itself were longer).
constexpr std::size_t kMaxLineKept = 1u << 20;

struct FileCloser
{
    void operator()(std::FILE* f) const { std::fclose(f); }
};

struct Accepted
{
    std::vector<CHPoint> points;
    std::vector<double> values;
};

class LineReader
{
public:
    LineReader(int nUnder, int nOver, bool bFilter, Accepted& out)
        : m_under(nUnder), m_over(nOver), m_filter(bFilter), m_out(out)
    {
    }

    void Line(const char* begin, const char* end)
    {
        const double value = ParseDecimalPrefix(std::string_view(begin, static_cast<std::size_t>(end - begin)));
        if (value != value)
            return;
        if (m_filter && !(m_under < value && value < m_over))
            return;
        CHPoint p;
        p.m_dX = static_cast<double>(m_out.points.size());
        p.m_dY = value;
        m_out.points.push_back(p);
        m_out.values.push_back(value);
    }

private:
    double m_under;
    double m_over;
    bool m_filter;
    Accepted& m_out;
};

// Reads every line of the file; false with the reason in error on a read
// failure.
bool ReadLines(std::FILE* file, LineReader& reader, std::string& error)
{
    std::vector<char> buffer(kReadChunk);
    std::string pending; // the unfinished line carried over between chunks
    bool lineOpen = false;
    for (;;) {
        const std::size_t n = std::fread(buffer.data(), 1, buffer.size(), file);
        if (n == 0) {
            if (std::ferror(file)) {
                error = std::strerror(errno);
                return false;
            }
            break;
        }
        const char* p = buffer.data();
        const char* end = p + n;
        while (p < end) {
            const char* nl = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
            if (!nl) {
                const std::size_t room = kMaxLineKept > pending.size() ? kMaxLineKept - pending.size() : 0;
                pending.append(p, std::min(room, static_cast<std::size_t>(end - p)));
                lineOpen = true;
                break;
            }
            if (lineOpen) {
                const std::size_t room = kMaxLineKept > pending.size() ? kMaxLineKept - pending.size() : 0;
                pending.append(p, std::min(room, static_cast<std::size_t>(nl - p)));
                reader.Line(pending.data(), pending.data() + pending.size());
                pending.clear();
                lineOpen = false;
            } else {
                reader.Line(p, nl);
            }
            p = nl + 1;
        }
    }
    if (lineOpen) // a last line without a line end is still a line
        reader.Line(pending.data(), pending.data() + pending.size());
    return true;
}

} // namespace

bool CKestrinDoc::ImportTextFile(const std::string& path, int nUnder, int nOver, bool bFilter)
{
    if (!SaveModified())
        return false;

    CStatusOperation status(Ui(), "Loading Records from File...");
    if (path.empty()) {
        Ui().ShowError("No file was chosen to import.");
        return false;
    }
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        Ui().ShowError("Unable to open \"" + DisplayText(path) + "\": " + std::strerror(errno) + ".");
        return false;
    }

    // Read everything first: the document changes only once the whole file
    // has been read.
    Accepted accepted;
    LineReader reader(nUnder, nOver, bFilter, accepted);
    std::string error;
    if (!ReadLines(file.get(), reader, error)) {
        Ui().ShowError("Unable to read \"" + DisplayText(path) + "\": " + error + ".");
        return false;
    }
    file.reset();

    DeleteContents();
    m_globalSet.m_bAutoCompute = 0;
    m_globalSet.SetD(m_nD);
    m_globalSet.SetM(m_nM);
    m_points.Storage() = std::move(accepted.points);
    m_globalSet.Values().Storage() = std::move(accepted.values);
    m_globalSet.Compute();
    SetModifiedFlag();
    m_bHasData = 1;
    return true;
}
