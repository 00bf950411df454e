#pragma once
#include <cstdint>
#include <string_view>

namespace frontend {

// The patterns the check runs on the placement, its ranks and the other fields. The king
// letters may stand anywhere; the rest are anchored, and `$` also matches before a final line feed.
inline constexpr std::string_view kWhiteKingPattern = "K";
inline constexpr std::string_view kBlackKingPattern = "k";
inline constexpr std::string_view kRankPattern = "^[1-8BKNPQRbknpqr]+$";
inline constexpr std::string_view kSidePattern = "^[wb]$";
inline constexpr std::string_view kCastlingPattern = "^[KQkq]+$|^\\-$";
inline constexpr std::string_view kEnPassantPattern = "^[a-h][36]$|^\\-$";
inline constexpr std::string_view kHalfMovePattern = "^\\d+$";
inline constexpr std::string_view kFullMovePattern = "^[1-9]\\d*$";

// The number of squares a rank text describes: piece letters count 1, any other byte its
// code minus 48 (so a digit counts its value).
int32_t RankSquareCount(std::string_view rank);

// The textual check made before every search: six fields and eight ranks as
// notation::SplitText cuts them, eight squares a rank from digits and piece letters, both
// king letters, and well-formed side, castling, en-passant and clock fields. The position
// itself is not judged.
bool IsValidFEN(std::string_view fen);

}  // namespace frontend
