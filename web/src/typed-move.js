// A move typed as text by a person who plays by keyboard: SAN or coordinates, read against the
// legal moves of a chess.js position.
import {quote} from "./position.js";

// A move typed as SAN (Nf3, exd5, e8=Q, O-O) or in coordinates (e2e4, e7e8q): {uci} for the
// one legal move it names, or {error} saying why it names none or more than one.
export function findTypedMove(chess, text) {
  const typed = text.trim().replace(/[+#!?]+$/, "");
  const legal = chess.moves({verbose: true});
  const shown = quote(text.trim());
  let candidates;
  let coordinates = /^([a-h][1-8])[-x]?([a-h][1-8])=?([qrbn])?$/i.exec(typed);
  const castles = /^([o0])-\1(-\1)?$/i.exec(typed);
  const san = /^([NBRQK])?([a-h])?([1-8])?x?([a-h][1-8])(?:=?([NBRQnbrq]))?$/.exec(typed);
  if (coordinates) {
    const [, from, to, promotion] = coordinates.map((part) => part?.toLowerCase());
    candidates = legal.filter((move) => move.from === from && move.to === to && (!promotion || move.promotion === promotion));
  } else if (castles) {
    const flag = castles[2] ? "q" : "k";
    candidates = legal.filter((move) => move.piece === "k" && move.flags.includes(flag));
  } else if (san) {
    const [, piece, file, rank, to, promotion] = san;
    candidates = legal.filter((move) => move.piece === (piece ?? "P").toLowerCase() && move.to === to &&
      (!file || move.from[0] === file) && (!rank || move.from[1] === rank) &&
      (!promotion || move.promotion === promotion.toLowerCase()));
  } else if (typed === "") {
    return {error: "Type a move first, such as e4, Nf3, O-O or e2e4."};
  } else {
    return {error: `“${shown}” is not a move the page can read: type it as e4, Nf3, exd5, e8=Q, O-O or e2e4.`};
  }
  if (candidates.length === 0) return {error: `“${shown}” is not a legal move here.`};
  if (candidates.length > 1) {
    if (candidates.every((move) => move.promotion && move.from === candidates[0].from && move.to === candidates[0].to)) {
      const {from, to} = candidates[0];
      return {error: `“${shown}” needs the piece the pawn becomes: for example ${to}=Q or ${from}${to}q.`};
    }
    const names = candidates.map((move) => move.san);
    return {error: `“${shown}” is ambiguous: it could be ${names.slice(0, -1).join(", ")} or ${names[names.length - 1]}.`};
  }
  return {uci: candidates[0].lan};
}
