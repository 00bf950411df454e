// Fully legal move generation: check evasions, pins and the en-passant and
// castling cases are resolved here, so callers never make an illegal move.
#include "rules/attacks.h"
#include "rules/rules.h"

namespace rules {
namespace {

using namespace attacks;

constexpr PieceType kPromotionOrder[] = {kQueen, kRook, kBishop, kKnight};

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
  const CheckInfo* checks = nullptr;  // when set, only moves that may give check are wanted
  Bitboard movers = ~Bitboard{0};     // the squares whose pieces are to move
};

// With `checks` set, where a piece on `from` may give check from: anywhere if it
// shields the enemy king from a slider of ours, else only its check squares.
Bitboard CheckTargets(const Context& c, PieceType type, Square from) {
  if (c.checks == nullptr || (c.checks->discoverers & SquareBit(from)) != 0) return ~Bitboard{0};
  if (type == kPawn) return c.checks->checkSquares[kPawn] | kRank1 | kRank8;  // every promotion may check
  return c.checks->checkSquares[type];
}

Bitboard AttackersOf(const Position& position, Square square, Color attacker, Bitboard occupied) {
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

void AddPawnMove(MoveList& moves, Square from, Square to) {
  if (RankOf(to) == 0 || RankOf(to) == 7) {
    for (PieceType promotion : kPromotionOrder) moves.Add(Move(from, to, promotion));
  } else {
    moves.Add(Move(from, to));
  }
}

bool EnPassantIsLegal(const Context& c, Square from, Square to, Square taken) {
  const Position& p = c.position;
  const Bitboard occupied = (c.occupied ^ SquareBit(from) ^ SquareBit(taken)) | SquareBit(to);
  const Bitboard attackers = AttackersOf(p, c.king, c.them, occupied) & ~SquareBit(taken);
  return attackers == 0;
}

void GeneratePawnMoves(const Context& c, MoveList& moves) {
  const Position& p = c.position;
  const int forward = c.us == Color::kWhite ? 8 : -8;
  const int startRank = c.us == Color::kWhite ? 1 : 6;
  const Square enPassant = p.EnPassantSquare();
  Bitboard pawns = p.Pieces(c.us, kPawn) & c.movers;
  while (pawns != 0) {
    const Square from = PopLowest(pawns);
    const Bitboard checkTargets = CheckTargets(c, kPawn, from);
    const Square single = from + forward;
    if (c.checks != nullptr) {
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
      if (allowed & SquareBit(single)) AddPawnMove(moves, from, single);
      const Square twice = single + forward;
      if (RankOf(from) == startRank && (c.occupied & SquareBit(twice)) == 0 && (allowed & SquareBit(twice)))
        moves.Add(Move(from, twice));
    }
    Bitboard captures = PawnAttacks(c.us, from) & c.enemy & allowed;
    while (captures != 0) AddPawnMove(moves, from, PopLowest(captures));

    if (enPassant != kNoSquare && (PawnAttacks(c.us, from) & SquareBit(enPassant)) != 0) {
      const Square taken = enPassant - forward;
      const Square passedFrom = enPassant + forward;
      if (p.PieceOn(taken) == MakePiece(c.them, kPawn) && p.PieceOn(enPassant) == kNoPiece &&
          p.PieceOn(passedFrom) == kNoPiece && EnPassantIsLegal(c, from, enPassant, taken))
        moves.Add(Move(from, enPassant));
    }
  }
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

void GeneratePieceMoves(const Context& c, PieceType type, MoveList& moves) {
  Bitboard pieces = c.position.Pieces(c.us, type) & c.movers & (type == kKnight ? ~c.pinned : ~Bitboard{0});
  while (pieces != 0) {
    const Square from = PopLowest(pieces);
    // When only checks are wanted, a piece that reaches no check square even on
    // an empty board has none, and its real attacks need not be worked out.
    if (c.checks != nullptr && (EmptyBoardAttacks(type, from) & c.targets & CheckTargets(c, type, from)) == 0)
      continue;
    Bitboard targets =
        PieceAttacks(type, c.us, from, c.occupied) & c.targets & AllowedFrom(c, from) & CheckTargets(c, type, from);
    while (targets != 0) moves.Add(Move(from, PopLowest(targets)));
  }
}

void GenerateKingMoves(const Context& c, MoveList& moves) {
  if ((c.movers & SquareBit(c.king)) == 0) return;
  if (c.checks != nullptr && (c.checks->discoverers & SquareBit(c.king)) == 0) return;
  const Bitboard withoutKing = c.occupied & ~SquareBit(c.king);
  Bitboard targets = KingAttacks(c.king) & ~c.own & NotTheirKing(c);
  while (targets != 0) {
    const Square to = PopLowest(targets);
    if (AttackersOf(c.position, to, c.them, withoutKing) == 0) moves.Add(Move(c.king, to));
  }
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

bool Contains(const MoveList& moves, Move move) {
  for (Move listed : moves) {
    if (listed == move) return true;
  }
  return false;
}

void Generate(const Position& position, const CheckInfo* checks, Bitboard movers, MoveList& moves) {
  moves.Clear();
  const Color us = position.SideToMove();
  Context c{position, us, Opponent(us), position.Occupied(), position.Pieces(us), position.Pieces(Opponent(us)),
            position.KingSquare(us), 0, 0, 0, checks, movers};
  c.checkers = AttackersOf(position, c.king, c.them, c.occupied);

  GenerateKingMoves(c, moves);
  if (MoreThanOne(c.checkers)) return;
  c.pinned = PinnedPieces(c);
  c.targets = (c.checkers != 0 ? (Between(c.king, LowestSquare(c.checkers)) | c.checkers) : ~c.own) & NotTheirKing(c);

  GeneratePawnMoves(c, moves);
  GeneratePieceMoves(c, kKnight, moves);
  GeneratePieceMoves(c, kBishop, moves);
  GeneratePieceMoves(c, kRook, moves);
  GeneratePieceMoves(c, kQueen, moves);
  GenerateCastling(c, moves);
}

}  // namespace

void GenerateLegalMoves(const Position& position, MoveList& moves) { Generate(position, nullptr, ~Bitboard{0}, moves); }

bool IsLegalMove(const Position& position, Move move) {
  const Piece piece = position.PieceOn(move.From());
  if (move.IsNone() || piece == kNoPiece || ColorOf(piece) != position.SideToMove()) return false;
  // The moves of the one piece on the from-square, as Generate lists them, with
  // the other pieces' generators left out.
  const Color us = position.SideToMove();
  Context c{position, us, Opponent(us), position.Occupied(), position.Pieces(us), position.Pieces(Opponent(us)),
            position.KingSquare(us), 0, 0, 0, nullptr, SquareBit(move.From())};
  c.checkers = AttackersOf(position, c.king, c.them, c.occupied);
  MoveList moves;
  const PieceType type = TypeOf(piece);
  if (type == kKing) GenerateKingMoves(c, moves);
  if (MoreThanOne(c.checkers)) return Contains(moves, move);
  c.pinned = PinnedPieces(c);
  c.targets = (c.checkers != 0 ? (Between(c.king, LowestSquare(c.checkers)) | c.checkers) : ~c.own) & NotTheirKing(c);
  if (type == kPawn) GeneratePawnMoves(c, moves);
  else if (type == kKing) GenerateCastling(c, moves);
  else GeneratePieceMoves(c, type, moves);
  return Contains(moves, move);
}

void GenerateChecks(const Position& position, const CheckInfo& info, MoveList& moves) {
  MoveList candidates;
  Generate(position, &info, ~Bitboard{0}, candidates);
  moves.Clear();
  for (Move move : candidates) {
    if (position.GivesCheck(move, info)) moves.Add(move);
  }
}

// The mate solver asks this after every check, so it stops at the first move found and
// tries the cheap, usually successful candidates first. Castling needs no look: a king
// that may castle may also step to the square next to it.
bool HasLegalMove(const Position& position) {
  const Color us = position.SideToMove();
  Context c{position, us, Opponent(us), position.Occupied(), position.Pieces(us), position.Pieces(Opponent(us)),
            position.KingSquare(us), 0, 0, 0};
  c.checkers = AttackersOf(position, c.king, c.them, c.occupied);

  const Bitboard withoutKing = c.occupied & ~SquareBit(c.king);
  for (Bitboard targets = KingAttacks(c.king) & ~c.own & NotTheirKing(c); targets != 0;) {
    if (AttackersOf(position, PopLowest(targets), c.them, withoutKing) == 0) return true;
  }
  if (MoreThanOne(c.checkers)) return false;
  c.pinned = PinnedPieces(c);
  c.targets = (c.checkers != 0 ? (Between(c.king, LowestSquare(c.checkers)) | c.checkers) : ~c.own) & NotTheirKing(c);

  for (PieceType type : {kKnight, kBishop, kRook, kQueen}) {
    Bitboard pieces = position.Pieces(us, type) & (type == kKnight ? ~c.pinned : ~Bitboard{0});
    while (pieces != 0) {
      const Square from = PopLowest(pieces);
      if ((PieceAttacks(type, us, from, c.occupied) & c.targets & AllowedFrom(c, from)) != 0) return true;
    }
  }
  MoveList pawnMoves;
  GeneratePawnMoves(c, pawnMoves);
  return !pawnMoves.Empty();
}

bool IsCheckmate(const Position& position) { return position.InCheck() && !HasLegalMove(position); }

bool IsStalemate(const Position& position) { return !position.InCheck() && !HasLegalMove(position); }

}  // namespace rules
