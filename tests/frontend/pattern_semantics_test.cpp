// The regular-expression matcher on every pattern the engine runs, held to the results of
// PCRE 8.x: ASCII-only classes, `$` before a final line feed, subjects with any byte in them,
// and the 300-entry match vector's meaning in FindAllMatches.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "frontend/commands.h"
#include "frontend/fen_validation.h"
#include "frontend/pcre_pattern.h"

namespace {

using namespace frontend;
using namespace std::string_literals;
using Strings = std::vector<std::string>;

constexpr std::string_view kWhiteSpace = " \t\n\v\f\r";
const std::string kStart = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

Strings Matches(std::string_view pattern, std::string_view subject) {
  Strings results;
  const int32_t count = FindAllMatches(pattern, subject, results, false);
  EXPECT_EQ(count, static_cast<int32_t>(results.size()));
  return results;
}

TEST(PatternSemantics, EveryByteInEveryPatternsClasses) {
  // Each subject is before + one byte + after; the pattern matches exactly for the listed bytes.
  struct Case {
    std::string_view pattern;
    std::string before, after;
    std::string_view accepted;
  };
  const Case cases[] = {
      {kWhiteKingPattern, "", "", "K"},
      {kBlackKingPattern, "", "", "k"},
      {kRankPattern, "p", "p", "12345678BKNPQRbknpqr"},
      {kRankPattern, "p", "", "12345678BKNPQRbknpqr\n"},
      {kSidePattern, "", "", "wb"},
      {kSidePattern, "w", "", "\n"},
      {kCastlingPattern, "", "", "KQkq-"},
      {kCastlingPattern, "-", "", "\n"},
      {kEnPassantPattern, "", "3", "abcdefgh"},
      {kEnPassantPattern, "e", "", "36"},
      {kEnPassantPattern, "e3", "", "\n"},
      {kHalfMovePattern, "", "", "0123456789"},
      {kHalfMovePattern, "1", "", "0123456789\n"},
      {kFullMovePattern, "", "", "123456789"},
      {kFullMovePattern, "1", "0", "0123456789"},
  };
  for (const Case& c : cases) {
    for (int code = 0; code < 256; ++code) {
      const char byte = static_cast<char>(code);
      const std::string subject = c.before + byte + c.after;
      EXPECT_EQ(MatchesPattern(c.pattern, subject), c.accepted.find(byte) != std::string_view::npos)
          << c.pattern << " byte " << code;
    }
  }
  for (int code = 0; code < 256; ++code) {
    const char byte = static_cast<char>(code);
    // The FEN pattern's separators: ASCII white space only, vertical tab included.
    std::string fen = kStart;
    for (char& c : fen) {
      if (c == ' ') c = byte;
    }
    const bool separator = kWhiteSpace.find(byte) != std::string_view::npos;
    EXPECT_EQ(Matches(kFenPattern, "position fen " + fen), separator ? Strings{fen} : Strings{}) << code;
    // A promotion letter joins the move; any other byte ends it.
    const bool promotion = std::string_view("nbrq").find(byte) != std::string_view::npos;
    EXPECT_EQ(Matches(kMovePattern, "e2e4"s + byte + "e7e5"), (Strings{promotion ? "e2e4"s + byte : "e2e4", "e7e5"}))
        << code;
  }
}

TEST(PatternSemantics, LineEndsZeroBytesAndEmptySubjects) {
  // `$` accepts one final line feed and nothing else: not two, not CR LF, not a lone CR.
  for (const std::string_view pattern : {kSidePattern, kRankPattern}) {
    const std::string field = pattern == kSidePattern ? "w" : "8";
    EXPECT_TRUE(MatchesPattern(pattern, field + "\n"));
    EXPECT_FALSE(MatchesPattern(pattern, field + "\n\n"));
    EXPECT_FALSE(MatchesPattern(pattern, field + "\r\n"));
    EXPECT_FALSE(MatchesPattern(pattern, field + "\r"));
    EXPECT_FALSE(MatchesPattern(pattern, "\n" + field));
    EXPECT_FALSE(MatchesPattern(pattern, field + "\0"s));
    EXPECT_FALSE(MatchesPattern(pattern, "\0"s + field));
  }
  // The whole subject is searched, past zero bytes and high bytes alike.
  EXPECT_TRUE(MatchesPattern(kWhiteKingPattern, "\0\xff\x80K"s));
  EXPECT_EQ(Matches(kMovePattern, "\0e2e4\0e7e5\xa0g1f3\x85"s), (Strings{"e2e4", "e7e5", "g1f3"}));
  EXPECT_EQ(Matches(kFenPattern, "position fen\0"s + kStart + "\0 moves"s), Strings{kStart});
  EXPECT_EQ(Matches(kFenPattern, "position fen " + kStart + "\r\n"), Strings{kStart});
  EXPECT_EQ(Matches(kFenPattern, "position fen " + kStart + "0\xb9"), Strings{kStart + "0"});
  // A lone \r or \n is one separator; CR LF is two and breaks the text.
  std::string crlf = kStart;
  crlf.replace(crlf.find(" w "), 3, "\r\nw ");
  EXPECT_EQ(Matches(kFenPattern, crlf), Strings{});
  // Empty subjects match nothing the engine runs.
  for (const std::string_view pattern : {kWhiteKingPattern, kBlackKingPattern, kRankPattern, kSidePattern,
                                         kCastlingPattern, kEnPassantPattern, kHalfMovePattern, kFullMovePattern}) {
    EXPECT_FALSE(MatchesPattern(pattern, "")) << pattern;
    EXPECT_FALSE(MatchesPattern(pattern, std::string_view())) << pattern;
  }
  EXPECT_EQ(Matches(kFenPattern, ""), Strings{});
  EXPECT_EQ(Matches(kMovePattern, std::string_view()), Strings{});
}

TEST(PatternSemantics, MatchVectorHoldsOneHundredPairs) {
  const auto repeat = [](std::string_view text, int times) {
    std::string result;
    for (int i = 0; i < times; ++i) result += text;
    return result;
  };
  // Two thirds of the 300 entries hold offsets: the whole match and groups 1 to 99. A set
  // group beyond them makes the search report no room, which ends FindAllMatches.
  EXPECT_EQ(Matches(repeat("(a)", 99), repeat("a", 99)), Strings{repeat("a", 99)});
  EXPECT_EQ(Matches(repeat("(a)", 100), repeat("a", 100)), Strings{});
  // ...unless group 99 itself is unset: then the count of pairs below it is reported.
  EXPECT_EQ(Matches(repeat("(a)", 98) + "(x)?(a)", repeat("a", 99)), Strings{repeat("a", 99)});
  // MatchesPattern takes a match without room for its groups as a match.
  EXPECT_TRUE(MatchesPattern(repeat("(a)", 20), repeat("a", 20)));
}

}  // namespace
