#pragma once
#include <cstdint>
#include <string_view>

struct pcre2_real_code_8;
struct pcre2_real_match_data_8;

namespace frontend {

// One compiled pattern of PCRE2's 8-bit library: no option bits, the default character tables.
class PcrePattern {
 public:
  explicit PcrePattern(std::string_view pattern);
  ~PcrePattern();
  PcrePattern(const PcrePattern&) = delete;
  PcrePattern& operator=(const PcrePattern&) = delete;

  bool ok() const { return compiled_ != nullptr && matchData_ != nullptr; }
  // One search of the whole subject from startOffset, no option bits, reported the way the
  // classic pcre_exec interface did: the first two thirds of matchVector take offset pairs
  // (-1 for an unset group), and the result is the number of pairs up to the highest set
  // one, 0 when a set group found no room, or negative for no match or an error.
  int Exec(std::string_view subject, int startOffset, int32_t* matchVector, int vectorSize) const;

 private:
  pcre2_real_code_8* compiled_ = nullptr;
  // Room for every group of the pattern, so that the search itself never runs short.
  pcre2_real_match_data_8* matchData_ = nullptr;
};

// True when the pattern compiles and finds a match anywhere in the subject.
bool MatchesPattern(std::string_view pattern, std::string_view subject);

}  // namespace frontend
