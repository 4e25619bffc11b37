#pragma once

#include <algorithm>
#include <vector>

#include <QPoint>

// A polyline reduced to the vertices that shape each pixel column: the
// series, and the sliding-window curve in the files written out. Drawn with
// a pen of whole pixels, the reduced line covers the pixels the full one
// does.

// Consecutive vertices of the line in one pixel column. Every segment
// between them is vertical, so together they cover exactly the rows lo..hi
// of that column; the run enters at first and leaves from last.
struct CColumnRun
{
    int col;
    int first;
    int lo;
    int hi;
    int last;
    bool multi; // more than one vertex: the run has segments of its own
};

inline CColumnRun SingleRun(int col, int y)
{
    return {col, y, y, y, y, false};
}

// Turns runs, given in order, into vertices. A run that continues in the
// next block's first run (same column) is merged with it before it is
// written.
template <class Sink>
class CRunJoiner
{
public:
    explicit CRunJoiner(Sink& sink) : m_sink(sink) {}

    void Add(const CColumnRun& run)
    {
        if (m_hasPending && run.col == m_pending.col) {
            m_pending.lo = std::min(m_pending.lo, run.lo);
            m_pending.hi = std::max(m_pending.hi, run.hi);
            m_pending.last = run.last;
            m_pending.multi = true; // joined by the segment between the two
            return;
        }
        if (m_hasPending)
            Write(m_pending);
        m_pending = run;
        m_hasPending = true;
    }

    void Finish()
    {
        if (m_hasPending)
            Write(m_pending);
        m_hasPending = false;
    }

private:
    // first, then the extremes, then last: the vertical segments between
    // them cover lo..hi again. Repeated vertices are left out where a
    // segment of the run already covers them; a run whose vertices all share
    // one pixel keeps its one zero-length segment, as drawing every segment
    // would draw it.
    void Write(const CColumnRun& run)
    {
        const int x = run.col;
        m_sink.Add(QPoint(x, run.first));
        if (!run.multi)
            return;
        if (run.lo == run.hi) {
            m_sink.Add(QPoint(x, run.last));
            return;
        }
        int at = run.first;
        auto to = [&](int y) {
            if (y != at)
                m_sink.Add(QPoint(x, y));
            at = y;
        };
        if (run.first == run.lo) {
            to(run.hi);
        } else if (run.first == run.hi) {
            to(run.lo);
        } else {
            to(run.lo);
            to(run.hi);
        }
        to(run.last);
    }

    Sink& m_sink;
    CColumnRun m_pending{};
    bool m_hasPending = false;
};

// Collects the vertices in order, to be drawn as one polyline.
struct CPathSink
{
    std::vector<QPoint> vertices;
    void Add(const QPoint& pt) { vertices.push_back(pt); }
};
