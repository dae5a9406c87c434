#include "protocol/HostPort.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

using proto::HostPort;
using proto::PortZero;

namespace {

struct Accepted {
    const char* text;
    PortZero zero;
    const char* host;
    int port;
};

class HostPortAccepted : public testing::TestWithParam<Accepted> {};

TEST_P(HostPortAccepted, GivesTheHostBareAndThePort) {
    const HostPort address = proto::parseHostPort(GetParam().text, GetParam().zero);
    EXPECT_EQ(address.host, GetParam().host);
    EXPECT_EQ(address.port, GetParam().port);
    // What a person reads back is what they can type again.
    const HostPort again =
        proto::parseHostPort(proto::formatHostPort(address.host, address.port), GetParam().zero);
    EXPECT_EQ(again.host, address.host);
    EXPECT_EQ(again.port, address.port);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, HostPortAccepted,
    testing::Values(Accepted{"127.0.0.1:60251", PortZero::Refused, "127.0.0.1", 60251},
                    Accepted{"localhost:1", PortZero::Refused, "localhost", 1},
                    Accepted{"srv-02.cozinha_central.local:65535", PortZero::Refused,
                             "srv-02.cozinha_central.local", 65535},
                    Accepted{"[::1]:0", PortZero::Allowed, "::1", 0},
                    Accepted{"[::]:80", PortZero::Refused, "::", 80},
                    Accepted{"[2001:db8::7]:60251", PortZero::Refused, "2001:db8::7", 60251},
                    Accepted{"[::ffff:10.0.0.1]:8080", PortZero::Refused, "::ffff:10.0.0.1", 8080},
                    Accepted{"0.0.0.0:0", PortZero::Allowed, "0.0.0.0", 0}));

struct Refused {
    const char* text;
    PortZero zero;
    const char* why;
};

class HostPortRefused : public testing::TestWithParam<Refused> {};

TEST_P(HostPortRefused, SaysWhatIsWrongAndShowsTheForms) {
    try {
        proto::parseHostPort(GetParam().text, GetParam().zero);
        ADD_FAILURE() << "accepted " << GetParam().text;
    } catch (const std::invalid_argument& error) {
        const std::string message = error.what();
        EXPECT_EQ(message.rfind("'" + std::string(GetParam().text) + "': " + GetParam().why + " (", 0), 0u)
            << message;
        EXPECT_NE(message.find("use MÁQUINA:PORTA ou [IPv6]:PORTA"), std::string::npos) << message;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Forms, HostPortRefused,
    testing::Values(Refused{"", PortZero::Refused, "endereço vazio"},
                    Refused{"127.0.0.1", PortZero::Refused, "falta a porta"},
                    Refused{"127.0.0.1:", PortZero::Refused, "falta a porta"},
                    Refused{":60251", PortZero::Refused, "falta a máquina"},
                    Refused{"127.0.0.1:0", PortZero::Refused, "a porta vai de 1 a 65535"},
                    Refused{"127.0.0.1:65536", PortZero::Allowed, "a porta vai de 0 a 65535"},
                    Refused{"127.0.0.1:0060251", PortZero::Refused, "a porta vai de 1 a 65535"},
                    Refused{"127.0.0.1:+80", PortZero::Refused, "a porta deve ter só algarismos"},
                    Refused{"127.0.0.1: 80", PortZero::Refused, "a porta deve ter só algarismos"},
                    Refused{"::1:60251", PortZero::Refused, "um endereço IPv6 vai entre colchetes"},
                    Refused{"a:b:60251", PortZero::Refused, "máquina mal formada"},
                    Refused{"[::1]", PortZero::Refused, "falta a porta"},
                    Refused{"[::1]60251", PortZero::Refused, "depois de ']' vem ':PORTA'"},
                    Refused{"[::1:60251", PortZero::Refused, "falta o ']' do endereço IPv6"},
                    Refused{"[]:60251", PortZero::Refused, "falta o endereço IPv6 entre os colchetes"},
                    Refused{"[127.0.0.1]:60251", PortZero::Refused,
                            "não é um endereço IPv6 válido entre os colchetes"},
                    Refused{"[::1]:0", PortZero::Refused, "a porta vai de 1 a 65535"},
                    Refused{"user@host:80", PortZero::Refused, "nome de máquina com caractere inválido"},
                    Refused{"host/x:80", PortZero::Refused, "nome de máquina com caractere inválido"},
                    Refused{"my host:80", PortZero::Refused, "nome de máquina com caractere inválido"}));

TEST(HostPort, AHostAloneIsTakenBareOrInBrackets) {
    EXPECT_EQ(proto::parseHost("127.0.0.1"), "127.0.0.1");
    EXPECT_EQ(proto::parseHost("servidor.local"), "servidor.local");
    EXPECT_EQ(proto::parseHost("::1"), "::1");
    EXPECT_EQ(proto::parseHost("[::1]"), "::1");
    for (const char* bad : {"", "[::1", "[]", "[servidor]", "1:2:3", "a b", "127.0.0.1:80"})
        EXPECT_THROW(proto::parseHost(bad), std::invalid_argument) << bad;
}

TEST(HostPort, AnAbsurdlyLongAddressIsQuotedCut) {
    const std::string huge(100000, 'a');
    try {
        proto::parseHostPort(huge + ":80");
        ADD_FAILURE();
    } catch (const std::invalid_argument& error) {
        EXPECT_LT(std::string(error.what()).size(), 500u);
    }
}

TEST(HostPort, IPv6IsShownInBrackets) {
    EXPECT_EQ(proto::formatHostPort("::1", 60251), "[::1]:60251");
    EXPECT_EQ(proto::formatHostPort("127.0.0.1", 60251), "127.0.0.1:60251");
}

} // namespace
