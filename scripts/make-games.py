#!/usr/bin/env python3
"""Makes the real-play game data under tests/data/games with Debian's stockfish.

Games start with a few random legal moves (a fixed seed keeps the data reproducible), then
stockfish plays both sides at a low skill level until mate, stalemate, the fifty-move rule,
bare kings or a ply cap. Writes:
  startpos_games.txt  "position startpos moves ..." per game
  setup_games.txt     "position fen FEN moves ..." per game, from set-up positions
  trace.txt           "GAME PLY FEN": stockfish's FEN before the first move and after each ply
  positions.txt       the distinct positions of all games, one FEN per line
"""
import random
import subprocess
import sys
from pathlib import Path

STOCKFISH = "/usr/games/stockfish"
OUT = Path(__file__).resolve().parent.parent / "tests" / "data" / "games"


class Stockfish:
    def __init__(self):
        self.proc = subprocess.Popen([STOCKFISH], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                     text=True, bufsize=1)
        self.send("uci")
        self.until("uciok")

    def send(self, line):
        self.proc.stdin.write(line + "\n")

    def until(self, prefix):
        lines = []
        while True:
            line = self.proc.stdout.readline()
            if not line:
                raise RuntimeError("stockfish ended")
            line = line.rstrip("\n")
            lines.append(line)
            if line.startswith(prefix):
                return lines

    def sync(self):
        self.send("isready")
        self.until("readyok")

    def position(self, base, moves):
        self.send(base + (" moves " + " ".join(moves) if moves else ""))

    def fen(self):
        self.send("d")
        for line in self.until("Checkers:"):
            if line.startswith("Fen: "):
                fen = line[5:]
        return fen

    def legal_moves(self):
        self.send("go perft 1")
        lines = self.until("Nodes searched")
        return [l.split(":")[0] for l in lines if ":" in l and not l.startswith("Nodes")]

    def best(self, skill, depth):
        self.send(f"setoption name Skill Level value {skill}")
        self.send(f"go depth {depth}")
        return self.until("bestmove")[-1].split()[1]


def game_over(fen, legal):
    if not legal:
        return True
    fields = fen.split()
    if int(fields[4]) >= 100:
        return True
    pieces = [c for c in fields[0] if c.isalpha()]
    return sorted(pieces) == ["K", "k"]


def play(sf, rng, base, start_moves, max_plies):
    moves = list(start_moves)
    sf.position(base, moves)
    fens = [sf.fen()]
    random_plies = rng.randint(0, 6)
    skill = rng.randint(0, 8)
    depth = rng.randint(1, 4)
    while len(moves) - len(start_moves) < max_plies:
        legal = sf.legal_moves()
        if game_over(fens[-1], legal):
            break
        if len(moves) - len(start_moves) < random_plies:
            move = rng.choice(sorted(legal))
        else:
            sf.send("ucinewgame")
            sf.sync()
            sf.position(base, moves)
            move = sf.best(skill, depth)
        moves.append(move)
        sf.position(base, moves)
        fens.append(sf.fen())
    return moves, fens


def main():
    count_start = int(sys.argv[1]) if len(sys.argv) > 1 else 200
    count_setup = int(sys.argv[2]) if len(sys.argv) > 2 else 50
    rng = random.Random(20261207)
    sf = Stockfish()
    OUT.mkdir(parents=True, exist_ok=True)
    start_lines, setup_lines, trace, seen = [], [], [], {}
    game = 0
    for _ in range(count_start):
        moves, fens = play(sf, rng, "position startpos", [], 400)
        start_lines.append("position startpos moves " + " ".join(moves))
        trace += [f"{game} {ply} {fen}" for ply, fen in enumerate(fens)]
        for fen in fens:
            seen.setdefault(fen, None)
        game += 1
    for _ in range(count_setup):
        # A set-up position: somewhere in the opening or middle game of a fresh game.
        prefix, _ = play(sf, rng, "position startpos", [], rng.randint(6, 40))
        sf.position("position startpos", prefix)
        start_fen = sf.fen()
        moves, fens = play(sf, rng, "position fen " + start_fen, [], 400)
        setup_lines.append(f"position fen {start_fen} moves " + " ".join(moves))
        trace += [f"{game} {ply} {fen}" for ply, fen in enumerate(fens)]
        for fen in fens:
            seen.setdefault(fen, None)
        game += 1
    (OUT / "startpos_games.txt").write_text("\n".join(start_lines) + "\n")
    (OUT / "setup_games.txt").write_text("\n".join(setup_lines) + "\n")
    (OUT / "trace.txt").write_text("\n".join(trace) + "\n")
    (OUT / "positions.txt").write_text("\n".join(seen) + "\n")
    sf.send("quit")


if __name__ == "__main__":
    main()
