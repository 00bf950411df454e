#pragma once
#include <cstddef>
#include <string>

#include "frontend/byte_input.h"

namespace frontend {

// An item holds at most this many bytes (1 MiB); the rest of a longer line becomes further
// items. The longest possible game as a "position startpos moves" line is about 110 KB.
inline constexpr std::size_t kMaxItemLength = 1024 * 1024;

struct ReadResult {
  std::string item;
  // The input ended while this item was read: nothing follows it.
  bool endOfInput = false;
  // The item was ended by a line end (directly, or after its closing quote or its cut).
  bool endedLine = false;
};

// Takes the next command item from a pipe or file stream: blanks and tabs before it are
// skipped; it ends at a comma, a line end (LF, CR or CR LF) or after kMaxItemLength bytes; a double
// quote at its start makes commas, blanks and tabs part of it up to the closing quote.
ReadResult ReadCommand(ByteInput& input);

// The same rules for an interactive console: the first item of one typed line, the rest of
// that line dropped.
ReadResult ReadConsoleCommand(ByteInput& input);

}  // namespace frontend
