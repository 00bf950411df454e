#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace frontend {

// Command words are recognised byte for byte, case-sensitive, with nothing trimmed.
bool IsQuit(std::string_view command);
bool IsUci(std::string_view command);
bool IsReady(std::string_view command);
bool IsNewGame(std::string_view command);
bool IsPosition(std::string_view command);
bool HasStartPos(std::string_view command);
bool HasFen(std::string_view command);
bool HasMoves(std::string_view command);
bool IsGo(std::string_view command);

// A FEN text in form only: eight ranks, side, castling, en passant and both clocks.
inline constexpr std::string_view kFenPattern =
    "[1-8BKNPQRbknpqr]+/[1-8BKNPQRbknpqr]+/[1-8BKNPQRbknpqr]+/[1-8BKNPQRbknpqr]+/"
    "[1-8BKNPQRbknpqr]+/[1-8BKNPQRbknpqr]+/[1-8BKNPQRbknpqr]+/[1-8BKNPQRbknpqr]+"
    "\\s[wb]\\s([KQkq]+|\\-)\\s([a-h][36]|\\-)\\s\\d+\\s[1-9]\\d*";
// kFenPattern as ExtractFen runs it: a match may begin only where a run of rank characters
// begins, or where the search resumes. A match cannot begin inside a run unless one begins at
// its start (the run reaches the same "/" either way), so the matches are the same; but a
// long run is no longer rescanned from each of its bytes, which made the search quadratic
// (most of an hour for one 1 MiB item of rank letters).
std::string FenPatternFromRunStarts();
inline constexpr std::string_view kMovePattern = "[a-h][1-8][a-h][1-8][nbrq]*";

// Every non-overlapping match of the pattern in the subject, left to right. The pattern is
// compiled anew on every call.
int32_t FindAllMatches(std::string_view pattern, std::string_view subject,
                       std::vector<std::string>& results, bool append);

// True when exactly one FEN text stands in the command; `fen` is it, or empty otherwise.
bool ExtractFen(std::string_view command, std::string& fen);

// True when at least one move text stands in the command; `moveTexts` holds them in order.
bool ExtractMoves(std::string_view command, std::vector<std::string>& moveTexts);

}  // namespace frontend
