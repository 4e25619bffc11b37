#include "python/src/SeriesDocument.h"

#include <climits>
#include <memory>
#include <utility>
#include <vector>

#include "python/src/EstimateResult.h"
#include "python/src/SeriesArgument.h"

std::shared_ptr<DocumentHolder> DocumentArgument(py::handle y, py::handle x, std::vector<std::string>& warnings)
{
    if (py::isinstance<DocumentHolder>(y)) {
        if (!x.is_none())
            throw py::value_error("x is taken with a series y, not with a kestrin.Document (it has its own X)");
        auto holder = y.cast<std::shared_ptr<DocumentHolder>>();
        // As the command line warns of an opened document: a constant series.
        std::vector<double> values;
        for (const CSeriesPoint& p : holder->doc.m_points)
            values.push_back(p.m_dY);
        if (auto w = ConstantWarning(ScanSeries(values.data(), values.size())))
            warnings.push_back(std::move(*w));
        return holder;
    }
    const SeriesArgument values = ReadSeriesArgument(y, "y");
    if (values.size > static_cast<std::size_t>(INT_MAX))
        throw py::value_error("y holds too many values for a document");
    SeriesArgument positions;
    if (!x.is_none()) {
        positions = ReadSeriesArgument(x, "x");
        if (positions.size != values.size)
            throw py::value_error("x holds " + std::to_string(positions.size) + " values and y " +
                                  std::to_string(values.size) + "; they must be as long");
    }
    const SeriesScan scan = ScanSeries(values.data, values.size);
    auto holder = std::make_shared<DocumentHolder>();
    CKestrinDoc& doc = holder->doc;
    {
        py::gil_scoped_release release;
        doc.OnNewDocument();
        std::vector<double> xs;
        auto ys = std::make_shared<CDoubleArray>();
        xs.reserve(values.size - scan.notANumber);
        ys->Reserve(values.size - scan.notANumber);
        double position = 0.0;
        for (std::size_t i = 0; i < values.size; ++i) {
            if (values.data[i] != values.data[i])
                continue;
            xs.push_back(positions.data ? positions.data[i] : position);
            ys->Add(values.data[i]);
            position += 1.0;
        }
        doc.m_points.Assign(std::move(xs), std::move(ys));
        doc.m_bHasData = 1;
        doc.RecalculateH();
        doc.SetModifiedFlag(false);
    }
    for (std::string& w : SeriesWarnings("y", scan, scan.kept))
        warnings.push_back(std::move(w));
    return holder;
}

void TakeUiWarnings(DocumentHolder& holder, std::vector<std::string>& warnings)
{
    for (std::string& w : holder.ui.warnings)
        warnings.push_back(std::move(w));
    holder.ui.warnings.clear();
    holder.ui.failures.clear();
}
