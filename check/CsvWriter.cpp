#include "check/Formats.h"
#include "check/Texts.h"

#include <string_view>
#include <vector>

namespace check {

namespace {

// RFC 4180: a field with the separator, a quote or a line break is quoted, its quotes doubled.
// Text that a spreadsheet would take for a formula (names come from the suite's database, which
// anyone with a form can write to) starts with an apostrophe, which the spreadsheet hides.
std::string field(const std::string& value, bool isText) {
    const bool formulaLike = isText && !value.empty() &&
                             std::string_view("=+-@\t\r").find(value.front()) != std::string_view::npos;
    const std::string shown = formulaLike ? "'" + value : value;
    if (shown.find_first_of(";\"\r\n") == std::string::npos)
        return shown;
    std::string quoted = "\"";
    for (const char c : shown)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

class CsvWriter : public Writer {
public:
    // A Brazilian spreadsheet reads the file: its decimal comma and dates whatever the format settings.
    explicit CsvWriter(std::ostream& out) : out_(out) {
        out_ << "\xEF\xBB\xBF";
        line({"Filial", "Serviço", "Nome", "Veredito", "Categoria", "Semana", "Código", "Descrição",
              "Quantidade", "Mínimo", "Máximo", "Dias", "Motivo", "Mudança"});
    }
    void finish(const std::optional<Json>&) override { out_.flush(); }

protected:
    void writeService(ServiceResult&& result) override {
        const std::vector<std::string> head{result.branch, result.service, result.name,
                                            verdictWord(result.verdict)};
        bool any = false;
        for (const CategoryResult& category : result.categories)
            for (const Infringement& infringement : category.rows) {
                const Json& row = infringement.row;
                const auto week = row.find("NRSEMANA");
                std::string days;
                for (const server::Day day : infringementDays(infringement))
                    days += (days.empty() ? "" : ", ") + text::fullDate(day, brazil_);
                std::vector<std::string> cells = head;
                cells.insert(cells.end(),
                             {categoryCaption(category.method),
                              week != row.end() && week->is_string() ? week->get<std::string>() : "",
                              codes(row), rowLabel(row), number(rowCount(category.method, row)),
                              number(rowNumber(row, {"NRMIN", "QTMIN"})),
                              number(rowNumber(row, {"NRMAX", "QTMAX"})), days, infringement.why,
                              infringement.change});
                line(cells);
                any = true;
            }
        if (!any) {
            std::vector<std::string> cells = head;
            cells.resize(12);
            cells.push_back(result.reason);
            cells.push_back("");
            line(cells);
        }
    }

private:
    static std::string codes(const Json& row) {
        std::string joined;
        for (const char* name : {"CDPRATO", "CDPRODUTO", "CDNUTRIENTE"})
            if (const auto at = row.find(name); at != row.end() && at->is_string())
                joined += (joined.empty() ? "" : " ") + at->get<std::string>();
        return joined;
    }
    std::string number(const std::optional<double>& value) const {
        return value ? text::plainNumber(*value, brazil_) : std::string();
    }
    void line(const std::vector<std::string>& cells) {
        for (std::size_t i = 0; i < cells.size(); ++i)
            out_ << (i ? ";" : "") << field(cells[i], i < kFirstNumber || i > kLastNumber);
        out_ << "\r\n";
    }

    // Quantidade, Mínimo and Máximo: numbers, whose minus sign stays as it is.
    static constexpr std::size_t kFirstNumber = 8, kLastNumber = 10;
    std::ostream& out_;
    const QLocale brazil_{QLocale::Portuguese, QLocale::Brazil};
};

} // namespace

std::unique_ptr<Writer> makeCsvWriter(std::ostream& out, const WriterSettings&) {
    return std::make_unique<CsvWriter>(out);
}

} // namespace check
