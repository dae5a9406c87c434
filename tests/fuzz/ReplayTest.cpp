#include "FuzzCheck.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

// Without libFuzzer a fuzz target runs over its corpus: the seeds and every input that once broke a
// property, kept so that the plain and the sanitizer suites check it again.

namespace {

const std::filesystem::path kCorpus = RESTCONT_FUZZ_CORPUS;

std::vector<std::string> corpusFiles() {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(kCorpus))
        if (entry.is_regular_file())
            names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string testName(const ::testing::TestParamInfo<std::string>& info) {
    std::string name = info.param;
    std::replace_if(
        name.begin(), name.end(), [](unsigned char c) { return !std::isalnum(c); }, '_');
    return name;
}

class Corpus : public ::testing::TestWithParam<std::string> {};

TEST_P(Corpus, InputKeepsEveryProperty) {
    std::ifstream in(kCorpus / GetParam(), std::ios::binary);
    ASSERT_TRUE(in) << (kCorpus / GetParam());
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_EQ(LLVMFuzzerTestOneInput(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()), 0);
}

INSTANTIATE_TEST_SUITE_P(Replay, Corpus, ::testing::ValuesIn(corpusFiles()), testName);

} // namespace
