#include "message_table.h"

#include <iterator>

namespace {
// Sorted by msgid without duplicates: the lookup bisects.
constexpr mavlink_msg_entry_t entries[] = {
#include "message_entries.inc"
};

constexpr bool sortedById()
{
    for (std::size_t i = 1; i < std::size(entries); ++i) {
        if (entries[i - 1].msgid >= entries[i].msgid)
            return false;
    }
    return true;
}
static_assert(sortedById());
} // namespace

const mavlink_msg_entry_t *mavlink_get_msg_entry(std::uint32_t msgid)
{
    // Bisection that keeps the upper middle: ends on the row or on the nearest lower one.
    std::size_t low = 0;
    std::size_t high = std::size(entries) - 1;
    while (low < high) {
        const std::size_t mid = (low + 1 + high) / 2;
        if (msgid < entries[mid].msgid) {
            high = mid - 1;
        } else {
            low = mid;
            if (msgid == entries[mid].msgid)
                break;
        }
    }
    return entries[low].msgid == msgid ? &entries[low] : nullptr;
}

const mavlink_msg_entry_t *mavlink_msg_entries()
{
    return entries;
}

std::size_t mavlink_msg_entry_count()
{
    return std::size(entries);
}
