#pragma once

#include <vector>

// At most this many samples a Draw; more would only freeze the window.
inline constexpr int kMaxSamples = 100000;

// The x values Draw samples: Min, then Min plus Step added again and again,
// as long as x <= Max. An x that passes Max only through the rounding of the
// additions (by less than a thousandth of Step) is still taken, so that 0 to
// 0.3 by 0.1 ends at 0.3. No samples when Min > Max. Otherwise these raise an
// error before any sample: a Step that is not above 0; a range of more than
// kMaxSamples samples (the message says how many it needs); a Step too small
// to move x on.
std::vector<double> sampleXs(double min, double max, double step);
