#include "Statistics.h"

#include <algorithm>
#include <cmath>

namespace bench {

double median(std::vector<double> values) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const std::size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

double percentile(std::vector<double> values, double percent) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const double rank = std::ceil(percent / 100.0 * static_cast<double>(values.size()));
    const std::size_t index = rank < 1 ? 0 : static_cast<std::size_t>(rank) - 1;
    return values[std::min(index, values.size() - 1)];
}

std::vector<std::pair<std::string, long>> mostFrequent(const std::map<std::string, long>& seen,
                                                       std::size_t count) {
    std::vector<std::pair<std::string, long>> texts(seen.begin(), seen.end());
    std::stable_sort(texts.begin(), texts.end(),
                     [](const auto& a, const auto& b) { return a.second > b.second; });
    texts.resize(std::min(count, texts.size()));
    return texts;
}

} // namespace bench
