#pragma once
// Copies of a printout made by drawing it again, for printers and PDF output
// that cannot make copies themselves.

#include "output/canvas.h"

#include <functional>

namespace vellumar {

// Draws `copies` copies of what `render` draws on `canvas`, one page after
// another: collated, the whole document again and again; otherwise each page
// `copies` times before the next. `render` is run once per page drawn (and once
// to count the pages) and must draw the same pages each time.
void RenderCopies(Canvas& canvas, int copies, bool collate,
                  const std::function<void(Canvas&)>& render);

} // namespace vellumar
