#pragma once
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace book_test {

struct RawEntry {
  std::uint64_t key;
  std::uint16_t move;
  std::uint16_t weight;
  std::uint32_t learn = 0;
};

// The bytes of a book with these entries in this order, each field highest byte first.
inline std::string BookBytes(const std::vector<RawEntry>& entries) {
  std::string bytes;
  auto put = [&bytes](std::uint64_t value, int count) {
    for (int shift = 8 * (count - 1); shift >= 0; shift -= 8) bytes.push_back(static_cast<char>(value >> shift));
  };
  for (const RawEntry& entry : entries) {
    put(entry.key, 8);
    put(entry.move, 2);
    put(entry.weight, 2);
    put(entry.learn, 4);
  }
  return bytes;
}

inline void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// The move field of a from-square and to-square text such as "e2" "e4".
constexpr std::uint16_t MoveField(const char* from, const char* to, int promotion = 0) {
  return static_cast<std::uint16_t>((to[0] - 'a') | (to[1] - '1') << 3 | (from[0] - 'a') << 6 |
                                    (from[1] - '1') << 9 | promotion << 12);
}

}  // namespace book_test
