#pragma once
#include <string>
#include <string_view>

struct real_pcre;

namespace frontend {

// One compiled PCRE pattern: no option bits, the library's default character tables.
class PcrePattern {
 public:
  explicit PcrePattern(std::string_view pattern);
  ~PcrePattern();
  PcrePattern(const PcrePattern&) = delete;
  PcrePattern& operator=(const PcrePattern&) = delete;

  bool ok() const { return compiled_ != nullptr; }
  // pcre_exec over the whole subject from startOffset: no study data, no option bits.
  int Exec(std::string_view subject, int startOffset, int* matchVector, int vectorSize) const;

 private:
  real_pcre* compiled_ = nullptr;
};

// True when the pattern compiles and finds a match anywhere in the subject.
bool MatchesPattern(std::string_view pattern, std::string_view subject);

}  // namespace frontend
