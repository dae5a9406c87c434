#include "protocol/HostPort.h"

#include <arpa/inet.h>

#include <stdexcept>

namespace proto {
namespace {

constexpr const char* kForms =
    "use MÁQUINA:PORTA ou [IPv6]:PORTA, por exemplo 127.0.0.1:60251 ou [::1]:60251";
// A name's longest form in DNS; an address text past it is refused before it is quoted back whole.
constexpr std::size_t kMaxHostLength = 253;

[[noreturn]] void refuse(std::string_view text, const std::string& why) {
    const std::string quoted = text.size() > kMaxHostLength + 8
                                   ? std::string(text.substr(0, kMaxHostLength)) + "[...]"
                                   : std::string(text);
    throw std::invalid_argument("'" + quoted + "': " + why + " (" + kForms + ").");
}

bool isIpv6(std::string_view text) {
    unsigned char address[16];
    return text.size() < 64 && inet_pton(AF_INET6, std::string(text).c_str(), address) == 1;
}

bool isNameCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
           c == '-' || c == '_';
}

// A name or an IPv4 address: what resolution takes, nothing that could read as a path, a user or
// a second address.
std::string nameHost(std::string_view whole, std::string_view host) {
    if (host.empty())
        refuse(whole, "falta a máquina");
    if (host.find(':') != std::string_view::npos)
        refuse(whole, isIpv6(host) ? "um endereço IPv6 vai entre colchetes" : "máquina mal formada");
    if (host.size() > kMaxHostLength)
        refuse(whole, "nome de máquina longo demais");
    for (const char c : host)
        if (!isNameCharacter(c))
            refuse(whole, "nome de máquina com caractere inválido");
    return std::string(host);
}

std::string bracketedHost(std::string_view whole, std::string_view inside) {
    if (inside.empty())
        refuse(whole, "falta o endereço IPv6 entre os colchetes");
    if (!isIpv6(inside))
        refuse(whole, "não é um endereço IPv6 válido entre os colchetes");
    return std::string(inside);
}

int port(std::string_view whole, std::string_view digits, PortZero zero) {
    const int lowest = zero == PortZero::Allowed ? 0 : 1;
    const std::string range = "a porta vai de " + std::to_string(lowest) + " a 65535";
    if (digits.empty())
        refuse(whole, "falta a porta");
    if (digits.size() > 5)
        refuse(whole, range);
    int value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9')
            refuse(whole, "a porta deve ter só algarismos");
        value = value * 10 + (c - '0');
    }
    if (value < lowest || value > 65535)
        refuse(whole, range);
    return value;
}

} // namespace

HostPort parseHostPort(std::string_view text, PortZero zero) {
    if (text.empty())
        refuse(text, "endereço vazio");
    HostPort address;
    std::string_view rest;
    if (text.front() == '[') {
        const std::size_t close = text.find(']');
        if (close == std::string_view::npos)
            refuse(text, "falta o ']' do endereço IPv6");
        address.host = bracketedHost(text, text.substr(1, close - 1));
        rest = text.substr(close + 1);
        if (rest.empty())
            refuse(text, "falta a porta");
        if (rest.front() != ':')
            refuse(text, "depois de ']' vem ':PORTA'");
    } else {
        const std::size_t colon = text.rfind(':');
        if (colon == std::string_view::npos)
            refuse(text, "falta a porta");
        address.host = nameHost(text, text.substr(0, colon));
        rest = text.substr(colon);
    }
    address.port = port(text, rest.substr(1), zero);
    return address;
}

std::string parseHost(std::string_view text) {
    if (!text.empty() && text.front() == '[') {
        if (text.back() != ']')
            refuse(text, "falta o ']' do endereço IPv6");
        return bracketedHost(text, text.substr(1, text.size() - 2));
    }
    if (isIpv6(text))
        return std::string(text);
    return nameHost(text, text);
}

std::string formatHostPort(std::string_view host, int port) {
    const std::string bare(host);
    const std::string shown = bare.find(':') != std::string::npos ? "[" + bare + "]" : bare;
    return shown + ":" + std::to_string(port);
}

} // namespace proto
