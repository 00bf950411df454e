// The installed brindlet-tool, started from "/": bench finds the installed suite and book the
// installed default books.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "tests/support/engine_process.h"

namespace {

std::string InstalledTool(const std::string& arguments, int* status) {
  const char* tree = std::getenv("BRINDLET_PACKAGE_TREE");
  return test_support::RunShell(std::string("cd / && '") + (tree != nullptr ? tree : "") + "/games/brindlet-tool' " +
                                    arguments,
                                status);
}

TEST(InstalledTool, BenchAndBookWorkFromAnyDirectory) {
  int status = -1;
  const std::string bench = InstalledTool("bench", &status);
  EXPECT_EQ(status, 0);
  EXPECT_NE(bench.find("total nodes 11439369\n"), std::string::npos) << bench;

  const std::string book =
      InstalledTool("book 'rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1'", &status);
  EXPECT_EQ(status, 0);
  EXPECT_NE(book.find("\nmove: e2e4\n"), std::string::npos) << book;
}

}  // namespace
