#include "message_table.h"

#include <iterator>

namespace {
// Sorted by msgid without duplicates, so that the index below holds one row per id.
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

// The parser looks a row up at the end of every frame; for the short frames of a gimbal manager a
// bisection was 7 % of the parse. The index finds it in one step: one byte per id up to the
// largest, each the row's position or noRow.
constexpr std::uint32_t indexedIds = entries[std::size(entries) - 1].msgid + 1;
static_assert(indexedIds <= 4096, "a row this high would make the index large: bisect above");
constexpr std::uint8_t noRow = 0xFF;
static_assert(std::size(entries) < noRow);

struct RowIndex
{
    std::uint8_t row[indexedIds];
};

constexpr RowIndex makeRowIndex()
{
    RowIndex index{};
    for (std::uint8_t &row : index.row)
        row = noRow;
    for (std::size_t i = 0; i < std::size(entries); ++i)
        index.row[entries[i].msgid] = static_cast<std::uint8_t>(i);
    return index;
}

constexpr RowIndex rowIndex = makeRowIndex();
} // namespace

const mavlink_msg_entry_t *mavlink_get_msg_entry(std::uint32_t msgid)
{
    if (msgid >= indexedIds || rowIndex.row[msgid] == noRow)
        return nullptr;
    return &entries[rowIndex.row[msgid]];
}

const mavlink_msg_entry_t *mavlink_msg_entries()
{
    return entries;
}

std::size_t mavlink_msg_entry_count()
{
    return std::size(entries);
}
