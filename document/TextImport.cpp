// Import of a series from a text file holding one number per line.
#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include <sys/stat.h>

#include "DecimalParse.h"
#include "KestrinDoc.h"
#include "LargeArrays.h"
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

// Collects the accepted values, one per line. The points are built from them
// once the whole file has been read (X is the position, Y the value).
class LineReader
{
public:
    LineReader(int nUnder, int nOver, bool bFilter, std::vector<double>& out)
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
        if (m_out.size() == m_out.capacity())
            ReserveLarge(m_out, std::max<std::size_t>(4096, 2 * m_out.capacity()));
        m_out.push_back(value);
    }

private:
    double m_under;
    double m_over;
    bool m_filter;
    std::vector<double>& m_out;
};

// The size of an open regular file, or 0 when it is not known.
std::uint64_t FileSize(std::FILE* file)
{
    struct stat st {};
    if (::fstat(::fileno(file), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size < 0)
        return 0;
    return static_cast<std::uint64_t>(st.st_size);
}

// Reads every line of the file; false with the reason in error on a read
// failure.
bool ReadLines(std::FILE* file, LineReader& reader, std::vector<double>& values, std::string& error)
{
    const std::uint64_t fileBytes = FileSize(file);
    std::uint64_t bytesRead = 0;
    bool estimated = false;
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
        bytesRead += n;
        if (!estimated && fileBytes > bytesRead && !values.empty()) {
            // From the first chunk, guess how many values the whole file
            // holds (a little over), so that the storage is allocated once
            // instead of grown and copied step by step. The guess can never
            // exceed one value per byte.
            estimated = true;
            const double perByte = static_cast<double>(values.size()) / static_cast<double>(bytesRead);
            const double guess = std::min(perByte * 1.0625 * static_cast<double>(fileBytes) + 4096.0,
                                          static_cast<double>(fileBytes) + 1.0);
            ReserveLarge(values, static_cast<std::size_t>(guess));
        }
    }
    if (lineOpen) // a last line without a line end is still a line
        reader.Line(pending.data(), pending.data() + pending.size());
    return true;
}

// The series' points: X the position, Y the value, everything else zero.
std::vector<CHPoint> PointsOf(const std::vector<double>& values)
{
    std::vector<CHPoint> points;
    ReserveLarge(points, values.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        CHPoint p;
        p.m_dX = static_cast<double>(i);
        p.m_dY = values[i];
        points.push_back(p);
    }
    return points;
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
    std::vector<double> values;
    std::vector<CHPoint> points;
    std::string error;
    try {
        LineReader reader(nUnder, nOver, bFilter, values);
        if (ReadLines(file.get(), reader, values, error))
            points = PointsOf(values);
    } catch (const std::bad_alloc&) {
        error = "there is not enough memory for so many values";
    }
    if (!error.empty()) {
        Ui().ShowError("Unable to read \"" + DisplayText(path) + "\": " + error + ".");
        return false;
    }
    file.reset();

    DeleteContents();
    m_globalSet.m_bAutoCompute = 0;
    m_globalSet.SetD(m_nD);
    m_globalSet.SetM(m_nM);
    m_points.Storage() = std::move(points);
    m_globalSet.Values().Storage() = std::move(values);
    m_globalSet.Compute();
    SetModifiedFlag();
    m_bHasData = 1;
    TakeImportedName(std::filesystem::path(path).filename().string());
    return true;
}
