#pragma once
#include <cstddef>
#include <functional>
#include <string_view>

namespace frontend {

// A byte stream with one byte of look-ahead, filled in chunks from a read
// function (standard input in the engine, a string in tests and fuzzing).
class ByteInput {
 public:
  static constexpr int kEnd = -1;
  // Returns the number of bytes placed in the buffer; 0 or less means end of input.
  using ReadFunction = std::function<long(char* buffer, std::size_t capacity)>;

  explicit ByteInput(ReadFunction read) : read_(std::move(read)) {}
  static ByteInput FromText(std::string_view text);

  int Peek() {
    if (position_ == size_ && !Refill()) return kEnd;
    return static_cast<unsigned char>(buffer_[position_]);
  }
  int Get() {
    const int byte = Peek();
    if (byte != kEnd) ++position_;
    return byte;
  }
  // Takes the rest of the current line, its line end included, without keeping it.
  void DropRestOfLine();

 private:
  bool Refill();

  ReadFunction read_;
  char buffer_[65536];
  std::size_t position_ = 0;
  std::size_t size_ = 0;
  bool ended_ = false;
};

}  // namespace frontend
