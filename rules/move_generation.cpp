// Fully legal move generation: check evasions, pins and the en-passant and
// castling cases are resolved here, so callers never make an illegal move.
#include "rules/attacks.h"
#include "rules/rules.h"

namespace rules {
namespace {

using namespace attacks;

constexpr PieceType kPromotionOrder[] = {kQueen, kRook, kBishop, kKnight};

// What one run of the generator is for. The list order is the same in every mode.
enum class Mode {
  kAll,       // every legal move
  kChecks,    // the moves that may give check, for GenerateChecks to sift
  kOnePiece,  // the moves of the one piece on `movers`
  kAny,       // whether there is a legal move: the first one found ends the run
};

struct Context {
  const Position& position;
  Color us;
  Color them;
  Bitboard occupied;
  Bitboard own;
  Bitboard enemy;
  Square king;
  Bitboard checkers;
  Bitboard pinned;
  Bitboard targets;  // squares that end a check (or every non-own square when not in check)
  const CheckInfo* checks;  // set in Mode::kChecks: the enemy king's check squares
  Bitboard movers;          // the squares whose pieces are to move
};

// Adds `move`; true when the run may end there, which only Mode::kAny wants.
template <Mode mode>
bool Add(MoveList& moves, Move move) {
  moves.Add(move);
  return mode == Mode::kAny;
}

// In Mode::kChecks, where a piece on `from` may give check from: anywhere if it
// shields the enemy king from a slider of ours, else only its check squares.
template <Mode mode>
Bitboard CheckTargets(const Context& c, PieceType type, Square from) {
  if (mode != Mode::kChecks || (c.checks->discoverers & SquareBit(from)) != 0) return ~Bitboard{0};
  if (type == kPawn) return c.checks->checkSquares[kPawn] | kRank1 | kRank8;  // every promotion may check
  return c.checks->checkSquares[type];
}

// Inlined everywhere: every king step and every castling square asks it.
[[gnu::always_inline]] inline Bitboard AttackersOf(const Position& position, Square square, Color attacker,
                                                   Bitboard occupied) {
  const Bitboard them = position.Pieces(attacker);
  return (PawnAttacks(Opponent(attacker), square) & them & position.Pieces(kPawn)) |
         (KnightAttacks(square) & them & position.Pieces(kKnight)) |
         (KingAttacks(square) & them & position.Pieces(kKing)) |
         (BishopAttacks(square, occupied) & them & (position.Pieces(kBishop) | position.Pieces(kQueen))) |
         (RookAttacks(square, occupied) & them & (position.Pieces(kRook) | position.Pieces(kQueen)));
}

Bitboard PinnedPieces(const Context& c) {
  const Position& p = c.position;
  const Bitboard snipers =
      (RookAttacks(c.king, 0) & c.enemy & (p.Pieces(kRook) | p.Pieces(kQueen))) |
      (BishopAttacks(c.king, 0) & c.enemy & (p.Pieces(kBishop) | p.Pieces(kQueen)));
  Bitboard pinned = 0;
  Bitboard remaining = snipers;
  while (remaining != 0) {
    const Square sniper = PopLowest(remaining);
    const Bitboard blockers = Between(c.king, sniper) & c.occupied;
    if (blockers != 0 && !MoreThanOne(blockers)) pinned |= blockers & c.own;
  }
  return pinned;
}

// A FEN may leave the side not to move in check; its king is still never taken, so
// both kings stay on the board whatever is played.
Bitboard NotTheirKing(const Context& c) { return ~c.position.Pieces(c.them, kKing); }

// Where a piece on `from` may go without exposing its own king.
Bitboard AllowedFrom(const Context& c, Square from) {
  return (c.pinned & SquareBit(from)) != 0 ? Line(c.king, from) : ~Bitboard{0};
}

// A pawn move onto the last rank is four moves, one per promotion piece.
template <Mode mode>
bool AddPawnMove(MoveList& moves, Square from, Square to) {
  if (RankOf(to) != 0 && RankOf(to) != 7) return Add<mode>(moves, Move(from, to));
  for (PieceType promotion : kPromotionOrder) moves.Add(Move(from, to, promotion));
  return mode == Mode::kAny;
}

bool EnPassantIsLegal(const Context& c, Square from, Square to, Square taken) {
  const Position& p = c.position;
  const Bitboard occupied = (c.occupied ^ SquareBit(from) ^ SquareBit(taken)) | SquareBit(to);
  const Bitboard attackers = AttackersOf(p, c.king, c.them, occupied) & ~SquareBit(taken);
  return attackers == 0;
}

// Each generator below returns true when the run may end (Mode::kAny found a move).
template <Mode mode>
bool GeneratePawnMoves(const Context& c, MoveList& moves) {
  const Position& p = c.position;
  const int forward = c.us == Color::kWhite ? 8 : -8;
  const int startRank = c.us == Color::kWhite ? 1 : 6;
  const Square enPassant = p.EnPassantSquare();
  Bitboard pawns = p.Pieces(c.us, kPawn) & c.movers;
  while (pawns != 0) {
    const Square from = PopLowest(pawns);
    const Bitboard checkTargets = CheckTargets<mode>(c, kPawn, from);
    const Square single = from + forward;
    if (mode == Mode::kChecks) {
      // When only checks are wanted, a pawn none of whose steps and captures
      // can land where a pawn would check or promote has none (en passant
      // is listed unfiltered, so a pawn that could take so is kept).
      Bitboard reach = SquareBit(single) | PawnAttacks(c.us, from);
      if (RankOf(from) == startRank) reach |= SquareBit(single + forward);
      if (enPassant != kNoSquare) reach |= ~Bitboard{0};
      if ((reach & checkTargets) == 0) continue;
    }
    const Bitboard allowed = AllowedFrom(c, from) & c.targets & checkTargets;
    if ((c.occupied & SquareBit(single)) == 0) {
      if ((allowed & SquareBit(single)) && AddPawnMove<mode>(moves, from, single)) return true;
      const Square twice = single + forward;
      if (RankOf(from) == startRank && (c.occupied & SquareBit(twice)) == 0 && (allowed & SquareBit(twice)) &&
          Add<mode>(moves, Move(from, twice)))
        return true;
    }
    for (Bitboard captures = PawnAttacks(c.us, from) & c.enemy & allowed; captures != 0;)
      if (AddPawnMove<mode>(moves, from, PopLowest(captures))) return true;

    if (enPassant != kNoSquare && (PawnAttacks(c.us, from) & SquareBit(enPassant)) != 0) {
      const Square taken = enPassant - forward;
      const Square passedFrom = enPassant + forward;
      if (p.PieceOn(taken) == MakePiece(c.them, kPawn) && p.PieceOn(enPassant) == kNoPiece &&
          p.PieceOn(passedFrom) == kNoPiece && EnPassantIsLegal(c, from, enPassant, taken) &&
          Add<mode>(moves, Move(from, enPassant)))
        return true;
    }
  }
  return false;
}

// The squares a piece of `type` on `square` would attack on an empty board.
Bitboard EmptyBoardAttacks(PieceType type, Square square) {
  switch (type) {
    case kKnight: return KnightAttacks(square);
    case kBishop: return BishopAttacks(square, 0);
    case kRook: return RookAttacks(square, 0);
    default: return BishopAttacks(square, 0) | RookAttacks(square, 0);
  }
}

template <Mode mode>
bool GeneratePieceMoves(const Context& c, PieceType type, MoveList& moves) {
  Bitboard pieces = c.position.Pieces(c.us, type) & c.movers & (type == kKnight ? ~c.pinned : ~Bitboard{0});
  while (pieces != 0) {
    const Square from = PopLowest(pieces);
    // When only checks are wanted, a piece that reaches no check square even on
    // an empty board has none, and its real attacks need not be worked out.
    if (mode == Mode::kChecks && (EmptyBoardAttacks(type, from) & c.targets & CheckTargets<mode>(c, type, from)) == 0)
      continue;
    for (Bitboard targets = PieceAttacks(type, c.us, from, c.occupied) & c.targets & AllowedFrom(c, from) &
                            CheckTargets<mode>(c, type, from);
         targets != 0;)
      if (Add<mode>(moves, Move(from, PopLowest(targets)))) return true;
  }
  return false;
}

template <Mode mode>
bool GenerateKingMoves(const Context& c, MoveList& moves) {
  if ((c.movers & SquareBit(c.king)) == 0) return false;
  if (mode == Mode::kChecks && (c.checks->discoverers & SquareBit(c.king)) == 0) return false;
  const Bitboard withoutKing = c.occupied & ~SquareBit(c.king);
  for (Bitboard targets = KingAttacks(c.king) & ~c.own & NotTheirKing(c); targets != 0;) {
    const Square to = PopLowest(targets);
    if (AttackersOf(c.position, to, c.them, withoutKing) == 0 && Add<mode>(moves, Move(c.king, to))) return true;
  }
  return false;
}

void GenerateCastling(const Context& c, MoveList& moves) {
  const Position& p = c.position;
  const int rank = c.us == Color::kWhite ? 0 : 7;
  const Square home = MakeSquare(4, rank);
  if (c.king != home || c.checkers != 0 || (c.movers & SquareBit(home)) == 0) return;
  struct Side {
    CastlingRight right;
    int rookFile;
    int kingToFile;
  };
  const Side sides[] = {
      {c.us == Color::kWhite ? kWhiteKingside : kBlackKingside, 7, 6},
      {c.us == Color::kWhite ? kWhiteQueenside : kBlackQueenside, 0, 2},
  };
  for (const Side& side : sides) {
    const Square rook = MakeSquare(side.rookFile, rank);
    const Square kingTo = MakeSquare(side.kingToFile, rank);
    if (!p.HasCastlingRight(side.right) || p.PieceOn(rook) != MakePiece(c.us, kRook)) continue;
    if ((Between(home, rook) & c.occupied) != 0) continue;
    const Bitboard kingPath = Between(home, kingTo) | SquareBit(kingTo);
    bool safe = true;
    for (Bitboard path = kingPath; path != 0 && safe;) safe = AttackersOf(p, PopLowest(path), c.them, c.occupied) == 0;
    if (safe) moves.Add(Move(home, kingTo));
  }
}

// The one generator: king moves, then (unless in double check) pawns, knights,
// bishops, rooks, queens and castling. Mode::kOnePiece runs only the piece
// kind on `movers`; Mode::kAny asks the pieces before the pawns, whose moves
// take longer to find, and needs no castling, since a king that may castle may
// also step to the square next to it. True when Mode::kAny found a move.
template <Mode mode>
bool Generate(const Position& position, MoveList& moves, const CheckInfo* checks = nullptr,
              Bitboard movers = ~Bitboard{0}) {
  moves.Clear();
  const Color us = position.SideToMove();
  Context c{position, us, Opponent(us), position.Occupied(), position.Pieces(us), position.Pieces(Opponent(us)),
            position.KingSquare(us), 0, 0, 0, checks, movers};
  c.checkers = AttackersOf(position, c.king, c.them, c.occupied);
  const PieceType only = mode == Mode::kOnePiece ? TypeOf(position.PieceOn(LowestSquare(movers))) : kNoPieceType;
  const auto wants = [&](PieceType type) { return mode != Mode::kOnePiece || type == only; };

  if (wants(kKing) && GenerateKingMoves<mode>(c, moves)) return true;
  if (MoreThanOne(c.checkers)) return false;
  c.pinned = PinnedPieces(c);
  c.targets = (c.checkers != 0 ? (Between(c.king, LowestSquare(c.checkers)) | c.checkers) : ~c.own) & NotTheirKing(c);

  if (mode != Mode::kAny && wants(kPawn) && GeneratePawnMoves<mode>(c, moves)) return true;
  for (PieceType type : {kKnight, kBishop, kRook, kQueen})
    if (wants(type) && GeneratePieceMoves<mode>(c, type, moves)) return true;
  if (mode == Mode::kAny) return GeneratePawnMoves<mode>(c, moves);
  if (wants(kKing)) GenerateCastling(c, moves);
  return false;
}

}  // namespace

void GenerateLegalMoves(const Position& position, MoveList& moves) { Generate<Mode::kAll>(position, moves); }

bool IsLegalMove(const Position& position, Move move) {
  const Piece piece = position.PieceOn(move.From());
  if (move.IsNone() || piece == kNoPiece || ColorOf(piece) != position.SideToMove()) return false;
  MoveList moves;
  Generate<Mode::kOnePiece>(position, moves, nullptr, SquareBit(move.From()));
  for (Move listed : moves)
    if (listed == move) return true;
  return false;
}

void GenerateChecks(const Position& position, const CheckInfo& info, MoveList& moves) {
  MoveList candidates;
  Generate<Mode::kChecks>(position, candidates, &info);
  moves.Clear();
  for (Move move : candidates) {
    if (position.GivesCheck(move, info)) moves.Add(move);
  }
}

// The mate solver asks this after every check, so it stops at the first move found.
bool HasLegalMove(const Position& position) {
  MoveList moves;
  return Generate<Mode::kAny>(position, moves);
}

bool IsCheckmate(const Position& position) { return position.InCheck() && !HasLegalMove(position); }

bool IsStalemate(const Position& position) { return !position.InCheck() && !HasLegalMove(position); }

}  // namespace rules
