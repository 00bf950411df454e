#include "search/move_text.h"

namespace search {

std::string MoveToText(int from, int to) {
  // The decimal digits of from x 100 + to, with the two file digits raised by
  // a further 48 so that 1..8 read a..h.
  const int number = from * 100 + to;
  std::string text(4, ' ');
  text[0] = static_cast<char>('0' + number / 1000 % 10 + 48);
  text[1] = static_cast<char>('0' + number / 100 % 10);
  text[2] = static_cast<char>('0' + number / 10 % 10 + 48);
  text[3] = static_cast<char>('0' + number % 10);
  return text;
}

}  // namespace search
