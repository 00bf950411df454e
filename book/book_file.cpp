#include "book/book_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <utility>

namespace book {
namespace {

std::uint64_t ReadBigEndian(const unsigned char* bytes, int count) {
  std::uint64_t value = 0;
  for (int i = 0; i < count; ++i) value = (value << 8) | bytes[i];
  return value;
}

// Reads `count` whole entries from entry `first` on; false on a short read.
bool ReadEntries(int fd, std::size_t first, std::size_t count, unsigned char* bytes) {
  std::size_t got = 0;
  const std::size_t want = count * kEntrySize;
  while (got < want) {
    const ssize_t n = ::pread(fd, bytes + got, want - got, static_cast<off_t>(first * kEntrySize + got));
    if (n <= 0) return false;
    got += static_cast<std::size_t>(n);
  }
  return true;
}

// Reads the whole file once, a chunk at a time, checks that the keys never decrease and
// keeps the key of every `stride`-th entry.
bool ReadKeyIndex(int fd, std::size_t entries, std::size_t stride, std::vector<std::uint64_t>& index) {
  constexpr std::size_t kChunkEntries = 4096;
  unsigned char chunk[kEntrySize * kChunkEntries];
  std::uint64_t previous = 0;
  for (std::size_t first = 0; first < entries; first += kChunkEntries) {
    const std::size_t count = entries - first < kChunkEntries ? entries - first : kChunkEntries;
    if (!ReadEntries(fd, first, count, chunk)) return false;
    for (std::size_t i = 0; i < count; ++i) {
      const std::uint64_t key = ReadBigEndian(chunk + i * kEntrySize, 8);
      if (key < previous) return false;
      if ((first + i) % stride == 0) index.push_back(key);
      previous = key;
    }
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
  std::vector<std::uint64_t> index;
  if (!ReadKeyIndex(fd, size / kEntrySize, kIndexStride, index)) {
    ::close(fd);
    return false;
  }
  indexKeys_ = std::move(index);
  fd_ = fd;
  size_ = size;
  return true;
}

void BookFile::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  size_ = 0;
  indexKeys_.clear();
}

bool BookFile::ReadEntryBytes(std::size_t index, unsigned char (&bytes)[kEntrySize]) const {
  return ::pread(fd_, bytes, kEntrySize, static_cast<off_t>(index * kEntrySize)) ==
         static_cast<ssize_t>(kEntrySize);
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
  const std::size_t entries = entryCount();
  // The first entry with this key or above lies in the block before the first indexed key
  // that is not below it (or in block 0).
  const std::size_t block =
      static_cast<std::size_t>(std::lower_bound(indexKeys_.begin(), indexKeys_.end(), key) - indexKeys_.begin());
  std::size_t at = block == 0 ? 0 : (block - 1) * kIndexStride;
  std::size_t first = entries;
  unsigned char run[kEntrySize * kIndexStride];
  while (at < entries) {
    const std::size_t count = entries - at < kIndexStride ? entries - at : kIndexStride;
    // A file shortened since it was opened ends the range where it can no longer be read.
    if (!ReadEntries(fd_, at, count, run)) return {first, first == entries ? entries : at};
    for (std::size_t i = 0; i < count; ++i) {
      const std::uint64_t entryKey = ReadBigEndian(run + i * kEntrySize, 8);
      if (first == entries) {
        if (entryKey > key) return {at + i, at + i};
        if (entryKey == key) first = at + i;
      } else if (entryKey != key) {
        return {first, at + i};
      }
    }
    at += count;
  }
  return {first, entries};
}

}  // namespace book
