#pragma once
// The opening book's C entry points, as the engine calls them: thin adapters over the
// typed door in book.h.
#include <cstdint>

extern "C" {
// Opens each named book that exists and is well formed; 0 when at least one opened,
// 1 when none did. A backslash in a name is a path separator; names are relative to the
// working directory. An empty file is no book. Opening again first closes what was open.
int32_t INITIALIZE(const char* tourBook, const char* mainBook);
// Looks up the FEN text (read up to its zero byte, at most 200 bytes) as book::FindMove
// does. On a hit it writes the from-square text into fromText and the to-square text (with
// a promotion letter) into toText, each zero-terminated in lower case, and returns 0. A
// miss returns 1 and writes nothing. The spare buffers and the number are not touched.
int32_t FIND_OPENING(const char* fen, char* fromText, char* toText, char* spare1, char* spare2,
                     char* spare3, char* spare4, int32_t* spareNumber);
// Releases both books; a second call does nothing.
void CLOSE_BOOK(void);
}
