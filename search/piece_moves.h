#pragma once
// The moves of one piece of the side `s`, one generator per kind: pawn,
// knight, slider rays, king. Everything here is forced inline into the file
// scan of pseudo_moves.h, so that the side, the offsets and the caller's
// hand-off are constants and a square's test is one addition and one comparison.
#include <concepts>
#include <cstdint>
#include <type_traits>
#include <utility>

#include "search/board_bytes.h"
#include "search/direction_table.h"
#include "search/search_position.h"

namespace search {

template <typename Add>
[[gnu::always_inline]] inline bool Emit(Add& add, int from, int to, bool isPawnMove) {
  if constexpr (std::is_invocable_v<Add&, int, int, bool>)
    return add(from, to, isPawnMove);
  else
    return add(from, to);
}

// A caller that, at times, only counts moves onto empty squares (a scored
// quiet move is then worth no more than any other) says so through
// `CountingQuiets()` and takes a run of them at once through `CountQuiets(n)`,
// false ending the generation. Captures are still handed over one by one,
// after the quiet moves generated before them have been counted.
template <typename Add>
concept CountsQuietRuns = requires(Add& add, int n) {
  { add.CountingQuiets() } -> std::convertible_to<bool>;
  { add.CountQuiets(n) } -> std::convertible_to<bool>;
};

// The quiet moves of one piece (or one ray): handed over one by one, or, while
// the caller counts them, gathered into a run that is counted before the next
// move handed over and at the end.
template <typename Add, bool kCounting>
class QuietRun {
 public:
  explicit QuietRun(Add& add) : add_(add) {}
  // A move onto an empty square that the caller may take as a count.
  [[gnu::always_inline]] bool Quiet(int from, int to, bool isPawnMove) {
    if constexpr (kCounting) {
      ++pending_;
      return true;
    } else {
      return Emit(add_, from, to, isPawnMove);
    }
  }
  // A move the caller must see one by one.
  [[gnu::always_inline]] bool Hand(int from, int to, bool isPawnMove) {
    return Close() && Emit(add_, from, to, isPawnMove);
  }
  [[gnu::always_inline]] bool Close() {
    if constexpr (kCounting) {
      const int run = pending_;
      pending_ = 0;
      return run == 0 || add_.CountQuiets(run);
    } else {
      return true;
    }
  }

 private:
  Add& add_;
  int pending_ = 0;
};

// True when `difference` between two real squares is one king step; the frame
// around the board makes every such difference a true neighbour.
inline bool IsKingStep(int difference) {
  switch (difference) {
    case 1: case -1: case 9: case -9: case 10: case -10: case 11: case -11: return true;
    default: return false;
  }
}

// Each generator hands its piece's moves to `add` in table order and returns
// false as soon as `add` does, which ends the generation.
template <int s, typename Add>
class PieceMoves {
 public:
  PieceMoves(const SearchPosition& position, Add& add)
      : b_(position.board + kBoardOffset), enemyEp_(EpSlot(position, -s)), add_(add) {}

  // The moves of the side's piece on `q`, found on `rank`.
  [[gnu::always_inline]] bool Moves(int q, int rank) {
    const int t = b_[q] * s;
    // Pawns, the most frequent pieces, are told apart before the jump on the kind.
    if (t == kPawnValue)
      return InQuietMode([&](auto& run) __attribute__((always_inline)) { return Pawn(q, rank, run); });
    switch (t) {
      case kKnightValue:
        return InQuietMode([&](auto& run) __attribute__((always_inline)) { return Knight(q, run); });
      case kBishopValue: return Rays(q, kBishopOffsets, std::make_index_sequence<4>{});
      case kRookValue: return Rays(q, kRookOffsets, std::make_index_sequence<4>{});
      case kQueenValue: return Rays(q, kQueenOffsets, std::make_index_sequence<8>{});
      case kKingValue: return King(q);
      default: return true;  // the frame (127) inside an unreached square
    }
  }

 private:
  template <typename Run>
  [[gnu::always_inline]] bool Pawn(int q, int rank, Run& run) {
    constexpr int kStartRank = s == 1 ? 2 : 7;
    // A step that promotes or lands on the en-passant square is handed over
    // even while the caller counts quiet moves.
    const auto step = [&](int to, int toRank) __attribute__((always_inline)) {
      return toRank != 1 && toRank != 8 && to != enemyEp_ ? run.Quiet(q, to, true) : run.Hand(q, to, true);
    };
    if (b_[q + s] == 0) {
      if (!step(q + s, rank + s)) return false;
      if (rank == kStartRank && b_[q + 2 * s] == 0 && !step(q + 2 * s, rank + 2 * s)) return false;
    }
    for (int k = 2; k < 4; ++k) {
      const int y = q + kPawnOffsets[k] * s;
      if ((Enemy(y) || (enemyEp_ != 0 && y == enemyEp_)) && !run.Hand(q, y, true)) return false;
    }
    return run.Close();
  }

  template <typename Run>
  [[gnu::always_inline]] bool Knight(int q, Run& run) {
    for (int k = 0; k < 8; ++k) {
      const int x = q + kKnightOffsets[k];
      if (b_[x] == 0) {
        if (!run.Quiet(q, x, false)) return false;
      } else if (Enemy(x) && !run.Hand(q, x, false)) {
        return false;
      }
    }
    return run.Close();
  }

  // Empty squares up to the first piece, then that piece if it is an enemy.
  template <typename Run>
  [[gnu::always_inline]] bool Ray(int from, int d, Run& run) {
    int x = from + d;
    for (; b_[x] == 0; x += d)
      if (!run.Quiet(from, x, false)) return false;
    return run.Close() && (!Enemy(x) || Emit(add_, from, x, false));
  }

  // A target is refused when an enemy king stands one step from it. Only enemy
  // kings within two files and ranks can, and they are few (none or one in any
  // real game): list them, then compare square differences instead of reading
  // all eight neighbours of every target.
  [[gnu::always_inline]] bool King(int q) {
    int8_t enemyKings[25];
    const int enemyKingCount = FindPiecesNear(b_, static_cast<int8_t>(-kKingValue * s), q, enemyKings);
    for (int k = 0; k < 8; ++k) {
      const int x = q + kQueenOffsets[k];
      if (!Open(x)) continue;
      bool touchesEnemyKing = false;
      for (int j = 0; j < enemyKingCount; ++j) touchesEnemyKing |= IsKingStep(x - enemyKings[j]);
      if (!touchesEnemyKing && !Emit(add_, q, x, false)) return false;
    }
    return true;
  }

  // Runs `generate` with a quiet-move run in the mode the caller is in now.
  template <typename Generate>
  [[gnu::always_inline]] bool InQuietMode(Generate generate) {
    if constexpr (CountsQuietRuns<Add>) {
      if (add_.CountingQuiets()) {
        QuietRun<Add, true> run(add_);
        return generate(run);
      }
    }
    QuietRun<Add, false> run(add_);
    return generate(run);
  }

  // The rays of a slider, each with its own quiet-move mode, spelt out so that
  // each ray's step is a constant.
  template <std::size_t... k>
  [[gnu::always_inline]] bool Rays(int q, const int8_t* offsets, std::index_sequence<k...>) {
    return (InQuietMode([&](auto& run) __attribute__((always_inline)) { return Ray(q, offsets[k], run); }) && ...);
  }

  // Open: empty or enemy, -(v * s) in 0..126; enemy: -(v * s) in 2..126.
  bool Open(int x) const { return static_cast<unsigned>(-(b_[x] * s)) <= 126u; }
  bool Enemy(int x) const { return static_cast<unsigned>(-(b_[x] * s) - 2) <= 124u; }

  const int8_t* const b_;  // the board at square 0
  const int enemyEp_;
  Add& add_;
};

}  // namespace search
