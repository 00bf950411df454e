#include "book/book_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

namespace book {
namespace {

std::uint64_t ReadBigEndian(const unsigned char* bytes, int count) {
  std::uint64_t value = 0;
  for (int i = 0; i < count; ++i) value = (value << 8) | bytes[i];
  return value;
}

bool KeysInOrder(const unsigned char* bytes, std::size_t size) {
  std::uint64_t previous = 0;
  for (std::size_t offset = 0; offset < size; offset += kEntrySize) {
    const std::uint64_t key = ReadBigEndian(bytes + offset, 8);
    if (key < previous) return false;
    previous = key;
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
  void* mapping = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
  ::close(fd);  // the mapping keeps the file alive
  if (mapping == MAP_FAILED) return false;
  const auto* bytes = static_cast<const unsigned char*>(mapping);
  if (!KeysInOrder(bytes, size)) {
    ::munmap(mapping, size);
    return false;
  }
  bytes_ = bytes;
  size_ = size;
  return true;
}

void BookFile::Close() {
  if (bytes_ != nullptr) ::munmap(const_cast<unsigned char*>(bytes_), size_);
  bytes_ = nullptr;
  size_ = 0;
}

std::uint64_t BookFile::KeyAt(std::size_t index) const {
  return ReadBigEndian(bytes_ + index * kEntrySize, 8);
}

BookEntry BookFile::Entry(std::size_t index) const {
  const unsigned char* bytes = bytes_ + index * kEntrySize;
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
