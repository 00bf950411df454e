// What the page tells the person: the status line (role="status"), the polite live region that
// says each move, its source, a takeback, a position under review and the result (#said), the
// hint under the move box, the result, an error, and notes about what the device keeps.
const element = (id) => document.getElementById(id);

export function setStatus(text) {
  element("status").textContent = text;
}

export function say(text) {
  element("said").textContent = text;
}

export function hint(text) {
  element("move-hint").textContent = text;
}

// A note that stays until replaced: storage refused, a game set aside, another tab.
export function note(text) {
  const box = element("note");
  box.textContent = text;
  box.hidden = text === "";
}

export function showResult(words, score) {
  const scoreText = document.createElement("span");
  scoreText.className = "score";
  scoreText.textContent = score;
  element("result").replaceChildren(`${words}, `, scoreText);
  element("result").hidden = false;
}

export function hideResult() {
  element("result").hidden = true;
}

export function showError(text) {
  element("error").textContent = text;
  element("error").hidden = text === "";
}
