// Import of a series from a table of a database file: X from one field, Y
// from another, one point per record in the order the table delivers them.
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <exception>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "document/KestrinDoc.h"
#include "platform/LargeArrays.h"
#include "platform/StatusOperation.h"
#include "platform/TextEncoding.h"

namespace {

constexpr const char* kLoadFailed = "Kestrin: Unable to open database!";

// Everything read from the table, before the document takes it.
struct TableSeries
{
    std::vector<double> positions;
    std::vector<double> values;
    std::int64_t records = 0;
    std::int64_t skipped = 0;
    // The first record, counted from 1, whose X is below the X before it;
    // 0 when X never decreases.
    std::int64_t firstDecrease = 0;
};

// A text value with one comma and no point, read where the comma is the
// decimal mark: the comma becomes a point ("1,5" reads 1.5; "1,234,5" and
// "1.5,2" stay as they are and are no number).
void TakeDecimalComma(CDbVariant& value)
{
    if (value.vt != kVtBstr)
        return;
    const std::size_t comma = value.s.find(',');
    if (comma == std::string::npos || value.s.find(',', comma + 1) != std::string::npos ||
        value.s.find('.') != std::string::npos)
        return;
    value.s[comma] = '.';
}

// Checks the file, then walks every record of the table; throws
// CDatabaseError on any failure of the database (a damaged file included)
// and std::bad_alloc when memory runs out.
TableSeries ReadTable(IDatabase& db, const std::string& table, const std::string& xField,
                      const std::string& yField)
{
    TableSeries series;
    db.CheckIntegrity();
    std::unique_ptr<IRecordset> records = db.OpenRecordset(table);
    const int x = records->FieldIndex(xField);
    const int y = records->FieldIndex(yField);
    // Room for every record at once when the table can say how many it
    // holds at most: the arrays are then never grown and copied.
    const std::int64_t bound = records->RecordCountBound();
    if (bound > 0) {
        const auto count = static_cast<std::size_t>(std::min<std::int64_t>(bound, INT_MAX));
        ReserveLarge(series.positions, count);
        ReserveLarge(series.values, count);
    }
    const bool decimalComma = records->ReadsDecimalComma();
    const auto number = [&](int field) {
        CDbVariant value = records->GetFieldValue(field);
        if (decimalComma)
            TakeDecimalComma(value);
        return CKestrinDoc::VariantToDouble(std::move(value));
    };
    while (!records->IsEOF()) {
        ++series.records;
        const std::optional<double> xv = number(x);
        const std::optional<double> yv = number(y);
        if (xv && yv) {
            // The series counts its points in an int.
            if (series.positions.size() >= static_cast<std::size_t>(INT_MAX))
                throw CDatabaseError("the table holds more records than a series can");
            if (series.firstDecrease == 0 && !series.positions.empty() && *xv < series.positions.back())
                series.firstDecrease = series.records;
            series.positions.push_back(*xv);
            series.values.push_back(*yv);
        } else {
            ++series.skipped;
        }
        records->MoveNext();
    }
    return series;
}

std::string SkippedMessage(std::int64_t skipped)
{
    if (skipped == 1)
        return "1 record was skipped because its X or Y value is empty or not a number.";
    return std::to_string(skipped) + " records were skipped because their X or Y value is empty or not a number.";
}

} // namespace

std::optional<double> CKestrinDoc::VariantToDouble(CDbVariant value)
{
    const std::optional<double> number = ::VariantToDouble(value);
    if (!number || !std::isfinite(*number))
        return std::nullopt;
    return number;
}

bool CKestrinDoc::ImportDatabase(const std::string& database, const std::string& table, const std::string& xField,
                                 const std::string& yField)
{
    if (!SaveModified())
        return false;
    return LoadFromDatabase(database, table, xField, yField);
}

bool CKestrinDoc::LoadFromDatabase(const std::string& database, const std::string& table,
                                   const std::string& xField, const std::string& yField)
{
    if (database.empty() || table.empty() || xField.empty() || yField.empty()) {
        Ui().ShowError(std::string(kLoadFailed) + "\nNo database file, table or field was named.");
        return false;
    }

    TableSeries series;
    std::string error;
    {
        CStatusOperation status(Ui(), "Loading Records...");
        try {
            if (!m_openDatabase)
                throw CDatabaseError("no database access is available");
            m_database = m_openDatabase(database);
            if (!m_database)
                throw CDatabaseError("the file could not be opened");
            series = ReadTable(*m_database, table, xField, yField);
        } catch (const std::bad_alloc&) {
            error = "There is not enough memory for so many records.";
        } catch (const std::exception& e) {
            error = DisplayText(e.what());
            if (error.empty())
                error = "The database could not be read.";
        }
        // The connection is open only while the table is read.
        m_database.reset();
    }
    if (!error.empty()) {
        Ui().ShowError(std::string(kLoadFailed) + "\n" + error);
        return false;
    }

    // A table without records loads as an empty series, as an empty text
    // file does; one whose every record lacks a number is refused.
    if (series.positions.empty() && series.skipped > 0) {
        Ui().MessageBox("Kestrin: no record of the table \"" + DisplayText(table) +
                            "\" has a numeric X and Y value; nothing was imported.\n" + SkippedMessage(series.skipped),
                        MsgButtons::ok, MsgIcon::warning);
        return false;
    }

    // The whole table has been read: only now does the document change.
    DeleteContentsForImport();
    m_strDatabase = database;
    m_strTable = table;
    m_strXField = xField;
    m_strYField = yField;
    m_globalSet.m_bAutoCompute = 0;
    m_globalSet.SetD(m_nD);
    m_globalSet.SetM(m_nM);
    TakeSeries(std::move(series.positions), std::move(series.values));
    m_globalSet.m_bAutoCompute = 1;
    m_globalSet.Compute();
    SetModifiedFlag();
    m_bHasData = 1;
    TakeImportedName(table);

    std::vector<std::string> warnings;
    if (series.skipped > 0)
        warnings.push_back(SkippedMessage(series.skipped));
    // The series is drawn and estimated in the table's order: a shuffled X
    // usually means the wrong field was taken for the sequence.
    if (series.firstDecrease > 0)
        warnings.push_back("X decreases at record " + std::to_string(series.firstDecrease) +
                           ": is the sequence field right?");
    FinishImport(warnings);
    return true;
}
