#include "frontend/byte_input.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

namespace frontend {

ByteInput ByteInput::FromText(std::string_view text) {
  auto rest = std::make_shared<std::string>(text);
  auto offset = std::make_shared<std::size_t>(0);
  return ByteInput([rest, offset](char* buffer, std::size_t capacity) -> long {
    const std::size_t n = std::min(capacity, rest->size() - *offset);
    std::memcpy(buffer, rest->data() + *offset, n);
    *offset += n;
    return static_cast<long>(n);
  });
}

bool ByteInput::Refill() {
  if (ended_) return false;
  const long got = read_(buffer_, sizeof buffer_);
  if (got <= 0) {
    ended_ = true;
    return false;
  }
  position_ = 0;
  size_ = static_cast<std::size_t>(got);
  return true;
}

void ByteInput::DropRestOfLine() {
  for (int byte = Get(); byte != kEnd; byte = Get()) {
    if (byte == '\n') return;
    if (byte == '\r') {
      if (Peek() == '\n') Get();
      return;
    }
  }
}

}  // namespace frontend
