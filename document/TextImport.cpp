// Import of a series from a text file holding one number per line.
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "DecimalParse.h"
#include "KestrinDoc.h"
#include "LargeArrays.h"
#include "RegularFile.h"
#include "StatusOperation.h"
#include "TextEncoding.h"
#include "TextLines.h"

namespace {

constexpr std::size_t kReadChunk = 1u << 20;

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

    void Line(std::string_view line)
    {
        const double value = ParseDecimalPrefix(line);
        if (value != value)
            return;
        if (m_filter && !(m_under < value && value < m_over))
            return;
        if (m_out.size() == m_out.capacity())
            ReserveLarge(m_out, std::max<std::size_t>(4096, 2 * m_out.capacity()));
        m_out.push_back(value);
        if (std::isinf(value))
            ++m_infinite;
    }

    // Accepted values too large for a double, read as infinities.
    std::size_t Infinite() const { return m_infinite; }

private:
    double m_under;
    double m_over;
    bool m_filter;
    std::vector<double>& m_out;
    std::size_t m_infinite = 0;
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
// failure or a line too long to be one number.
bool ReadLines(std::FILE* file, LineReader& reader, std::vector<double>& values, std::string& error)
{
    const std::uint64_t fileBytes = FileSize(file);
    std::uint64_t bytesRead = 0;
    bool estimated = false;
    std::vector<char> buffer(kReadChunk);
    CTextLines lines([&reader](std::string_view line) { reader.Line(line); });
    try {
        for (;;) {
            const std::size_t n = std::fread(buffer.data(), 1, buffer.size(), file);
            if (n == 0) {
                if (std::ferror(file)) {
                    error = std::strerror(errno);
                    return false;
                }
                break;
            }
            lines.Feed(buffer.data(), n);
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
        lines.Finish();
    } catch (const CTextLineTooLong& e) {
        error = e.what();
        return false;
    }
    return true;
}

// Values too large for a double are kept as infinities, as the C library
// reads them; the user is told how many there are once the import is done.
void WarnOfInfiniteValues(IUiServices& ui, std::size_t count, const std::string& name)
{
    if (count == 0)
        return;
    const bool one = count == 1;
    ui.MessageBox((one ? std::string("1 value of ") : std::to_string(count) + " values of ") + name +
                      (one ? " is" : " are") + " too large for a number (beyond 1.8e308) and " +
                      (one ? "was" : "were") + " read as infinity; H, b and r of any range holding " +
                      (one ? "it" : "them") + " mean nothing.",
                  MsgButtons::ok, MsgIcon::warning);
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
    const std::string name = "\"" + DisplayText(path) + "\"";
    std::size_t infinite = 0;
    {
        CStatusOperation status(Ui(), "Loading Records from File...");
        if (path.empty()) {
            Ui().ShowError("No file was chosen to import.");
            return false;
        }
        std::string error;
        std::unique_ptr<std::FILE, FileCloser> file(OpenRegularFile(path, error));
        if (!file) {
            Ui().ShowError("Unable to open " + name + ": " + error + ".");
            return false;
        }
        if (!ReadTextSeries(file.get(), name, std::filesystem::path(path).filename().string(), nUnder, nOver,
                            bFilter, infinite))
            return false;
    }
    WarnOfInfiniteValues(Ui(), infinite, name);
    return true;
}

bool CKestrinDoc::ImportTextStream(std::FILE* file, const std::string& name, int nUnder, int nOver, bool bFilter)
{
    if (!SaveModified())
        return false;
    std::size_t infinite = 0;
    {
        CStatusOperation status(Ui(), "Loading Records from File...");
        if (!ReadTextSeries(file, name, name, nUnder, nOver, bFilter, infinite))
            return false;
    }
    WarnOfInfiniteValues(Ui(), infinite, name);
    return true;
}

bool CKestrinDoc::ReadTextSeries(std::FILE* file, const std::string& name, const std::string& title, int nUnder,
                                 int nOver, bool bFilter, std::size_t& infinite)
{
    // Read everything first: the document changes only once the whole file
    // has been read.
    std::vector<double> values;
    std::vector<CHPoint> points;
    std::string error;
    try {
        LineReader reader(nUnder, nOver, bFilter, values);
        if (ReadLines(file, reader, values, error))
            points = PointsOf(values);
        infinite = reader.Infinite();
    } catch (const std::bad_alloc&) {
        error = "there is not enough memory for so many values";
    }
    if (!error.empty()) {
        Ui().ShowError("Unable to read " + name + ": " + error + ".");
        return false;
    }

    DeleteContentsForImport();
    m_globalSet.m_bAutoCompute = 0;
    m_globalSet.SetD(m_nD);
    m_globalSet.SetM(m_nM);
    m_points.Storage() = std::move(points);
    m_globalSet.Values().Storage() = std::move(values);
    m_globalSet.Compute();
    SetModifiedFlag();
    m_bHasData = 1;
    TakeImportedName(title);
    return true;
}
