#include "ShapeOptions.h"

#include <charconv>
#include <stdexcept>

namespace demo {

namespace {

// The value of "--name VALUE" or "--name=VALUE"; nothing when args[i] is another argument.
std::optional<std::string> valueOf(const std::string& name, const std::vector<std::string>& args,
                                   std::size_t& i) {
    const std::string& arg = args[i];
    if (arg.rfind(name + "=", 0) == 0)
        return arg.substr(name.size() + 1);
    if (arg != name)
        return std::nullopt;
    if (i + 1 >= args.size())
        throw std::invalid_argument(name + " sem valor");
    return args[++i];
}

int branchCount(const std::string& text) {
    int count = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), count);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        throw std::invalid_argument("--branches espera um número de filiais, não '" + text.substr(0, 16) +
                                    "'");
    return checkedBranchCount(count);
}

} // namespace

bool ShapeOptions::take(const std::vector<std::string>& args, std::size_t& i) {
    if (const auto value = valueOf("--branches", args, i)) {
        if (branches_)
            throw std::invalid_argument("--branches repetido");
        branches_ = branchCount(*value);
        return true;
    }
    if (const auto value = valueOf("--months", args, i)) {
        if (months_)
            throw std::invalid_argument("--months repetido");
        months_ = parseMonthList(*value);
        return true;
    }
    return false;
}

DemoShape ShapeOptions::shape() const {
    return scaledShape(branches_.value_or(static_cast<int>(branches().size())),
                       months_.value_or(std::vector<std::string>{}));
}

std::string shapeSummary() {
    return "\nOutros tamanhos: restcont-demo --out ARQUIVO --branches N [--months AAAA-MM,...]\n"
           "  N filiais (1 a 9999): as quatro acima e, a partir da 0005, filiais que repetem os\n"
           "  cardápios, os serviços e os contratos da 0001 com o próprio código; cardápios só dos meses\n"
           "  pedidos (o ano de 2026 sem --months), contratos medidos no mês de demonstração quando\n"
           "  pedido, senão no primeiro mês. 250 filiais dão perto de mil serviços por mês.\n";
}

} // namespace demo
