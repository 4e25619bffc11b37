#pragma once

#include <cassert>
#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

#include "core/HPoint.h"
#include "core/SeriesPoint.h"

// A growable, zero-based array of values. New elements are value-initialised
// (zero records, 0.0). Elements may move when the array grows.
template <class T>
class CGrowArray
{
public:
    int GetSize() const { return static_cast<int>(m_data.size()); }
    bool IsEmpty() const { return m_data.empty(); }

    void SetSize(int n) { m_data.resize(n > 0 ? static_cast<std::size_t>(n) : 0u); }
    void Reserve(std::size_t n) { m_data.reserve(n); }

    const T& GetAt(int i) const { assert(i >= 0 && i < GetSize()); return m_data[static_cast<std::size_t>(i)]; }
    T& operator[](int i) { assert(i >= 0 && i < GetSize()); return m_data[static_cast<std::size_t>(i)]; }
    const T& operator[](int i) const { return GetAt(i); }

    // Appends one element; returns its index.
    int Add(const T& v) { m_data.push_back(v); return GetSize() - 1; }

    // Empties the array and releases its storage.
    void RemoveAll() { std::vector<T>().swap(m_data); }

    T* GetData() { return m_data.data(); }
    const T* GetData() const { return m_data.data(); }
    auto begin() { return m_data.begin(); }
    auto end() { return m_data.end(); }
    auto begin() const { return m_data.begin(); }
    auto end() const { return m_data.end(); }

    std::vector<T>& Storage() { return m_data; }
    const std::vector<T>& Storage() const { return m_data; }

    bool operator==(const CGrowArray&) const = default;

private:
    std::vector<T> m_data;
};

using CHPointArray = CGrowArray<CHPoint>;
using CDoubleArray = CGrowArray<double>;

// Values held by more than one owner, each of which changes them only after
// taking a copy of its own (see CSeriesArray and CHDataSet).
using CSharedValues = std::shared_ptr<CDoubleArray>;

// The values as their holder's own to change: made when there are none,
// copied first while anyone else holds them.
inline CDoubleArray& OwnValues(CSharedValues& values)
{
    if (!values)
        values = std::make_shared<CDoubleArray>();
    else if (values.use_count() > 1)
        values = std::make_shared<CDoubleArray>(*values);
    return *values;
}

// The series array, kept in a header of its own, comes with this one.
#include "core/SeriesArray.h"
