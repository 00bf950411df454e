#pragma once
#include <cstdint>

// The opening book: standard Polyglot .bin books, a tour book asked before a main book.
extern "C" {
// Opens the books that exist and are well formed; 0 when at least one opened.
int32_t INITIALIZE(const char* tourBook, const char* mainBook);
// Looks up the FEN text; on a hit writes the from-square text into fromText and the
// to-square text (with a promotion letter) into toText and returns 0.
int32_t FIND_OPENING(const char* fen, char* fromText, char* toText, char* spare1, char* spare2,
                     char* spare3, char* spare4, int32_t* spareNumber);
void CLOSE_BOOK(void);
}
