#include "search/best_move.h"

#include "search/move_text.h"
#include "search/root_choice.h"
#include "search/search_context.h"

namespace search {
namespace {

std::string Decide(SearchContext& context, std::string_view fen, int8_t& resultCode) {
  InitSearchContext(context);
  LoadSearchContext(context, fen);
  RootChoice chosen;
  std::string text = SearchRoot(context, resultCode, chosen);
  if (resultCode > 1) return "a1a1";
  // A GUI refuses a pawn move onto the last rank without its piece letter.
  if (chosen.promotes) text += 'q';
  return text;
}

}  // namespace

std::string BestMove(std::string_view fen) {
  SearchContext context;
  int8_t resultCode = 0;
  return Decide(context, fen, resultCode);
}

BestMoveReport AnalyseBestMove(std::string_view fen) {
  SearchContext context;
  int8_t resultCode = 0;
  BestMoveReport report;
  report.bestMove = Decide(context, fen, resultCode);
  report.resultCode = resultCode;
  report.movesTried = context.movesTried;
  // SearchRoot's checks leave the root's list as the search scored it.
  const SearchPosition& root = context.root;
  for (int i = 0; i < root.moveCount; ++i) {
    const MoveEntry& move = root.moves[i];
    RootMoveReport line{MoveToText(move.from, move.to), move.score, std::nullopt};
    for (int k = 0; k < context.candidateCount; ++k) {
      const MoveEntry& candidate = context.candidates[k];
      if (candidate.from == move.from && candidate.to == move.to) line.tieBreak = candidate.score;
    }
    report.rootMoves.push_back(std::move(line));
  }
  return report;
}

}  // namespace search
