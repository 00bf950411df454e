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

// gtest prints both sides of a failed comparison: megabyte items are compared by size and bytes.
void ExpectItems(std::string_view input, const Strings& expected) {
  const Strings items = Items(input);
  ASSERT_EQ(items.size(), expected.size());
  for (size_t i = 0; i < items.size(); ++i) {
    ASSERT_EQ(items[i].size(), expected[i].size()) << "item " << i;
    EXPECT_TRUE(items[i] == expected[i]) << "item " << i;
  }
}

TEST(ReadCommand, LongLineIsCutEveryMebibyte) {
  ASSERT_EQ(frontend::kMaxItemLength, 1048576u);
  const std::string first(frontend::kMaxItemLength, 'x');
  const std::string second(frontend::kMaxItemLength, 'y');
  // The cut takes blanks and one line end that follow it; the rest starts the next item.
  ExpectItems(first + second + "zz\n", Strings{first, second, "zz"});
  ExpectItems(first + "  \nuci\n", Strings{first, "uci"});
  ExpectItems(first + " ,uci\n", Strings{first, "uci"});
  ExpectItems(first + " x\n", Strings{first, "x"});
  ExpectItems("\"" + first + "\"\n", Strings{first, ""});
  // One byte short of the limit the item ends at its line end as usual.
  ExpectItems(first.substr(1) + "\nuci\n", Strings{first.substr(1), "uci"});
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
