#include "frontend/command_reader.h"

namespace frontend {
namespace {

bool IsBlank(int byte) { return byte == ' ' || byte == '\t'; }

void SkipBlanks(ByteInput& input) {
  while (IsBlank(input.Peek())) input.Get();
}

// Consumes one line end (CR LF counting as one) if the next byte starts one.
bool TakeLineEnd(ByteInput& input) {
  const int byte = input.Peek();
  if (byte == '\n') {
    input.Get();
    return true;
  }
  if (byte == '\r') {
    input.Get();
    if (input.Peek() == '\n') input.Get();
    return true;
  }
  return false;
}

// After a closing quote or a cut item: blanks are skipped, then one comma or line end is
// taken. True when it was a line end.
bool TakeSeparatorAfterItem(ByteInput& input) {
  SkipBlanks(input);
  if (input.Peek() == ',') {
    input.Get();
    return false;
  }
  return TakeLineEnd(input);
}

// The bytes of one item. A quoted item (its opening quote already taken) ends at its closing
// quote and keeps commas; a plain item ends at a comma. Both end at a line end, at the end of
// input, or after kMaxItemLength bytes.
ReadResult ReadItem(ByteInput& input, bool quoted) {
  ReadResult result;
  for (;;) {
    const int byte = input.Peek();
    if (byte == ByteInput::kEnd) {
      result.endOfInput = true;
      return result;
    }
    if (quoted && byte == '"') {
      input.Get();
      result.endedLine = TakeSeparatorAfterItem(input);
      return result;
    }
    if (!quoted && byte == ',') {
      input.Get();
      return result;
    }
    if (byte == '\n' || byte == '\r') {
      result.endedLine = TakeLineEnd(input);
      return result;
    }
    result.item.push_back(static_cast<char>(input.Get()));
    if (result.item.size() == kMaxItemLength) {
      result.endedLine = TakeSeparatorAfterItem(input);
      return result;
    }
  }
}

}  // namespace

ReadResult ReadCommand(ByteInput& input) {
  SkipBlanks(input);
  const int first = input.Peek();
  if (first == ByteInput::kEnd) return ReadResult{{}, true};
  const bool quoted = first == '"';
  if (quoted) input.Get();
  return ReadItem(input, quoted);
}

ReadResult ReadConsoleCommand(ByteInput& input) {
  ReadResult result = ReadCommand(input);
  // An item that ended mid-line (comma, closing quote, cut) leaves the rest of the typed
  // line unread; it is not used.
  if (!result.endOfInput && !result.endedLine) input.DropRestOfLine();
  return result;
}

}  // namespace frontend
