#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <vector>

#include "book/book_host.h"

namespace book {

// One 16-byte book entry, decoded from its big-endian bytes.
struct BookEntry {
  std::uint64_t key = 0;
  std::uint16_t move = 0;
  std::uint16_t weight = 0;
  std::uint32_t learn = 0;
};

inline constexpr std::size_t kEntrySize = 16;

// A Polyglot book read in place. It opens only a regular, readable, non-empty file whose
// size is a multiple of 16 and whose keys never decrease; lookups are binary searches that
// read single entries from the file, so the book is never copied into memory of ours.
// Entries are read through an unbuffered standard stream rather than a mapping: a book that
// another program shortens or rewrites while the engine runs then gives misses, never a
// SIGBUS, and the same code serves every system the engine is built for. The key of
// every 64th entry is kept from the opening check, so a lookup reads one or two 1 KiB runs
// of entries instead of searching the file a read at a time. A book the host serves
// (book_host.h) is read through the host instead, indexed by the first keys of its pieces.
class BookFile {
 public:
  BookFile() = default;
  ~BookFile();
  BookFile(const BookFile&) = delete;
  BookFile& operator=(const BookFile&) = delete;

  // Opens the book at `path` (already in this system's form), closing any book held before:
  // the host's, when a host is given and serves that book, else the file.
  bool Open(const std::string& path, BookHost* host = nullptr);
  void Close();
  bool isOpen() const { return file_ != nullptr || host_ != nullptr; }
  std::size_t entryCount() const { return entries_; }

  // Entry `index` in file order; index must be below entryCount(). An entry that can no
  // longer be read comes back as all zero bits (move 0 is no move). Entries of the run the
  // last FindKey read come from memory.
  BookEntry Entry(std::size_t index) const;
  // The file-order range [first, last) of entries with this key.
  std::pair<std::size_t, std::size_t> FindKey(std::uint64_t key) const;

 private:
  static constexpr std::size_t kRunEntries = 64;

  bool OpenHosted(BookHost& host, HostedBookShape shape);
  // Reads `count` (at most one run) whole entries from entry `first` on; false on a short read.
  bool ReadEntries(std::size_t first, std::size_t count, unsigned char* bytes) const;

  std::FILE* file_ = nullptr;
  BookHost* host_ = nullptr;
  int hostHandle_ = 0;
  std::size_t entries_ = 0;
  std::size_t indexStride_ = kRunEntries;
  std::vector<std::uint64_t> indexKeys_;  // the key of entries 0, stride, 2 * stride, ...
  // The run of entries FindKey read last: the entries of the range it found are taken from
  // here, not read again one by one.
  mutable unsigned char run_[kEntrySize * kRunEntries];
  mutable std::size_t runFirst_ = 0;
  mutable std::size_t runCount_ = 0;
};

}  // namespace book
