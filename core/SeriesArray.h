#pragma once

#include <cassert>
#include <compare>
#include <cstddef>
#include <iterator>
#include <memory>
#include <utility>
#include <vector>

#include "core/GrowArray.h"
#include "core/SeriesPoint.h"

// A series: its positions (X) and its values (Y) kept in two arrays, 16 bytes
// a point. The values are held through a shared handle so that the estimator
// of the whole series can read the very same storage (see
// CHDataSet::ShareValues); a change to them first takes a copy of its own
// while anyone else holds them, so a copy of a series or an estimator never
// sees another's changes. Points are read and written by value.
class CSeriesArray
{
public:
    class const_iterator
    {
    public:
        using iterator_category = std::random_access_iterator_tag;
        using value_type = CSeriesPoint;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = CSeriesPoint;

        const_iterator() = default;
        const_iterator(const CSeriesArray* a, std::ptrdiff_t i) : m_a(a), m_i(i) {}

        CSeriesPoint operator*() const { return m_a->GetAt(static_cast<int>(m_i)); }
        CSeriesPoint operator[](std::ptrdiff_t n) const { return *(*this + n); }
        const_iterator& operator++() { ++m_i; return *this; }
        const_iterator operator++(int) { const_iterator t = *this; ++m_i; return t; }
        const_iterator& operator--() { --m_i; return *this; }
        const_iterator operator--(int) { const_iterator t = *this; --m_i; return t; }
        const_iterator& operator+=(std::ptrdiff_t n) { m_i += n; return *this; }
        const_iterator& operator-=(std::ptrdiff_t n) { m_i -= n; return *this; }
        friend const_iterator operator+(const_iterator it, std::ptrdiff_t n) { return it += n; }
        friend const_iterator operator+(std::ptrdiff_t n, const_iterator it) { return it += n; }
        friend const_iterator operator-(const_iterator it, std::ptrdiff_t n) { return it -= n; }
        friend std::ptrdiff_t operator-(const const_iterator& a, const const_iterator& b) { return a.m_i - b.m_i; }
        friend bool operator==(const const_iterator& a, const const_iterator& b) { return a.m_i == b.m_i; }
        friend auto operator<=>(const const_iterator& a, const const_iterator& b) { return a.m_i <=> b.m_i; }

    private:
        const CSeriesArray* m_a = nullptr;
        std::ptrdiff_t m_i = 0;
    };

    int GetSize() const { return static_cast<int>(m_x.size()); }
    bool IsEmpty() const { return m_x.empty(); }

    void SetSize(int n)
    {
        const std::size_t size = n > 0 ? static_cast<std::size_t>(n) : 0u;
        m_x.resize(size);
        OwnYs().Storage().resize(size);
    }
    void Reserve(std::size_t n)
    {
        m_x.reserve(n);
        OwnYs().Reserve(n);
    }

    CSeriesPoint GetAt(int i) const
    {
        assert(i >= 0 && i < GetSize());
        const std::size_t k = static_cast<std::size_t>(i);
        return CSeriesPoint{.m_dY = m_y->Storage()[k], .m_dX = m_x[k]};
    }
    CSeriesPoint operator[](int i) const { return GetAt(i); }
    void Set(int i, const CSeriesPoint& p)
    {
        assert(i >= 0 && i < GetSize());
        m_x[static_cast<std::size_t>(i)] = p.m_dX;
        OwnYs()[i] = p.m_dY;
    }
    void SetX(int i, double x)
    {
        assert(i >= 0 && i < GetSize());
        m_x[static_cast<std::size_t>(i)] = x;
    }
    void SetY(int i, double y)
    {
        assert(i >= 0 && i < GetSize());
        OwnYs()[i] = y;
    }

    // Appends one point; returns its index.
    int Add(const CSeriesPoint& p)
    {
        OwnYs().Add(p.m_dY);
        m_x.push_back(p.m_dX);
        return GetSize() - 1;
    }

    // Empties the series and releases (its share of) the storage.
    void RemoveAll()
    {
        std::vector<double>().swap(m_x);
        m_y.reset();
    }

    // Takes over positions and values of the same length.
    void Assign(std::vector<double> xs, CSharedValues ys)
    {
        assert(ys ? ys->Storage().size() == xs.size() : xs.empty());
        m_x = std::move(xs);
        m_y = std::move(ys);
    }

    const double* Xs() const { return m_x.data(); }
    const double* Ys() const { return m_y ? m_y->GetData() : nullptr; }
    // The values' storage, to be shared read-only (empty when there are none).
    const CSharedValues& SharedYs() const { return m_y; }

    const_iterator begin() const { return const_iterator(this, 0); }
    const_iterator end() const { return const_iterator(this, static_cast<std::ptrdiff_t>(m_x.size())); }

    friend bool operator==(const CSeriesArray& a, const CSeriesArray& b)
    {
        return a.m_x == b.m_x && (a.m_x.empty() || a.m_y->Storage() == b.m_y->Storage());
    }

private:
    CDoubleArray& OwnYs() { return OwnValues(m_y); }

    std::vector<double> m_x;
    CSharedValues m_y; // as many as m_x; null when there are none
};
