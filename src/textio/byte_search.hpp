#pragma once
// Searching bytes backwards, with standard C++ only (memrchr is a GNU extension).

#include <algorithm>
#include <iterator>

namespace ww3b {

// The last `byte` in [begin, end), nullptr when there is none.
inline const char* findLast(const char* begin, const char* end, char byte) {
    const auto found = std::find(std::make_reverse_iterator(end), std::make_reverse_iterator(begin), byte);
    return found.base() == begin ? nullptr : std::prev(found.base());
}

}  // namespace ww3b
