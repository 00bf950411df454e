#pragma once
#include <string_view>

namespace frontend {

bool IsValidFEN(std::string_view fen);

}  // namespace frontend
