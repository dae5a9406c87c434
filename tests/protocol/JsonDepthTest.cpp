#include "protocol/JsonDepth.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string nested(int levels, char open, char close) {
    return std::string(levels, open) + std::string(levels, close);
}

TEST(JsonDepthTest, CountsArraysAndObjectsUpToTheLimit) {
    EXPECT_FALSE(proto::exceedsJsonDepth(nested(64, '[', ']')));
    EXPECT_TRUE(proto::exceedsJsonDepth(nested(65, '[', ']')));
    EXPECT_FALSE(proto::exceedsJsonDepth(R"({"a":{"b":[1,{"c":[]}]}})", 5));
    EXPECT_TRUE(proto::exceedsJsonDepth(R"({"a":{"b":[1,{"c":[]}]}})", 4));
}

TEST(JsonDepthTest, SiblingsDoNotAddUp) {
    std::string text = "[";
    for (int i = 0; i < 1000; ++i) {
        text += "[[]],";
    }
    text += "[]]";
    EXPECT_FALSE(proto::exceedsJsonDepth(text, 3));
}

TEST(JsonDepthTest, BracketsInsideStringsAndEscapesDoNotCount) {
    const std::string deepText = "[\"" + nested(100, '[', '{') + "\\\"[[[\\\\\"]";
    EXPECT_FALSE(proto::exceedsJsonDepth(deepText, 1));
    // An escaped backslash ends before the closing quote, so the brackets after it count again.
    EXPECT_TRUE(proto::exceedsJsonDepth(R"(["\\", [[]]])", 2));
}

TEST(JsonDepthTest, AHundredThousandLevelsAreMeasuredWithoutRecursion) {
    EXPECT_TRUE(proto::exceedsJsonDepth(nested(100000, '[', ']')));
    EXPECT_TRUE(proto::exceedsJsonDepth(std::string(100000, '{')));
}

} // namespace
