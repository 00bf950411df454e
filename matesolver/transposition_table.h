#pragma once
// What the solver has proved about positions it has met, so a position reached by
// two move orders is searched once. A call starts a new generation, which retires
// every older entry at once without clearing the table.
#include <array>
#include <cstdint>

#include "rules/rules.h"

namespace matesolver {

struct TableEntry {
  std::uint64_t key = 0;
  std::uint32_t generation = 0;
  std::uint16_t mateMove = 0;   // first move of the proved mate
  std::int8_t mateIn = 0;       // proved: mate in this many moves (0: none proved)
  std::int8_t noMateUpTo = 0;   // proved: no mate in this many moves or fewer
};

class TranspositionTable {
 public:
  static constexpr std::size_t kEntries = std::size_t{1} << 16;

  void NewSearch() {
    if (++generation_ == 0) {
      entries_.fill(TableEntry{});
      generation_ = 1;
    }
  }

  const TableEntry* Find(std::uint64_t key) const {
    const TableEntry& entry = entries_[key & (kEntries - 1)];
    return entry.key == key && entry.generation == generation_ ? &entry : nullptr;
  }

  void StoreMate(std::uint64_t key, int mateIn, rules::Move move) {
    TableEntry& entry = Slot(key);
    entry.mateIn = static_cast<std::int8_t>(mateIn);
    entry.mateMove = move.Bits();
  }

  void StoreNoMate(std::uint64_t key, int upTo) {
    TableEntry& entry = Slot(key);
    if (upTo > entry.noMateUpTo) entry.noMateUpTo = static_cast<std::int8_t>(upTo);
  }

 private:
  // The entry for `key`, emptied first when it held another position.
  TableEntry& Slot(std::uint64_t key) {
    TableEntry& entry = entries_[key & (kEntries - 1)];
    if (entry.key != key || entry.generation != generation_) entry = TableEntry{key, generation_, 0, 0, 0};
    return entry;
  }

  std::array<TableEntry, kEntries> entries_{};
  std::uint32_t generation_ = 0;
};

}  // namespace matesolver
