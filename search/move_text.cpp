#include "search/move_text.h"

#include "notation/notation.h"

namespace search {

std::string MoveToText(int from, int to) {
  // A square's decimal digits are its file and rank.
  return std::string(notation::WriteMoveText(from / 10, from % 10, to / 10, to % 10).view());
}

}  // namespace search
