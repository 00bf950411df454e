#include "notation/notation.h"

namespace notation {

std::vector<std::string_view> SplitText(std::string_view text, char separator) {
  std::vector<std::string_view> fields;
  std::string_view remaining = text;
  do {
    const std::size_t at = remaining.find(separator);
    if (at == std::string_view::npos) {
      fields.push_back(remaining);
      remaining = {};
    } else {
      fields.push_back(remaining.substr(0, at));
      remaining.remove_prefix(at + 1);
    }
  } while (!remaining.empty());
  if (fields.size() > 1 && fields.back().empty()) fields.pop_back();
  return fields;
}

SixFields SplitAtFiveBlanks(std::string_view fen) {
  SixFields fields;
  for (std::size_t index = 0; index < 5; ++index) {
    const std::size_t blank = fen.find(' ');
    if (blank == std::string_view::npos) continue;
    fields[index] = fen.substr(0, blank);
    fen.remove_prefix(blank + 1);
  }
  fields[5] = fen;
  return fields;
}

std::optional<BlankFields> SplitAtEveryBlank(std::string_view text) {
  BlankFields fields;
  while (true) {
    if (fields.count == static_cast<int>(fields.field.size())) return std::nullopt;
    const std::size_t blank = text.find(' ');
    fields.field[static_cast<std::size_t>(fields.count++)] = text.substr(0, blank);
    if (blank == std::string_view::npos) return fields;
    text.remove_prefix(blank + 1);
  }
}

}  // namespace notation
