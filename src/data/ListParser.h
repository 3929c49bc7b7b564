#pragma once

#include "data/ListByteSource.h"
#include "data/ListLayout.h"
#include "data/PostalListReader.h"

#include <cstddef>

namespace torumin::detail {

// The reused read buffer: big enough that syscalls don't matter, small enough
// to stay in the cache and out of the page-fault bill.
inline constexpr std::size_t kListChunkBytes = 64 * 1024;

// Reads a whole list of the given layout from `source` (see readListBytes
// for the rules). The buffer size is a parameter so tests can put every field
// across a chunk boundary; a field longer than the buffer grows it.
ListReadResult parseList(ListByteSource &source, const ListLayout &layout, const QString &nameForMessages,
                         std::size_t chunkBytes = kListChunkBytes);

// The same for a list held in memory, read as two halves at once, one of
// them on a thread of its own: on a machine with two cores the nationwide
// list loads in little more than half the time. The table, and any problem,
// are exactly what parseList gives.
ListReadResult parseListInHalves(std::string_view bytes, const ListLayout &layout, const QString &nameForMessages,
                                 std::size_t chunkBytes = kListChunkBytes);

} // namespace torumin::detail
