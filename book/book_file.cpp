#include "book/book_file.h"

#include <sys/types.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <optional>
#include <system_error>
#include <utility>

namespace book {
namespace {

std::uint64_t ReadBigEndian(const unsigned char* bytes, int count) {
  std::uint64_t value = 0;
  for (int i = 0; i < count; ++i) value = (value << 8) | bytes[i];
  return value;
}

// Seeks to byte `offset` of the file. The offset is 64 bits wide on every system: fseek's long
// is 32 bits on 32-bit Linux and on all of Windows, and would stop books at 2 GiB there.
bool SeekTo(std::FILE* file, std::uint64_t offset) {
#ifdef _WIN32
  return _fseeki64(file, static_cast<__int64>(offset), SEEK_SET) == 0;
#else
  static_assert(sizeof(off_t) >= 8, "file offsets are 64 bits (_FILE_OFFSET_BITS=64)");
  return fseeko(file, static_cast<off_t>(offset), SEEK_SET) == 0;
#endif
}

// Reads `count` whole entries from entry `first` on; false on a short read. `count` is at most
// one chunk of entries, so its bytes fit a size_t; the offset is counted in 64 bits.
bool ReadFileEntries(std::FILE* file, std::size_t first, std::size_t count, unsigned char* bytes) {
  const std::size_t want = count * kEntrySize;
  if (!SeekTo(file, static_cast<std::uint64_t>(first) * kEntrySize)) return false;
  const bool whole = std::fread(bytes, 1, want, file) == want;
  // A short read leaves the end-of-file or error flag set; the next lookup starts afresh.
  std::clearerr(file);
  return whole;
}

// Reads the whole file once, a chunk at a time, checks that the keys never decrease and
// keeps the key of every `stride`-th entry.
bool ReadKeyIndex(std::FILE* file, std::size_t entries, std::size_t stride, std::vector<std::uint64_t>& index) {
  constexpr std::size_t kChunkEntries = 4096;
  unsigned char chunk[kEntrySize * kChunkEntries];
  std::uint64_t previous = 0;
  for (std::size_t first = 0; first < entries; first += kChunkEntries) {
    const std::size_t count = entries - first < kChunkEntries ? entries - first : kChunkEntries;
    if (!ReadFileEntries(file, first, count, chunk)) return false;
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

bool BookFile::Open(const std::string& path, BookHost* host) {
  Close();
  if (host != nullptr) {
    if (std::optional<HostedBookShape> shape = host->Describe(path)) return OpenHosted(*host, std::move(*shape));
  }
  // Only a regular file is opened at all: a named pipe nobody writes to would block the open.
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return false;
  const std::uintmax_t bytes = std::filesystem::file_size(path, error);
  // Entries are counted in a size_t: on a 32-bit system that is up to 64 GiB of book.
  if (error || bytes == 0 || bytes % kEntrySize != 0 ||
      static_cast<std::size_t>(bytes / kEntrySize) != bytes / kEntrySize ||
      bytes > static_cast<std::uintmax_t>(std::numeric_limits<std::int64_t>::max())) {
    return false;
  }
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return false;
  // Every read goes to the file itself, so a book changed on disk is seen at once.
  std::setvbuf(file, nullptr, _IONBF, 0);
  const auto entries = static_cast<std::size_t>(bytes / kEntrySize);
  std::vector<std::uint64_t> index;
  if (!ReadKeyIndex(file, entries, kRunEntries, index)) {
    std::fclose(file);
    return false;
  }
  indexKeys_ = std::move(index);
  indexStride_ = kRunEntries;
  file_ = file;
  entries_ = entries;
  return true;
}

// The host's word is checked as a file is: a book with no entries, or an index that does not
// fit its size or whose keys decrease, is no book.
bool BookFile::OpenHosted(BookHost& host, HostedBookShape shape) {
  if (shape.entries == 0 || shape.stride == 0 ||
      shape.indexKeys.size() != (shape.entries - 1) / shape.stride + 1 ||
      !std::is_sorted(shape.indexKeys.begin(), shape.indexKeys.end())) {
    return false;
  }
  host_ = &host;
  hostHandle_ = shape.handle;
  entries_ = shape.entries;
  indexStride_ = shape.stride;
  indexKeys_ = std::move(shape.indexKeys);
  return true;
}

bool BookFile::ReadEntries(std::size_t first, std::size_t count, unsigned char* bytes) const {
  if (host_ != nullptr) return first <= entries_ && count <= entries_ - first && host_->Read(hostHandle_, first, count, bytes);
  return ReadFileEntries(file_, first, count, bytes);
}

void BookFile::Close() {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
  host_ = nullptr;
  entries_ = 0;
  indexKeys_.clear();
  runCount_ = 0;
}

BookEntry BookFile::Entry(std::size_t index) const {
  unsigned char read[kEntrySize];
  const unsigned char* bytes = read;
  if (index - runFirst_ < runCount_) {
    bytes = run_ + (index - runFirst_) * kEntrySize;
  } else if (!ReadEntries(index, 1, read)) {
    return BookEntry{};
  }
  BookEntry entry;
  entry.key = ReadBigEndian(bytes, 8);
  entry.move = static_cast<std::uint16_t>(ReadBigEndian(bytes + 8, 2));
  entry.weight = static_cast<std::uint16_t>(ReadBigEndian(bytes + 10, 2));
  entry.learn = static_cast<std::uint32_t>(ReadBigEndian(bytes + 12, 4));
  return entry;
}

std::pair<std::size_t, std::size_t> BookFile::FindKey(std::uint64_t key) const {
  const std::size_t entries = entryCount();
  const std::pair<std::size_t, std::size_t> miss{entries, entries};
  runCount_ = 0;
  // The first entry with this key or above is at most the first indexed entry whose key is not
  // below it (or the end), and after the indexed entry before that one.
  const std::size_t block =
      static_cast<std::size_t>(std::lower_bound(indexKeys_.begin(), indexKeys_.end(), key) - indexKeys_.begin());
  std::size_t at = block == 0 ? 0 : (block - 1) * indexStride_;
  std::size_t end = block * indexStride_ < entries ? block * indexStride_ : entries;
  // Blocks longer than a run (a host's pieces) are halved down to one run first; a file's
  // blocks are one run long, so its lookup reads one or two runs.
  while (end - at > kRunEntries) {
    const std::size_t middle = at + (end - at) / 2;
    unsigned char bytes[kEntrySize];
    if (!ReadEntries(middle, 1, bytes)) return miss;
    if (ReadBigEndian(bytes, 8) < key) {
      at = middle + 1;
    } else {
      end = middle;
    }
  }
  std::size_t first = entries;
  while (at < entries) {
    const std::size_t count = entries - at < kRunEntries ? entries - at : kRunEntries;
    runCount_ = 0;
    // A file shortened since it was opened ends the range where it can no longer be read.
    if (!ReadEntries(at, count, run_)) return {first, first == entries ? entries : at};
    runFirst_ = at;
    runCount_ = count;
    for (std::size_t i = 0; i < count; ++i) {
      const std::uint64_t entryKey = ReadBigEndian(run_ + i * kEntrySize, 8);
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
