#pragma once

#include <cstddef>
#include <vector>

// Asks the system to back a large, freshly allocated array with huge pages:
// touching the pages of a new array of millions of records is otherwise a
// large part of an import or an open (one fault per 4 KiB). Only a hint;
// nothing depends on it being taken.
void AdviseHugePages(const void* data, std::size_t bytes);

// Makes room for count elements in one allocation, with the hint above.
template <class T>
void ReserveLarge(std::vector<T>& v, std::size_t count)
{
    if (count <= v.capacity())
        return;
    std::vector<T> bigger;
    bigger.reserve(count);
    AdviseHugePages(bigger.data(), count * sizeof(T));
    bigger.insert(bigger.end(), v.begin(), v.end());
    v.swap(bigger);
}
