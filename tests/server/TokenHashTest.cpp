#include "server/sessions/TokenHash.h"
#include "server/sessions/SessionStore.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(TokenHash, MatchesTheStandardsVectorsAndKeepsEveryByte) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        // A zero byte inside is hashed, not taken for the end of the text.
        {std::string("a\0b", 3), "59b271ae1bbcb1d31d41929817f4b16fb439eb4f31520b5ad1d5ce98920a7138"},
    };
    for (const auto& [text, digest] : cases)
        EXPECT_EQ(server::sha256Hex(text), digest) << text.size();
}

TEST(TokenHash, TokensAreSixtyFourHexDigitsAndNeverRepeat) {
    std::set<std::string> seen;
    for (int i = 0; i < 200; ++i) {
        const std::string token = server::secureToken();
        ASSERT_EQ(token.size(), 64u);
        EXPECT_EQ(token.find_first_not_of("0123456789abcdef"), std::string::npos) << token;
        seen.insert(token);
    }
    EXPECT_EQ(seen.size(), 200u);
}

} // namespace
