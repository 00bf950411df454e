#include "frontend/pcre_pattern.h"

#include <pcre.h>

#include <climits>

namespace frontend {

PcrePattern::PcrePattern(std::string_view pattern) {
  // pcre_compile reads a zero-terminated text; a pattern with a zero byte in it is cut there.
  const std::string text(pattern);
  const char* error = nullptr;
  int errorOffset = 0;
  compiled_ = pcre_compile(text.c_str(), 0, &error, &errorOffset, nullptr);
}

PcrePattern::~PcrePattern() {
  if (compiled_ != nullptr) pcre_free(compiled_);
}

int PcrePattern::Exec(std::string_view subject, int startOffset, int* matchVector, int vectorSize) const {
  if (compiled_ == nullptr || subject.size() > static_cast<size_t>(INT_MAX)) return PCRE_ERROR_NULL;
  return pcre_exec(compiled_, nullptr, subject.data(), static_cast<int>(subject.size()), startOffset, 0,
                   matchVector, vectorSize);
}

bool MatchesPattern(std::string_view pattern, std::string_view subject) {
  const PcrePattern compiled(pattern);
  if (!compiled.ok()) return false;
  int matchVector[30] = {};
  return compiled.Exec(subject, 0, matchVector, 30) >= 0;
}

}  // namespace frontend
