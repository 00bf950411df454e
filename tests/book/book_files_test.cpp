#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "book/book.h"
#include "book/book_file.h"
#include "book/entry_points.h"
#include "tests/book/book_lookup.h"
#include "tests/book/book_writer.h"
#include "tests/support/engine_process.h"

namespace {

using book_test::BookBytes;
using book_test::FindOpening;
using book_test::kStart;
using book_test::kStartKey;
using book_test::MoveField;
using book_test::RawEntry;
using book_test::WriteFile;

constexpr const char* kAfterE4 = "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1";
constexpr std::uint64_t kAfterE4Key = 0x823c9b50fd114196ULL;

const std::string kGoodBook = BookBytes({
    {kStartKey, MoveField("e2", "e4"), 10},
    {kAfterE4Key, MoveField("c7", "c5"), 10},
});

class BookFiles : public ::testing::Test {
 protected:
  void TearDown() override { book::CloseBooks(); }
  std::string Path(const char* name) const { return dir_.File(name); }
  test_support::TempDir dir_;
};

// Each bad file alone opens nothing; beside a good book it leaves the good one working.
struct BadFileCase {
  const char* what;
  void (*make)(const std::string& path);
};

const BadFileCase kBadFiles[] = {
    {"missing", [](const std::string&) {}},
    {"empty", [](const std::string& path) { WriteFile(path, ""); }},
    {"size not a multiple of 16", [](const std::string& path) { WriteFile(path, kGoodBook + "x"); }},
    {"truncated mid-entry", [](const std::string& path) { WriteFile(path, kGoodBook.substr(0, 16 + 9)); }},
    {"shorter than one entry", [](const std::string& path) { WriteFile(path, kGoodBook.substr(0, 15)); }},
    {"keys out of order",
     [](const std::string& path) {
       WriteFile(path, BookBytes({{kAfterE4Key, MoveField("c7", "c5"), 1}, {kStartKey, MoveField("d2", "d4"), 1}}));
     }},
    {"a directory", [](const std::string& path) { std::filesystem::create_directory(path); }},
    {"a named pipe nobody writes to", [](const std::string& path) { mkfifo(path.c_str(), 0644); }},
    {"text instead of a book",
     [](const std::string& path) { WriteFile(path, std::string(4096, 'z') + "not a book, just letters!!!!!!!!"); }},
};

TEST_F(BookFiles, ABadFileAloneOpensNothing) {
  for (const BadFileCase& c : kBadFiles) {
    SCOPED_TRACE(c.what);
    const std::string path = Path(c.what);
    c.make(path);
    EXPECT_FALSE(book::OpenBooks(path, path));
    EXPECT_FALSE(book::IsBookOpen(book::BookSlot::kTour));
    EXPECT_FALSE(book::IsBookOpen(book::BookSlot::kMain));
    EXPECT_EQ(FindOpening(kStart), std::nullopt);
    book::CloseBooks();
  }
}

TEST_F(BookFiles, ABadFileBesideAGoodOneLeavesTheGoodOneWorking) {
  const std::string good = Path("good.bin");
  WriteFile(good, kGoodBook);
  for (const BadFileCase& c : kBadFiles) {
    SCOPED_TRACE(c.what);
    const std::string bad = Path(c.what);
    std::filesystem::remove_all(bad);
    c.make(bad);
    EXPECT_TRUE(book::OpenBooks(bad, good));
    EXPECT_EQ(FindOpening(kStart), "e2e4");
    EXPECT_TRUE(book::OpenBooks(good, bad));
    EXPECT_EQ(FindOpening(kAfterE4), "c7c5");
    book::CloseBooks();
  }
}

TEST_F(BookFiles, AFileWithoutReadPermissionOpensNothing) {
  const std::string path = Path("locked.bin");
  WriteFile(path, kGoodBook);
  ASSERT_EQ(chmod(path.c_str(), 0), 0);
  ASSERT_EQ(chmod(dir_.path().c_str(), 0755), 0);
  // Root reads any file, so the book is opened by a child that has given up root.
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(3);
    _exit(book::OpenBooks(path, path) ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 1);
}

TEST_F(BookFiles, NamesUseBackslashesAsSeparatorsAndAreRelativeToTheWorkingDirectory) {
  std::filesystem::create_directory(Path("sub"));
  WriteFile(Path("sub/main.bin"), kGoodBook);
  const std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(dir_.path());
  const int32_t opened = INITIALIZE(".\\tourbook.bin", ".\\sub\\main.bin");
  std::filesystem::current_path(before);
  EXPECT_EQ(opened, 0);
  EXPECT_FALSE(book::IsBookOpen(book::BookSlot::kTour));
  EXPECT_TRUE(book::IsBookOpen(book::BookSlot::kMain));
  EXPECT_EQ(FindOpening(kStart), "e2e4");
}

TEST_F(BookFiles, NoNamesOpenNothing) {
  EXPECT_NE(INITIALIZE(nullptr, nullptr), 0);
  EXPECT_NE(INITIALIZE("", ""), 0);
}

TEST_F(BookFiles, CloseReleasesTheBooksAndASecondCloseIsHarmless) {
  const std::string good = Path("good.bin");
  WriteFile(good, kGoodBook);
  ASSERT_TRUE(book::OpenBooks(good, good));
  book::CloseBooks();
  EXPECT_FALSE(book::IsBookOpen(book::BookSlot::kTour));
  EXPECT_EQ(FindOpening(kStart), std::nullopt);
  book::CloseBooks();
  // The books can be opened again after a close.
  ASSERT_TRUE(book::OpenBooks("", good));
  EXPECT_EQ(FindOpening(kStart), "e2e4");
}

TEST_F(BookFiles, ReopeningReplacesTheBooksOpenBefore) {
  const std::string good = Path("good.bin");
  WriteFile(good, kGoodBook);
  ASSERT_TRUE(book::OpenBooks(good, ""));
  EXPECT_FALSE(book::OpenBooks(Path("missing.bin"), ""));
  EXPECT_EQ(FindOpening(kStart), std::nullopt);
}

TEST_F(BookFiles, ABookShortenedOrRewrittenWhileOpenGivesMissesNotACrash) {
  const std::string good = Path("good.bin");
  WriteFile(good, kGoodBook);
  ASSERT_TRUE(book::OpenBooks("", good));
  std::filesystem::resize_file(good, 0);
  EXPECT_EQ(FindOpening(kStart), std::nullopt);
  EXPECT_EQ(FindOpening(kAfterE4), std::nullopt);
  // Rewritten in place with other bytes: still only legal moves, or a miss.
  WriteFile(good, std::string(kGoodBook.size(), '\xff'));
  EXPECT_EQ(FindOpening(kStart), std::nullopt);
}

TEST_F(BookFiles, KeyRangesAreExactAcrossTheIndexBlocks) {
  // Runs of equal keys of many lengths, several of them crossing the 64-entry blocks.
  std::vector<RawEntry> entries;
  std::vector<std::uint64_t> keys;
  for (std::uint64_t key = 10, run = 1; entries.size() < 700; key += 3, run = run % 90 + 7) {
    for (std::uint64_t i = 0; i < run; ++i) {
      entries.push_back({key, MoveField("e2", "e4"), 1});
      keys.push_back(key);
    }
  }
  const std::string path = Path("runs.bin");
  WriteFile(path, BookBytes(entries));
  book::BookFile file;
  ASSERT_TRUE(file.Open(path));
  for (std::uint64_t key = 0; key <= keys.back() + 5; ++key) {
    const auto [low, high] = std::equal_range(keys.begin(), keys.end(), key);
    const auto [first, last] = file.FindKey(key);
    EXPECT_EQ(last - first, static_cast<std::size_t>(high - low)) << key;
    if (low != high) {
      EXPECT_EQ(first, static_cast<std::size_t>(low - keys.begin())) << key;
    }
  }
}

}  // namespace
