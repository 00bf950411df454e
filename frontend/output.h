#pragma once
#include <functional>
#include <string_view>

namespace frontend {

// Writes one answer line (the text; the writer adds the platform's line end). False when the reader is gone.
using LineWriter = std::function<bool(std::string_view text)>;

}  // namespace frontend
