#pragma once

#include "data/ListByteSource.h"
#include "data/ListLayout.h"
#include "data/PostalListReader.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string_view>

namespace torumin::detail {

// The reused read buffer: big enough that syscalls don't matter, small enough
// to stay in the cache and out of the page-fault bill.
inline constexpr std::size_t kListChunkBytes = 64 * 1024;

// Reads a whole list of the given layout from `source` (see readListBytes
// for the rules). The buffer size is a parameter so tests can put every field
// across a chunk boundary; a field longer than the buffer grows it.
ListReadResult parseList(ListByteSource &source, const ListLayout &layout, const QString &nameForMessages,
                         std::size_t chunkBytes = kListChunkBytes);

// Where the first line after the start of `bytes` begins: just past its LF,
// the one line end that cannot be the first half of a CR LF.
std::optional<std::size_t> lineEndAfter(std::string_view bytes) noexcept;

// What reads the whole list in one pass, when its halves cannot be joined.
using WholeListRead = std::function<ListReadResult()>;

// Reads a list in two halves at once, `tail` on a thread of its own: `head`
// gives its bytes up to the end of a line, `tail` those after. On a machine
// with two cores the nationwide list loads in little more than half the
// time. The table, and any problem, are exactly what one pass gives: where
// the halves cannot tell (any problem, a line end inside quotes, encodings
// that disagree), `whole` reads the list instead.
ListReadResult parseListInHalves(ListByteSource &head, ListByteSource &tail, const WholeListRead &whole,
                                 const ListLayout &layout, const QString &nameForMessages,
                                 std::size_t chunkBytes = kListChunkBytes);

// The same for a list held in memory, split after a line end near the middle.
ListReadResult parseListInHalves(std::string_view bytes, const ListLayout &layout, const QString &nameForMessages,
                                 std::size_t chunkBytes = kListChunkBytes);

} // namespace torumin::detail
