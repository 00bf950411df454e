// Short sounds for a move, a capture, a check and the game's end, made in the page with Web
// Audio (no sound files): a tone or two each. The audio context is made at the first sound,
// after the person has touched the page, as browsers require.
const TONES = {
  move: [[520, 0.06]],
  capture: [[330, 0.05], [250, 0.07]],
  check: [[660, 0.07], [880, 0.09]],
  end: [[523, 0.12], [392, 0.12], [262, 0.22]],
};

let context = null;

export function playSound(kind, on) {
  if (!on || !TONES[kind]) return;
  try {
    context ??= new AudioContext();
    if (context.state === "suspended") context.resume().catch(() => {});
    let at = context.currentTime;
    for (const [frequency, length] of TONES[kind]) {
      const oscillator = context.createOscillator();
      const gain = context.createGain();
      oscillator.frequency.value = frequency;
      gain.gain.setValueAtTime(0.15, at);
      gain.gain.exponentialRampToValueAtTime(0.001, at + length);
      oscillator.connect(gain).connect(context.destination);
      oscillator.start(at);
      oscillator.stop(at + length);
      at += length;
    }
  } catch {
    // No audio on this device: the game is the same without it.
  }
}

// The sound of a move as the game's model gives it.
export function moveSound(move) {
  if (move.check) return "check";
  return move.captured ? "capture" : "move";
}
