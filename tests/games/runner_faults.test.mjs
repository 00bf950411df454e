// The game runner must fail when the engine misbehaves. The real engine is put behind
// a small shell wrapper that breaks one thing each (a stale position, a garbled or
// missing bestmove, a process killed at its 5th go), and the runner has to name the fault.
//
//   BRINDLET_ENGINE=PATH BRINDLET_BOOKS=DIR node --test runner_faults.test.mjs
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { chmodSync, mkdtempSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';

const engine = process.env.BRINDLET_ENGINE;
const books = process.env.BRINDLET_BOOKS;
const runner = new URL('./play_games.mjs', import.meta.url).pathname;
const killAtGo = new URL('./kill_at_go.sh', import.meta.url).pathname;

const faults = [
  {
    name: 'an engine answering for the position before the last move plays illegal moves',
    // Drops the last move text of every position command.
    script: `sed -u -E 's/ [a-h][1-8][a-h][1-8][nbrq]?$//' | "$ENGINE"`,
    expected: /Brindlet played the illegal move \S+ in .+\(position startpos moves /,
  },
  {
    name: 'a bestmove line with trailing words is garbled',
    script: `"$ENGINE" | sed -u 's/^bestmove \\(.*\\)$/bestmove \\1 now/'`,
    expected: /Brindlet wrote an unexpected line: "bestmove \S+ now"/,
  },
  {
    name: 'an engine that ends its lines in CR LF is refused',
    script: `"$ENGINE" | sed -u 's/$/\\r/'`,
    expected: /Brindlet wrote an unexpected line: "id name Brindlet\\r"/,
  },
  {
    name: 'a bestmove without its source line is refused',
    script: `"$ENGINE" | grep --line-buffered -v '^info '`,
    expected: /Brindlet sent no source line before its bestmove/,
  },
  {
    name: 'a search move passed off as the mate solver\'s is a mate claim that is not kept',
    script: `"$ENGINE" | sed -u 's/^info BestMove/info SolveMate/'`,
    expected: /Brindlet claimed mate in 3 with \S+ in .+ but (has not mated after 3 moves|the game ended)/,
  },
  {
    name: 'an engine that never answers go runs into the deadline',
    script: `"$ENGINE" | grep --line-buffered -v '^bestmove'`,
    expected: /Brindlet gave no answer to go within 1500 ms/,
  },
  {
    name: 'an engine that dies in the middle of a game is a crash',
    // Killed on a game event, its 5th go, so the game is never over before the kill.
    script: `exec '${killAtGo}' 5 "$ENGINE"`,
    expected: /Brindlet exited \(code null, signal SIGKILL\)|Brindlet exited \(code 137/,
    // It answered four go, in the middle of the game, before it was killed.
    alsoExpected: /our moves by source: .*\(4 moves\)/,
  },
  {
    name: 'an engine that leaves with a non-zero status after quit fails the run',
    script: `"$ENGINE"; exit 3`,
    expected: /FAILURE: Brindlet ended with code 3, signal null after quit/,
    games: /games: 1 passed, 0 failed/,
  },
];

for (const fault of faults) {
  test(fault.name, { skip: !engine && 'BRINDLET_ENGINE is not set' }, () => {
    const dir = mkdtempSync(join(tmpdir(), 'brindlet-faults-'));
    try {
      const wrapper = join(dir, 'engine.sh');
      writeFileSync(wrapper, `#!/usr/bin/env bash\nENGINE='${engine}'\n${fault.script}\n`);
      chmodSync(wrapper, 0o755);
      const args = [runner, '--engine', wrapper, '--games', '1', '--pgn', join(dir, 'games.pgn'), '--timeout-ms', '1500', '--work', dir];
      if (books) args.push('--books', books);
      const run = spawnSync(process.execPath, args, { encoding: 'utf8', timeout: 60000 });
      assert.equal(run.status, 1, `exit status ${run.status}\n${run.stdout}${run.stderr}`);
      assert.match(run.stdout, fault.expected);
      if (fault.alsoExpected) assert.match(run.stdout, fault.alsoExpected);
      assert.match(run.stdout, fault.games ?? /games: 0 passed, 1 failed/);
    } finally {
      rmSync(dir, { recursive: true, force: true });
    }
  });
}
