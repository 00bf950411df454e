#pragma once
// Books that the host serves in place of files: the browser build's default books, which the
// site ships cut into pieces that arrive over the network. The host knows each such book's
// size and the first key of every piece from the pieces' index, and reads entries from the
// pieces, waiting for one that has not arrived yet, so a lookup in a hosted book gives what
// the whole file gives. Natively no host is set and every book is a file.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace book {

// What the host tells of a book it serves: entries are filed in pieces of `stride` entries
// (the last may be shorter), and `indexKeys` holds the key of entries 0, stride, 2 * stride...
struct HostedBookShape {
  int handle = 0;
  std::size_t entries = 0;
  std::size_t stride = 0;
  std::vector<std::uint64_t> indexKeys;
};

class BookHost {
 public:
  virtual ~BookHost() = default;
  // The shape of the book at `path`, or nothing when the host does not serve that book.
  virtual std::optional<HostedBookShape> Describe(const std::string& path) = 0;
  // Reads `count` whole entries from entry `first` on into `bytes`; false when they cannot be
  // had. It may wait: the host returns only once it has the bytes or has given up.
  virtual bool Read(int handle, std::size_t first, std::size_t count, unsigned char* bytes) = 0;
};

// The host asked by every later OpenBooks; nullptr (the default) for files only.
void SetBookHost(BookHost* host);

}  // namespace book
