#include "check/Formats.h"
#include "check/Texts.h"

#include <vector>

namespace check {

namespace {

// RFC 4180: a field with the separator, a quote or a line break is quoted, its quotes doubled.
std::string field(const std::string& value) {
    if (value.find_first_of(";\"\r\n") == std::string::npos)
        return value;
    std::string quoted = "\"";
    for (const char c : value)
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
            out_ << (i ? ";" : "") << field(cells[i]);
        out_ << "\r\n";
    }

    std::ostream& out_;
    const QLocale brazil_{QLocale::Portuguese, QLocale::Brazil};
};

} // namespace

std::unique_ptr<Writer> makeCsvWriter(std::ostream& out, const WriterSettings&) {
    return std::make_unique<CsvWriter>(out);
}

} // namespace check
