#pragma once
// A scroll: a random choice of spells drawn from a book that holds them.

#include "model/spell_book.h"

#include <array>
#include <cstdint>
#include <memory>

namespace vellumar {

// A new book with the source's caster parameters and copies of counts[L-1]
// different spells of each level L, each count held within 0 and the source's
// count of that level. Frequencies, odds and specialty play no part. The new
// book is marked modified, since it has never been saved.
std::unique_ptr<TSpellBook> DrawScroll(TSpellBook& source, const std::array<int32_t, 9>& counts);

} // namespace vellumar
