#pragma once
// "Did you mean ...": the nearest of the known words to a mistyped one.

#include <string>
#include <vector>

namespace vellumar::cli {

// " (did you mean 'x'?)" naming the candidate within a few edits of the word
// (every letter's case folded), or "" when none is near enough to be a likely typing slip.
std::string DidYouMean(const std::string& word, const std::vector<std::string>& candidates);

} // namespace vellumar::cli
