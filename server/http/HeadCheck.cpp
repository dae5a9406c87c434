#include "server/http/HeadCheck.h"

#include <algorithm>
#include <cctype>

namespace server::http {
namespace {

HeadVerdict refuse(int status, std::string reason) {
    HeadVerdict verdict;
    verdict.status = status;
    verdict.reason = std::move(reason);
    return verdict;
}

std::string sizeText(std::uint64_t bytes) {
    constexpr std::uint64_t kMiB = 1024 * 1024;
    return bytes % kMiB == 0 ? std::to_string(bytes / kMiB) + " MiB" : std::to_string(bytes) + " bytes";
}

HeadVerdict malformed(const std::string& what) {
    return refuse(400, "Requisição HTTP inválida: " + what + ".");
}

bool equalsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// RFC 9110 token characters, for field names and the method.
bool isToken(std::string_view text) {
    static constexpr std::string_view kExtra = "!#$%&'*+-.^_`|~";
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || kExtra.find(c) != std::string_view::npos;
    });
}

bool isDigits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(),
                                        [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
}

HeadVerdict checkRequestLine(std::string_view line) {
    const auto firstSpace = line.find(' ');
    const auto lastSpace = line.rfind(' ');
    if (firstSpace == std::string_view::npos || firstSpace == lastSpace)
        return malformed("linha de requisição malformada");
    const std::string_view method = line.substr(0, firstSpace);
    const std::string_view target = line.substr(firstSpace + 1, lastSpace - firstSpace - 1);
    const std::string_view version = line.substr(lastSpace + 1);
    if (!isToken(method) || target.empty() || target.find(' ') != std::string_view::npos ||
        (version != "HTTP/1.1" && version != "HTTP/1.0"))
        return malformed("linha de requisição malformada");
    return {};
}

} // namespace

std::string lineEndFault(std::string_view start) {
    for (std::size_t i = 0; i < start.size(); ++i) {
        if (start[i] == '\n' && (i == 0 || start[i - 1] != '\r'))
            return malformed("fim de linha sem CR").reason;
        if (start[i] == '\r' && i + 1 < start.size() && start[i + 1] != '\n')
            return malformed("CR sem fim de linha").reason;
    }
    return {};
}

std::string headTooLarge(const HeadLimits& limits) {
    return "Cabeçalho da requisição excede " + sizeText(limits.maxHeadBytes) + ".";
}

std::string bodyTooLarge(const HeadLimits& limits) {
    return "Requisição excede o tamanho máximo de " + sizeText(limits.maxBodyBytes) + ".";
}

HeadVerdict checkHead(std::string_view head, const HeadLimits& limits) {
    if (head.size() > limits.maxHeadBytes)
        return refuse(431, headTooLarge(limits));
    if (const std::string fault = lineEndFault(head); !fault.empty())
        return refuse(400, fault);
    if (!head.empty() && head.back() == '\r')
        return malformed("CR sem fim de linha");
    if (head.size() < 4 || head.substr(head.size() - 4) != "\r\n\r\n")
        return malformed("cabeçalho incompleto");

    HeadVerdict verdict;
    std::size_t fields = 0;
    int lengths = 0, codings = 0;
    std::size_t position = 0;
    bool first = true;
    while (true) {
        const std::size_t end = head.find("\r\n", position);
        const std::string_view line = head.substr(position, end - position);
        position = end + 2;
        if (first) {
            if (line.size() > limits.maxRequestLine)
                return refuse(431, "Linha de requisição excede " + std::to_string(limits.maxRequestLine) +
                                       " bytes.");
            if (auto refused = checkRequestLine(line); !refused.admitted())
                return refused;
            first = false;
            continue;
        }
        if (line.empty()) {
            if (position != head.size())
                return malformed("bytes após o fim do cabeçalho");
            break;
        }
        if (++fields > limits.maxFields)
            return refuse(431, "Cabeçalho da requisição com mais de " + std::to_string(limits.maxFields) +
                                   " campos.");
        if (line.front() == ' ' || line.front() == '\t')
            return malformed("continuação de campo (obs-fold) não é aceita");
        const auto colon = line.find(':');
        if (colon == std::string_view::npos || !isToken(line.substr(0, colon)))
            return malformed("campo de cabeçalho malformado");
        const std::string_view name = line.substr(0, colon);
        const std::string_view value = trimmed(line.substr(colon + 1));
        if (std::any_of(value.begin(), value.end(),
                        [](char c) { return static_cast<unsigned char>(c) < 0x20 && c != '\t'; }))
            return malformed("caractere de controle em campo de cabeçalho");
        if (equalsNoCase(name, "Content-Length")) {
            // Digits only and at most one: a list, a sign or a second copy is how requests are smuggled.
            if (++lengths > 1 || !isDigits(value) || value.size() > 18)
                return malformed("Content-Length deve ser um único número");
            verdict.contentLength = std::stoull(std::string(value));
            verdict.framing = Framing::Length;
        } else if (equalsNoCase(name, "Transfer-Encoding")) {
            if (++codings > 1 || !equalsNoCase(value, "chunked"))
                return malformed("Transfer-Encoding só pode ser exatamente \"chunked\"");
            verdict.framing = Framing::Chunked;
        } else if (equalsNoCase(name, "Content-Encoding")) {
            if (!equalsNoCase(value, "identity"))
                return refuse(415, "Codificação de conteúdo não aceita; envie o corpo sem compressão.");
        }
    }
    if (lengths > 0 && codings > 0)
        return malformed("Content-Length e Transfer-Encoding juntos");
    if (verdict.framing == Framing::Length && verdict.contentLength > limits.maxBodyBytes)
        return refuse(413, bodyTooLarge(limits));
    return verdict;
}

} // namespace server::http
