#pragma once
#include <string>

namespace search {

// The four-character move text of from -> to: file letter, rank digit, twice.
std::string MoveToText(int from, int to);

}  // namespace search
