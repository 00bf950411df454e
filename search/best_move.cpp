#include "search/best_move.h"

namespace search {

std::string BestMove(std::string_view) { return "a1a1"; }

}  // namespace search
