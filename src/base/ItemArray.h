#pragma once

#include <algorithm>
#include <vector>

namespace velmora {

// The growable array the rows live in. It grows the way the framework array it stands in
// for did: to max(n, capacity + step), where step is the grow-by value when set, otherwise
// count / 8 clamped to 4..1024, so a long walk reallocates rarely.
template <typename T>
class CArray
{
public:
    int GetSize() const { return int(m_items.size()); }
    int GetAllocSize() const { return int(m_items.capacity()); }
    bool IsEmpty() const { return m_items.empty(); }
    void SetGrowBy(int growBy) { m_growBy = growBy; }

    T &operator[](int index) { return m_items[size_t(index)]; }
    const T &operator[](int index) const { return m_items[size_t(index)]; }
    T &ElementAt(int index) { return m_items[size_t(index)]; }

    int Add(T item)
    {
        Reserve(GetSize() + 1);
        m_items.push_back(std::move(item));
        return GetSize() - 1;
    }
    void InsertAt(int index, T item)
    {
        Reserve(GetSize() + 1);
        m_items.insert(m_items.begin() + index, std::move(item));
    }
    void RemoveAt(int index) { m_items.erase(m_items.begin() + index); }
    void SetSize(int count)
    {
        Reserve(count);
        m_items.resize(size_t(count));
    }
    // Room for count rows at once, when a caller knows how many are coming: a walk of a
    // folder with 100,000 entries would otherwise move its rows a hundred times.
    void Preallocate(int count)
    {
        if (count > GetAllocSize())
            m_items.reserve(size_t(count));
    }
    // Gives back the room reserved beyond the rows held.
    void FreeExtra() { m_items.shrink_to_fit(); }
    void RemoveAll()
    {
        m_items.clear();
        m_items.shrink_to_fit();
    }

    auto begin() { return m_items.begin(); }
    auto end() { return m_items.end(); }
    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

private:
    void Reserve(int count)
    {
        const int capacity = GetAllocSize();
        if (count <= capacity)
            return;
        const int step = m_growBy > 0 ? m_growBy : std::clamp(GetSize() / 8, 4, 1024);
        m_items.reserve(size_t(std::max(count, capacity + step)));
    }

    std::vector<T> m_items;
    int m_growBy = 0;
};

} // namespace velmora
