#include "book/book_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <utility>

namespace book {
namespace {

std::uint64_t ReadBigEndian(const unsigned char* bytes, int count) {
  std::uint64_t value = 0;
  for (int i = 0; i < count; ++i) value = (value << 8) | bytes[i];
  return value;
}

// Reads the whole file once, a chunk at a time, and checks that the keys never decrease.
bool KeysInOrder(int fd, std::size_t size) {
  unsigned char chunk[kEntrySize * 4096];
  std::uint64_t previous = 0;
  std::size_t offset = 0;
  while (offset < size) {
    const std::size_t want = size - offset < sizeof chunk ? size - offset : sizeof chunk;
    std::size_t got = 0;
    while (got < want) {
      const ssize_t n = ::pread(fd, chunk + got, want - got, static_cast<off_t>(offset + got));
      if (n <= 0) return false;
      got += static_cast<std::size_t>(n);
    }
    for (std::size_t at = 0; at < want; at += kEntrySize) {
      const std::uint64_t key = ReadBigEndian(chunk + at, 8);
      if (key < previous) return false;
      previous = key;
    }
    offset += want;
  }
  return true;
}

}  // namespace

BookFile::~BookFile() { Close(); }

bool BookFile::Open(const std::string& path) {
  Close();
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) return false;
  struct stat status {};
  if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || status.st_size <= 0 ||
      static_cast<std::uint64_t>(status.st_size) % kEntrySize != 0) {
    ::close(fd);
    return false;
  }
  const auto size = static_cast<std::size_t>(status.st_size);
  if (!KeysInOrder(fd, size)) {
    ::close(fd);
    return false;
  }
  fd_ = fd;
  size_ = size;
  return true;
}

void BookFile::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  size_ = 0;
}

bool BookFile::ReadEntryBytes(std::size_t index, unsigned char (&bytes)[kEntrySize]) const {
  return ::pread(fd_, bytes, kEntrySize, static_cast<off_t>(index * kEntrySize)) ==
         static_cast<ssize_t>(kEntrySize);
}

// A key that can no longer be read sorts last, so the search just misses.
std::uint64_t BookFile::KeyAt(std::size_t index) const {
  unsigned char bytes[kEntrySize];
  if (!ReadEntryBytes(index, bytes)) return UINT64_MAX;
  return ReadBigEndian(bytes, 8);
}

BookEntry BookFile::Entry(std::size_t index) const {
  unsigned char bytes[kEntrySize];
  if (!ReadEntryBytes(index, bytes)) return BookEntry{};
  BookEntry entry;
  entry.key = ReadBigEndian(bytes, 8);
  entry.move = static_cast<std::uint16_t>(ReadBigEndian(bytes + 8, 2));
  entry.weight = static_cast<std::uint16_t>(ReadBigEndian(bytes + 10, 2));
  entry.learn = static_cast<std::uint32_t>(ReadBigEndian(bytes + 12, 4));
  return entry;
}

std::pair<std::size_t, std::size_t> BookFile::FindKey(std::uint64_t key) const {
  // Lower bound, then upper bound, over the sorted keys.
  std::size_t low = 0;
  std::size_t high = entryCount();
  while (low < high) {
    const std::size_t middle = low + (high - low) / 2;
    if (KeyAt(middle) < key) low = middle + 1; else high = middle;
  }
  const std::size_t first = low;
  high = entryCount();
  while (low < high) {
    const std::size_t middle = low + (high - low) / 2;
    if (KeyAt(middle) <= key) low = middle + 1; else high = middle;
  }
  return {first, low};
}

}  // namespace book
