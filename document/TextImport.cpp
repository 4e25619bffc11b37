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

#include "core/DecimalParse.h"
#include "core/Format.h"
#include "document/KestrinDoc.h"
#include "platform/LargeArrays.h"
#include "core/OptimumM.h"
#include "platform/RegularFile.h"
#include "platform/StatusOperation.h"
#include "platform/TextEncoding.h"
#include "platform/TextLines.h"

namespace {

constexpr std::size_t kReadChunk = 1u << 20;

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::string_view Trimmed(std::string_view s)
{
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

// Skips the digits at the start of s; returns how many there were.
std::size_t SkipDigits(std::string_view& s)
{
    std::size_t n = 0;
    while (n < s.size() && s[n] >= '0' && s[n] <= '9')
        ++n;
    s.remove_prefix(n);
    return n;
}

// Whether the line, white space around it aside, is one decimal number
// and nothing else: all of it is what ParseDecimalPrefix reads.
bool IsWhollyANumber(std::string_view line)
{
    std::string_view s = Trimmed(line);
    if (!s.empty() && (s.front() == '+' || s.front() == '-'))
        s.remove_prefix(1);
    std::size_t digits = SkipDigits(s);
    if (!s.empty() && s.front() == '.') {
        s.remove_prefix(1);
        digits += SkipDigits(s);
    }
    if (digits == 0)
        return false;
    if (!s.empty() && (s.front() == 'e' || s.front() == 'E')) {
        s.remove_prefix(1);
        if (!s.empty() && (s.front() == '+' || s.front() == '-'))
            s.remove_prefix(1);
        if (SkipDigits(s) == 0)
            return false;
    }
    return s.empty();
}

// Whether the line is a number written with a decimal comma ("1,5").
bool IsDecimalCommaNumber(std::string_view line)
{
    std::string_view s = Trimmed(line);
    if (!s.empty() && (s.front() == '+' || s.front() == '-'))
        s.remove_prefix(1);
    if (SkipDigits(s) == 0 || s.empty() || s.front() != ',')
        return false;
    s.remove_prefix(1);
    return SkipDigits(s) > 0 && s.empty();
}

// A line as a message quotes it: at most 40 bytes, cut at a character.
std::string QuotedLine(std::string_view line)
{
    constexpr std::size_t kMax = 40;
    if (line.size() <= kMax)
        return "\"" + DisplayText(line) + "\"";
    std::size_t cut = kMax;
    while (cut > 0 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80)
        --cut;
    return "\"" + DisplayText(line.substr(0, cut)) + "...\"";
}

// The lines that were not wholly a number, told once after the import: the
// import reads such a line as the number it starts with (0 when it starts
// with none), as files and callers rely on, but the user should know.
class LooseLines
{
public:
    void Line(std::uint64_t number, std::string_view line, double value)
    {
        const std::string_view trimmed = Trimmed(line);
        if (!trimmed.empty()) {
            ++m_nonBlank;
            if (IsDecimalCommaNumber(trimmed))
                ++m_decimalCommas;
        }
        if (IsWhollyANumber(line))
            return;
        if (m_count++ == 0)
            m_example = "line " + std::to_string(number) + ": " + QuotedLine(line) + " read as " +
                        FormatRoundTrip(value);
    }

    // The message to show, or nothing when every line was a number.
    std::string Message() const
    {
        if (m_count == 0)
            return {};
        if (m_decimalCommas > 0 && m_decimalCommas == m_nonBlank)
            return "Every line holds a number with a decimal comma, which the text import does not read: it reads "
                   "each as the number before the comma (" +
                   m_example +
                   "). To read decimal commas, give the file a header row and import it as a delimited-text table "
                   "with the delimiter \";\" or a tab.";
        const bool one = m_count == 1;
        return std::to_string(m_count) + (one ? " line was" : " lines were") + " not wholly a number and " +
               (one ? "was" : "were") + " read as the number " + (one ? "it starts" : "they start") + " with (" +
               m_example + ").";
    }

private:
    std::uint64_t m_count = 0;
    std::uint64_t m_nonBlank = 0;
    std::uint64_t m_decimalCommas = 0;
    std::string m_example;
};

// Whether the first bytes of a file are those of a saved document: D and M
// as 32-bit little-endian numbers within what a document may hold.
bool StartsLikeDocument(const std::string& head)
{
    if (head.size() < 8)
        return false;
    const auto int32 = [&head](std::size_t at) {
        std::uint32_t u = 0;
        for (int i = 3; i >= 0; --i)
            u = (u << 8) | static_cast<unsigned char>(head[at + static_cast<std::size_t>(i)]);
        return static_cast<std::int32_t>(u);
    };
    return IsUsableEmbedding(int32(0)) && IsUsableLagCount(int32(4));
}

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
        m_loose.Line(++m_lines, line, value);
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
    // What to say of the lines that were not wholly a number (empty: none).
    std::string LooseLinesMessage() const { return m_loose.Message(); }

private:
    double m_under;
    double m_over;
    bool m_filter;
    std::vector<double>& m_out;
    std::size_t m_infinite = 0;
    std::uint64_t m_lines = 0;
    LooseLines m_loose;
};

// The size of an open regular file, or 0 when it is not known.
std::uint64_t FileSize(std::FILE* file)
{
    struct stat st {};
    if (::fstat(::fileno(file), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size < 0)
        return 0;
    return static_cast<std::uint64_t>(st.st_size);
}

const char* const kLooksLikeDocument =
    "This is not a text file of numbers (it looks like a Kestrin document: open it instead).";
const char* const kHoldsNulBytes = "This is not a text file of numbers (it holds NUL bytes).";

// Whether error is one of the two sentences above, said as they stand.
bool IsNotTextError(const std::string& error)
{
    return error == kLooksLikeDocument || error == kHoldsNulBytes;
}

// Reads every line of the file; false with the reason in error on a read
// failure or a line too long to be one number.
bool ReadLines(std::FILE* file, LineReader& reader, std::vector<double>& values, std::string& error)
{
    const std::uint64_t fileBytes = FileSize(file);
    std::uint64_t bytesRead = 0;
    bool estimated = false;
    std::vector<char> buffer(kReadChunk);
    std::string head; // the first bytes, to recognise a document
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
            if (head.size() < 8)
                head.append(buffer.data(), std::min<std::size_t>(n, 8 - head.size()));
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
    } catch (const CTextHasNulBytes&) {
        error = StartsLikeDocument(head) ? kLooksLikeDocument : kHoldsNulBytes;
        return false;
    }
    return true;
}

// Values too large for a double are kept as infinities, as the C library
// reads them; the user is told how many there are once the import is done.
std::string InfiniteValuesMessage(std::size_t count, const std::string& name)
{
    if (count == 0)
        return {};
    const bool one = count == 1;
    return (one ? std::string("1 value of ") : std::to_string(count) + " values of ") + name +
           (one ? " is" : " are") + " too large for a number (beyond 1.8e308) and " + (one ? "was" : "were") +
           " read as infinity; H, b and r of any range holding " + (one ? "it" : "them") + " mean nothing.";
}

// What the import found worth telling, each in one message once it is done.
void ShowImportWarnings(IUiServices& ui, const std::vector<std::string>& warnings)
{
    for (const std::string& text : warnings)
        ui.MessageBox(text, MsgButtons::ok, MsgIcon::warning);
}

// The series' points: X the position, Y the value.
std::vector<double> PositionsOf(const std::vector<double>& values)
{
    std::vector<double> positions;
    ReserveLarge(positions, values.size());
    for (std::size_t i = 0; i < values.size(); ++i)
        positions.push_back(static_cast<double>(i));
    return positions;
}

} // namespace

void CKestrinDoc::FinishImport(const std::vector<std::string>& warnings)
{
    ShowImportWarnings(Ui(), warnings);
    UpdateAllViews(nullptr);
}

bool CKestrinDoc::ImportTextFile(const std::string& path, int nUnder, int nOver, bool bFilter)
{
    if (!SaveModified())
        return false;
    const std::string name = "\"" + DisplayText(path) + "\"";
    std::vector<std::string> warnings;
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
                            bFilter, warnings))
            return false;
    }
    FinishImport(warnings);
    return true;
}

bool CKestrinDoc::ImportTextStream(std::FILE* file, const std::string& name, int nUnder, int nOver, bool bFilter)
{
    if (!SaveModified())
        return false;
    std::vector<std::string> warnings;
    {
        CStatusOperation status(Ui(), "Loading Records from File...");
        if (!ReadTextSeries(file, name, name, nUnder, nOver, bFilter, warnings))
            return false;
    }
    FinishImport(warnings);
    return true;
}

bool CKestrinDoc::ReadTextSeries(std::FILE* file, const std::string& name, const std::string& title, int nUnder,
                                 int nOver, bool bFilter, std::vector<std::string>& warnings)
{
    // Read everything first: the document changes only once the whole file
    // has been read.
    std::vector<double> values;
    std::vector<double> positions;
    std::string error;
    try {
        LineReader reader(nUnder, nOver, bFilter, values);
        if (ReadLines(file, reader, values, error))
            positions = PositionsOf(values);
        for (const std::string& text : {InfiniteValuesMessage(reader.Infinite(), name), reader.LooseLinesMessage()})
            if (!text.empty())
                warnings.push_back(text);
    } catch (const std::bad_alloc&) {
        error = "there is not enough memory for so many values";
    }
    if (IsNotTextError(error)) {
        Ui().ShowError("Unable to import " + name + ". " + error);
        return false;
    }
    if (!error.empty()) {
        Ui().ShowError("Unable to read " + name + ": " + error + ".");
        return false;
    }

    DeleteContentsForImport();
    m_globalSet.m_bAutoCompute = 0;
    m_globalSet.SetD(m_nD);
    m_globalSet.SetM(m_nM);
    TakeSeries(std::move(positions), std::move(values));
    m_globalSet.Compute();
    SetModifiedFlag();
    m_bHasData = 1;
    TakeImportedName(title);
    return true;
}
