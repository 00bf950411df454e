// Picks short opening lines from pgn-extract's ECO file so that every game of a
// match starts from a different, named opening.
//
//   node extract_openings.mjs [ECO_PGN] [OUT_DIR] [COUNT]
//
// Writes OUT_DIR/openings.tsv (ECO, name, SAN moves, UCI moves; one line each) and
// OUT_DIR/openings.pgn (the same lines as PGN games, for xboard's -loadGameFile).
// The choice is deterministic: lines of 6 to 10 plies, one per final position,
// spread evenly over the whole file, which is ordered by ECO code.
import { readFileSync, writeFileSync, mkdirSync } from 'node:fs';
import { join } from 'node:path';
import { Chess } from 'chess.js';

const ecoPath = process.argv[2] ?? '/usr/share/pgn-extract/eco.pgn';
const outDir = process.argv[3] ?? new URL('../data/games/openings/', import.meta.url).pathname;
const count = Number(process.argv[4] ?? 100);
const minPlies = 6;
const maxPlies = 10;

// The ECO file is a leading comment, then entries of tag lines and one move text ending in "*".
function parseEntries(text) {
  const body = text.replace(/^\{[\s\S]*?\}/, '');
  const entries = [];
  let tags = {};
  let moves = [];
  for (const raw of body.split(/\r?\n/)) {
    const line = raw.trim();
    const tag = /^\[(\w+) "(.*)"\]$/.exec(line);
    if (tag) {
      tags[tag[1]] = tag[2];
      continue;
    }
    if (line === '') continue;
    moves.push(line);
    if (line.endsWith('*')) {
      entries.push({ tags, moveText: moves.join(' ') });
      tags = {};
      moves = [];
    }
  }
  return entries;
}

function sanTokens(moveText) {
  return moveText
    .replace(/\*$/, '')
    .split(/\s+/)
    .map((t) => t.replace(/^\d+\.+/, ''))
    .filter((t) => t.length > 0);
}

const seen = new Set();
const candidates = [];
for (const { tags, moveText } of parseEntries(readFileSync(ecoPath, 'latin1'))) {
  const sans = sanTokens(moveText);
  if (sans.length < minPlies || sans.length > maxPlies) continue;
  const chess = new Chess();
  const ucis = [];
  let legal = true;
  for (const san of sans) {
    try {
      const m = chess.move(san);
      ucis.push(m.from + m.to + (m.promotion ?? ''));
    } catch {
      legal = false;
      break;
    }
  }
  if (!legal || chess.isGameOver()) continue;
  const key = chess.fen().split(' ').slice(0, 4).join(' ');
  if (seen.has(key)) continue;
  seen.add(key);
  const name = [tags.Opening, tags.Variation].filter(Boolean).join(', ').replace(/\t/g, ' ');
  candidates.push({ eco: tags.ECO ?? '?', name, sans, ucis });
}

if (candidates.length < count) {
  console.error(`only ${candidates.length} usable lines in ${ecoPath}, ${count} wanted`);
  process.exit(1);
}
const chosen = [];
for (let i = 0; i < count; i++) chosen.push(candidates[Math.floor((i * candidates.length) / count)]);

mkdirSync(outDir, { recursive: true });
writeFileSync(
  join(outDir, 'openings.tsv'),
  chosen.map((c) => [c.eco, c.name, c.sans.join(' '), c.ucis.join(' ')].join('\t')).join('\n') + '\n',
);
writeFileSync(
  join(outDir, 'openings.pgn'),
  chosen
    .map((c) => {
      const chess = new Chess();
      for (const san of c.sans) chess.move(san);
      chess.setHeader('Event', 'Opening');
      chess.setHeader('ECO', c.eco);
      chess.setHeader('Opening', c.name.replace(/"/g, "'"));
      return chess.pgn() + '\n';
    })
    .join('\n'),
);
console.log(`${chosen.length} of ${candidates.length} lines written to ${outDir}`);
