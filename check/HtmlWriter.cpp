#include "check/Formats.h"
#include "check/Texts.h"

#include "analysis/Outcome.h"

#include <sstream>

namespace check {

namespace {

std::string escaped(const std::string& text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

// Clear cells green; the more rows a category has, the darker its red.
const char* cellClass(std::size_t count) {
    return count == 0 ? "c0" : count == 1 ? "c1" : count <= 3 ? "c2" : "c3";
}

constexpr const char* kStyle = R"(
body { font-family: sans-serif; margin: 1em; color: #222; }
table.grade { border-collapse: collapse; }
table.grade th, table.grade td { border: 1px solid #888; padding: 4px 6px; text-align: center; }
table.grade th.vertical { writing-mode: vertical-rl; transform: rotate(180deg); font-weight: normal; }
table.grade td.servico { text-align: left; }
td.c0 { background: #2fa84f; color: #fff; }
td.c1 { background: #f3a0a0; }
td.c2 { background: #e05a5a; color: #fff; }
td.c3 { background: #b71c1c; color: #fff; }
td.na { background: #c8c8c8; }
.motivo { margin-left: 1.5em; }
.dias { color: #555; }
)";

class HtmlWriter : public Writer {
public:
    HtmlWriter(std::ostream& out, const WriterSettings& settings) : out_(out), settings_(settings) {}

    void finish(const std::optional<Json>& compare) override {
        const std::string title = "Restrições contratuais — " + settings_.month.text;
        out_ << "<!DOCTYPE html>\n<html lang=\"pt-BR\"><head><meta charset=\"utf-8\"><title>"
             << escaped(title) << "</title><style>" << kStyle << "</style></head><body>\n<h1>"
             << escaped(title) << "</h1>\n"
             << "<table class=\"grade\"><thead><tr><th>Serviço</th><th>Veredito</th>";
        for (const analysis::OutcomeCategory& category : analysis::kOutcomeOrder)
            out_ << "<th class=\"vertical\" title=\"" << category.summaryMethod << "\">"
                 << escaped(categoryCaption(category.summaryMethod)) << "</th>";
        out_ << "</tr></thead><tbody>\n" << grid_.str() << "</tbody></table>\n";
        if (compare)
            out_ << "<p>Comparação: " << compare->at("new").get<std::size_t>() << " novas, "
                 << compare->at("still").get<std::size_t>() << " mantidas, "
                 << compare->at("fixed").get<std::size_t>() << " corrigidas.</p>\n";
        out_ << "<h2>Motivos</h2>\n" << reasons_.str();
        out_ << "<h2>Avisos</h2>\n" << (warnings_.str().empty() ? "<p>Nenhum aviso.</p>\n" : warnings_.str());
        out_ << "<h2>Contradições</h2>\n";
        if (contradictions_.empty())
            out_ << "<p>Nenhuma contradição verificada.</p>\n";
        else {
            out_ << "<ul>\n";
            for (const Located& each : contradictions_)
                out_ << "<li>" << escaped(each.branch + "/" + each.service + ": " + each.finding.text)
                     << "</li>\n";
            out_ << "</ul>\n";
        }
        out_ << "</body></html>\n";
    }

protected:
    void writeService(ServiceResult&& result) override {
        const std::string label = result.branch + "/" + result.service + " " + result.name;
        const bool judged = result.verdict == Verdict::Clear || result.verdict == Verdict::Blocked;
        grid_ << "<tr><td class=\"servico\">" << escaped(label) << "</td><td>" << verdictWord(result.verdict)
              << "</td>";
        for (const analysis::OutcomeCategory& outcome : analysis::kOutcomeOrder) {
            std::size_t count = 0;
            for (const CategoryResult& category : result.categories)
                if (category.method == outcome.summaryMethod)
                    count = category.rows.size();
            if (judged)
                grid_ << "<td class=\"" << cellClass(count) << "\">" << count << "</td>";
            else
                grid_ << "<td class=\"na\">–</td>";
        }
        grid_ << "</tr>\n";

        if (!result.reason.empty())
            reasons_ << "<h3>" << escaped(label) << "</h3><p>" << verdictWord(result.verdict) << ": "
                     << escaped(result.reason) << "</p>\n";
        if (!result.categories.empty()) {
            reasons_ << "<h3>" << escaped(label) << "</h3>\n";
            for (const CategoryResult& category : result.categories) {
                reasons_ << "<h4>" << escaped(categoryCaption(category.method)) << "</h4><ul>\n";
                for (const Infringement& infringement : category.rows) {
                    reasons_ << "<li>" << escaped(rowLabel(infringement.row));
                    if (!infringement.change.empty())
                        reasons_ << (infringement.change == "new" ? " <b>(nova)</b>" : " (mantida)");
                    if (!infringement.why.empty())
                        reasons_ << "<div class=\"motivo\">" << escaped(infringement.why) << "</div>";
                    const std::vector<server::Day> days = infringementDays(infringement);
                    if (!days.empty())
                        reasons_ << "<div class=\"motivo dias\">dias: "
                                 << escaped(text::dayList(days, settings_.locale)) << "</div>";
                    reasons_ << "</li>\n";
                }
                reasons_ << "</ul>\n";
            }
        }
        if (!result.warnings.empty()) {
            warnings_ << "<h3>" << escaped(label) << "</h3><ul>\n";
            for (const Finding& warning : result.warnings)
                warnings_ << "<li>" << escaped(warning.text) << "</li>\n";
            warnings_ << "</ul>\n";
        }
    }

private:
    std::ostream& out_;
    WriterSettings settings_;
    // The grid comes first, so the page is written once every service has been seen.
    std::ostringstream grid_, reasons_, warnings_;
};

} // namespace

std::unique_ptr<Writer> makeHtmlWriter(std::ostream& out, const WriterSettings& settings) {
    return std::make_unique<HtmlWriter>(out, settings);
}

} // namespace check
