// The readings of a FEN text side by side: where the boards differ, the difference is
// one of these named choices.
#include "notation/notation.h"

#include <gtest/gtest.h>

#include <optional>
#include <string_view>
#include <vector>

namespace {

using Views = std::vector<std::string_view>;

TEST(SplitText, FieldsAndTheOneDroppedTrailingField) {
  using notation::SplitText;
  EXPECT_EQ(SplitText("a b", ' '), (Views{"a", "b"}));
  EXPECT_EQ(SplitText("a  b", ' '), (Views{"a", "", "b"}));
  EXPECT_EQ(SplitText(" a", ' '), (Views{"", "a"}));
  EXPECT_EQ(SplitText("a ", ' '), (Views{"a"}));
  EXPECT_EQ(SplitText("a  ", ' '), (Views{"a"}));
  EXPECT_EQ(SplitText("a   ", ' '), (Views{"a", ""}));
  EXPECT_EQ(SplitText("", ' '), (Views{""}));
  EXPECT_EQ(SplitText(" ", ' '), (Views{""}));
}

TEST(SplitAtFiveBlanks, ShortTextsEndInTheSixthFieldLongOnesKeepTheirBlanksThere) {
  const auto fields = [](std::string_view text) {
    const notation::SixFields six = notation::SplitAtFiveBlanks(text);
    return Views(six.begin(), six.end());
  };
  EXPECT_EQ(fields("p w KQ - 0 1"), (Views{"p", "w", "KQ", "-", "0", "1"}));
  EXPECT_EQ(fields("p w KQ -"), (Views{"p", "w", "KQ", "", "", "-"}));
  EXPECT_EQ(fields("p w KQ - 0 1 x  y"), (Views{"p", "w", "KQ", "-", "0", "1 x  y"}));
  EXPECT_EQ(fields("p  w"), (Views{"p", "", "", "", "", "w"}));
}

TEST(SplitAtEveryBlank, KeepsEmptyFieldsAndRefusesASeventh) {
  const std::optional<notation::BlankFields> four = notation::SplitAtEveryBlank("p  w -");
  ASSERT_TRUE(four.has_value());
  EXPECT_EQ(four->count, 4);
  EXPECT_EQ(four->field[1], "");
  EXPECT_EQ(notation::SplitAtEveryBlank("a b c d e f")->count, 6);
  EXPECT_FALSE(notation::SplitAtEveryBlank("a b c d e f ").has_value());
}

}  // namespace
