#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace bench {

// The middle of the values (the mean of the two middle ones for an even count); 0 for none.
double median(std::vector<double> values);

// The nearest-rank percentile: the smallest value that at least `percent` of the values do not
// exceed, so the 99th of a hundred calls is the second slowest, never a value between two calls.
// 0 for none.
double percentile(std::vector<double> values, double percent);

// The `count` texts seen most often, most often first: what a run's error report shows.
std::vector<std::pair<std::string, long>> mostFrequent(const std::map<std::string, long>& seen,
                                                       std::size_t count);

} // namespace bench
