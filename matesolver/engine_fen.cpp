#include <array>

#include "matesolver/mate_solver.h"
#include "notation/notation.h"

namespace matesolver {
namespace {

constexpr std::size_t kMaxLength = 256;

// Appends to a fixed buffer; a text that would not fit cannot be a FEN anyway.
class FenWriter {
 public:
  void Append(std::string_view text) {
    for (char c : text) {
      if (length_ < buffer_.size()) buffer_[length_++] = c;
    }
  }
  std::string_view Text() const { return {buffer_.data(), length_}; }

 private:
  std::array<char, kMaxLength + 16> buffer_{};
  std::size_t length_ = 0;
};

}  // namespace

std::optional<rules::Position> ReadEngineFen(std::string_view text) {
  if (text.size() > kMaxLength) return std::nullopt;
  for (int blanks = 0; blanks < 2 && !text.empty() && text.back() == ' '; ++blanks) text.remove_suffix(1);

  const std::optional<notation::BlankFields> split = notation::SplitAtEveryBlank(text);
  if (!split) return std::nullopt;  // a seventh field
  if (split->count != 6) return rules::Position::FromFen(text);
  const notation::SixFields& fields = split->field;

  std::string_view placement = fields[0];
  for (int slashes = 0; slashes < 2 && placement.size() > 1 && placement.back() == '/'; ++slashes) placement.remove_suffix(1);

  FenWriter fen;
  fen.Append(placement);
  fen.Append(" ");
  fen.Append(fields[1]);
  fen.Append(" ");
  const std::string_view castling = fields[2];
  if (castling == "-") {
    fen.Append("-");
  } else {
    for (const char letter : notation::kCastlingLetters) {
      if (castling.find(letter) != std::string_view::npos) fen.Append(std::string_view(&letter, 1));
    }
    if (castling.find_first_not_of(notation::kCastlingLetters) != std::string_view::npos) return std::nullopt;
  }
  fen.Append(" ");
  const std::string_view enPassant = fields[3];
  const bool wrongRank = enPassant.size() == 2 && ((fields[1] == "w" && enPassant[1] == '3') ||
                                                   (fields[1] == "b" && enPassant[1] == '6'));
  fen.Append(wrongRank ? "-" : enPassant);
  fen.Append(" 0 1");
  const auto isNumber = [](std::string_view field) {
    return !field.empty() && field.find_first_not_of("0123456789") == std::string_view::npos;
  };
  if (!isNumber(fields[4]) || !isNumber(fields[5])) return std::nullopt;
  return rules::Position::FromFen(fen.Text());
}

}  // namespace matesolver
