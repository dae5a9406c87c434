#pragma once

#include "DemoShape.h"

#include <optional>
#include <string>
#include <vector>

namespace demo {

// The options of restcont-demo that change the demo's shape: "--branches N" and "--months LIST"
// (also as "--branches=N", "--months=LIST"). Without either, the demo is the standard one.
class ShapeOptions {
public:
    // Takes args[i] when it is one of these options, with its value, and moves i onto the value.
    // Throws std::invalid_argument for a missing, bad or repeated value.
    bool take(const std::vector<std::string>& args, std::size_t& i);
    bool requested() const { return branches_ || months_; }
    // The shape asked for: the standard branches or months where an option is left out.
    DemoShape shape() const;

private:
    std::optional<int> branches_;
    std::optional<std::vector<std::string>> months_;
};

// The lines --help adds for these options.
std::string shapeSummary();

} // namespace demo
