#pragma once

#include <vector>

namespace velmora {

// Bottom-up merge sort of positions 0..count-1. Every access is bounds-checked by
// construction, so a comparison that is not a strict weak order (file-name orders mixing
// numbers and texts can form cycles) yields some order instead of reading past the array.
template <typename Less>
std::vector<int> SortedPositions(int count, Less less)
{
    std::vector<int> order(size_t(count > 0 ? count : 0));
    for (int i = 0; i < count; ++i)
        order[size_t(i)] = i;
    std::vector<int> buffer(order.size());
    for (size_t width = 1; width < order.size(); width *= 2) {
        for (size_t left = 0; left < order.size(); left += 2 * width) {
            const size_t middle = std::min(left + width, order.size());
            const size_t right = std::min(left + 2 * width, order.size());
            size_t a = left, b = middle, out = left;
            while (a < middle && b < right)
                buffer[out++] = less(order[b], order[a]) ? order[b++] : order[a++];
            while (a < middle)
                buffer[out++] = order[a++];
            while (b < right)
                buffer[out++] = order[b++];
        }
        order.swap(buffer);
    }
    return order;
}

} // namespace velmora
