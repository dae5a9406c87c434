#pragma once

#include <vector>

namespace bench {

// The middle of the values (the mean of the two middle ones for an even count); 0 for none.
double median(std::vector<double> values);

// The nearest-rank percentile: the smallest value that at least `percent` of the values do not
// exceed, so the 99th of a hundred calls is the second slowest, never a value between two calls.
// 0 for none.
double percentile(std::vector<double> values, double percent);

} // namespace bench
