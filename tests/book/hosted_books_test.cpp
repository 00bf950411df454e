#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "book/book_file.h"
#include "tests/support/engine_process.h"

namespace {

using test_support::RunShell;
using test_support::TempDir;

const std::filesystem::path kRoot = std::filesystem::path(BRINDLET_TEST_DATA).parent_path().parent_path();
constexpr std::size_t kPieceEntries = 4096;  // as the site cuts its books

std::uint64_t KeyAt(const std::vector<unsigned char>& book, std::size_t entry) {
  std::uint64_t key = 0;
  for (std::size_t i = 0; i < 8; ++i) key = (key << 8) | book[16 * entry + i];
  return key;
}

// A book served in pieces, as the browser's host serves the site's: the shape from the pieces'
// first keys, each read from the pieces it spans, noting which pieces were read.
class PiecedBook : public book::BookHost {
 public:
  explicit PiecedBook(std::vector<unsigned char> bytes) : bytes_(std::move(bytes)) {}
  std::optional<book::HostedBookShape> Describe(const std::string& path) override {
    if (path != "pieced.bin") return std::nullopt;
    book::HostedBookShape shape;
    shape.entries = bytes_.size() / 16;
    shape.stride = kPieceEntries;
    for (std::size_t entry = 0; entry < shape.entries; entry += kPieceEntries) shape.indexKeys.push_back(KeyAt(bytes_, entry));
    return shape;
  }
  bool Read(int, std::size_t first, std::size_t count, unsigned char* bytes) override {
    for (std::size_t entry = first; entry < first + count; ++entry) piecesRead.insert(entry / kPieceEntries);
    std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(16 * first), 16 * count, bytes);
    return true;
  }
  std::set<std::size_t> piecesRead;

 private:
  std::vector<unsigned char> bytes_;
};

// Every key of both default books, and 10,000 keys in neither, give the same entries read in
// pieces as read from the file, and a lookup reads only the pieces its entries lie in.
TEST(HostedBooks, PiecedBooksAnswerEveryKeyAsTheirFilesDo) {
  TempDir dir;
  int status = -1;
  RunShell("bash " + (kRoot / "scripts" / "make-books.sh").string() + " " + dir.path().string(), &status);
  ASSERT_EQ(status, 0);
  std::mt19937_64 random(20261210);
  for (const char* name : {"tourbook.bin", "mainbook.bin"}) {
    std::ifstream stream(dir.File(name), std::ios::binary);
    const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(stream), {}};
    const std::size_t entries = bytes.size() / 16;
    std::vector<std::uint64_t> keys;
    std::set<std::uint64_t> known;
    for (std::size_t entry = 0; entry < entries; ++entry) {
      if (known.insert(KeyAt(bytes, entry)).second) keys.push_back(KeyAt(bytes, entry));
    }
    for (int added = 0; added < 10000;) {
      const std::uint64_t key = random();
      if (!known.count(key)) keys.push_back(key), ++added;
    }
    keys.push_back(0);
    keys.push_back(~std::uint64_t{0});

    PiecedBook host(bytes);
    book::BookFile file;
    book::BookFile pieced;
    ASSERT_TRUE(file.Open(dir.File(name)));
    ASSERT_TRUE(pieced.Open("pieced.bin", &host));
    ASSERT_EQ(pieced.entryCount(), entries);
    for (const std::uint64_t key : keys) {
      host.piecesRead.clear();
      const auto range = file.FindKey(key);
      ASSERT_EQ(pieced.FindKey(key), range) << name << " key " << key;
      const std::size_t lastPiece = (range.second == range.first ? range.first : range.second - 1) / kPieceEntries;
      for (const std::size_t piece : host.piecesRead) {
        EXPECT_TRUE(piece + 1 >= range.first / kPieceEntries && piece <= lastPiece + 1) << name << " key " << key;
      }
      for (std::size_t entry = range.first; entry < range.second; ++entry) {
        ASSERT_EQ(pieced.Entry(entry).move, file.Entry(entry).move);
        ASSERT_EQ(pieced.Entry(entry).weight, file.Entry(entry).weight);
      }
    }
  }
}

}  // namespace
