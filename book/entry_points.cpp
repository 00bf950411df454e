#include "book/entry_points.h"

#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "book/book.h"

namespace {

// The caller's FEN buffer holds 200 bytes; nothing past it is read.
constexpr std::size_t kFenBufferSize = 200;

// Book names come in the form ".\tourbook.bin", where the backslash separates the path.
std::string LocalPath(const char* name) {
  std::string path = name != nullptr ? name : "";
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  return path;
}

// A FEN text only if a zero byte ends it inside the buffer; nothing past that byte is read.
std::optional<std::string_view> FenText(const char* fen) {
  if (fen == nullptr) return std::nullopt;
  const std::size_t length = strnlen(fen, kFenBufferSize);
  if (length == kFenBufferSize) return std::nullopt;
  return std::string_view(fen, length);
}

}  // namespace

extern "C" {

int32_t INITIALIZE(const char* tourBook, const char* mainBook) {
  return book::OpenBooks(LocalPath(tourBook), LocalPath(mainBook)) ? 0 : 1;
}

int32_t FIND_OPENING(const char* fen, char* fromText, char* toText, char*, char*, char*, char*, int32_t*) {
  if (fromText == nullptr || toText == nullptr) return 1;
  const std::optional<std::string_view> text = FenText(fen);
  if (!text) return 1;
  const std::optional<rules::Move> move = book::FindMove(*text);
  if (!move) return 1;
  // Both buffers hold 10 bytes: "e2" and "e4" or "e7" and "e8q", each zero-terminated.
  const rules::MoveText moveText = rules::ToUci(*move);
  std::memcpy(fromText, moveText.c_str(), 2);
  fromText[2] = '\0';
  std::memcpy(toText, moveText.c_str() + 2, 3);
  toText[3] = '\0';
  return 0;
}

void CLOSE_BOOK(void) { book::CloseBooks(); }

}  // extern "C"
