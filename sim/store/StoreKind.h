// The two kinds of message store, which treat an item's entry id differently when it moves: a
// personal-folders file keeps it (within the store, and on the way to Deleted Items); a server
// mailbox gives the item a new one. A sent message lands in Sent Items as a new item in both.
#pragma once

namespace plexa::sim {

enum class StoreKind { Pst, Exchange };

}  // namespace plexa::sim
