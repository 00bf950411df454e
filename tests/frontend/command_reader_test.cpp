#include "frontend/command_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using frontend::ByteInput;

// Every item the stream rules cut from the input, up to the end of input.
std::vector<std::string> Items(std::string_view text) {
  ByteInput input = ByteInput::FromText(text);
  std::vector<std::string> items;
  for (;;) {
    frontend::ReadResult read = frontend::ReadCommand(input);
    if (read.endOfInput && read.item.empty()) break;
    items.push_back(read.item);
    if (read.endOfInput) break;
  }
  return items;
}

using Strings = std::vector<std::string>;

TEST(ReadCommand, ItemRules) {
  struct Case {
    std::string input;
    Strings items;
  };
  const Case cases[] = {
      {"uci\n", {"uci"}},
      {"  \tisready\n", {"isready"}},
      {"isready \n", {"isready "}},
      {"isready,uci\n", {"isready", "uci"}},
      {"isready\r\nuci\r\n", {"isready", "uci"}},
      {"isready\ruci\n", {"isready", "uci"}},
      {"isready\r\r\nuci", {"isready", "", "uci"}},
      {"\n\n", {"", ""}},
      {",\n", {"", ""}},
      {"\"is ready, now\"\n", {"is ready, now"}},
      {"\"isready\"  ,uci\n", {"isready", "uci"}},
      {"\"isready\"uci\n", {"isready", "uci"}},
      {"\"isready\" \t\nuci\n", {"isready", "uci"}},
      {"\"open\nuci\n", {"open", "uci"}},
      {"a\"b\"c\n", {"a\"b\"c"}},
      {"go,,go\n", {"go", "", "go"}},
      {"uci", {"uci"}},
      {"  ", {}},
      {"", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(Items(c.input), c.items) << "input: " << c.input;
}

TEST(ReadCommand, BytesAreTakenAsTheyAre) {
  const std::string binary("is\0re\xff\xfe" "ady\n", 11);
  EXPECT_EQ(Items(binary), Strings{std::string("is\0re\xff\xfe" "ady", 10)});
}

TEST(ReadCommand, LongLineIsCutEvery4096Bytes) {
  const std::string first(4096, 'x');
  const std::string second(4096, 'y');
  // The cut takes blanks and one line end that follow it; the rest starts the next item.
  EXPECT_EQ(Items(first + second + "zz\n"), (Strings{first, second, "zz"}));
  EXPECT_EQ(Items(first + "  \nuci\n"), (Strings{first, "uci"}));
  EXPECT_EQ(Items(first + " ,uci\n"), (Strings{first, "uci"}));
  EXPECT_EQ(Items(first + " x\n"), (Strings{first, "x"}));
  EXPECT_EQ(Items("\"" + first + "\"\n"), (Strings{first, ""}));
}

TEST(ReadCommand, TenMegabytesWithoutLineEndStayInBoundedItems) {
  const std::string flood(10 * 1024 * 1024, 'a');
  ByteInput input = ByteInput::FromText(flood);
  size_t count = 0;
  for (;;) {
    const frontend::ReadResult read = frontend::ReadCommand(input);
    ASSERT_LE(read.item.size(), frontend::kMaxItemLength);
    if (!read.item.empty()) ++count;
    if (read.endOfInput) break;
  }
  EXPECT_EQ(count, flood.size() / frontend::kMaxItemLength);
}

TEST(ReadConsoleCommand, TakesFirstItemOfEachLine) {
  ByteInput input = ByteInput::FromText("isready,uci\n  uci extra\n\"go\" now\nquit");
  EXPECT_EQ(frontend::ReadConsoleCommand(input).item, "isready");
  EXPECT_EQ(frontend::ReadConsoleCommand(input).item, "uci extra");
  EXPECT_EQ(frontend::ReadConsoleCommand(input).item, "go");
  const frontend::ReadResult last = frontend::ReadConsoleCommand(input);
  EXPECT_EQ(last.item, "quit");
  EXPECT_TRUE(last.endOfInput);
}

}  // namespace
