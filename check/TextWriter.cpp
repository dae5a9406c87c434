#include "check/Formats.h"
#include "check/Texts.h"

#include "AnalysisWalk.h"

namespace check {

std::optional<double> rowCount(const std::string& method, const Json& row) {
    for (const bench::Step& step : bench::analysisSteps())
        if (method == step.summary)
            return rowNumber(row, {step.count});
    return std::nullopt;
}

namespace {

class TextWriter : public Writer {
public:
    TextWriter(std::ostream& out, const WriterSettings& settings) : out_(out), settings_(settings) {
        out_ << "Verificação de restrições contratuais, mês " << settings.month.text << "\n";
    }

    void finish(const std::optional<Json>& compare) override {
        if (!contradictions_.empty()) {
            out_ << "\nContradições dos contratos:\n";
            for (const Located& each : contradictions_)
                out_ << "  " << each.branch << '/' << each.service << ": " << each.finding.text << "\n";
        }
        if (compare)
            out_ << "\nComparação: " << compare->at("new").get<std::size_t>() << " novas, "
                 << compare->at("still").get<std::size_t>() << " mantidas, "
                 << compare->at("fixed").get<std::size_t>() << " corrigidas.\n";
        out_ << "\nResumo: " << counts_[0] << " livres, " << counts_[1] << " bloqueados, " << counts_[2]
             << " com erro, " << counts_[3] << " ignorados.\n";
    }

protected:
    void writeService(ServiceResult&& result) override {
        ++counts_[static_cast<int>(result.verdict)];
        out_ << result.branch << '/' << result.service << ' ' << result.name << ": " << paint(result.verdict)
             << verdictWord(result.verdict) << plain();
        if (!result.reason.empty())
            out_ << " (" << result.reason << ")";
        for (const CategoryResult& category : result.categories)
            out_ << (&category == &result.categories.front() ? " — " : ", ") << category.method;
        out_ << "\n";
        for (const CategoryResult& category : result.categories)
            for (const Infringement& infringement : category.rows) {
                out_ << "  " << categoryCaption(category.method) << ": " << rowLabel(infringement.row);
                if (const auto count = rowCount(category.method, infringement.row))
                    out_ << ", " << text::number(*count, settings_.locale);
                if (!infringement.change.empty())
                    out_ << (infringement.change == "new" ? " [nova]" : " [mantida]");
                out_ << "\n";
                // The sentence names the days itself.
                const std::vector<server::Day> days = infringementDays(infringement);
                if (!infringement.why.empty())
                    out_ << "    " << infringement.why << "\n";
                else if (!days.empty())
                    out_ << "    dias: " << text::dayList(days, settings_.locale) << "\n";
            }
        for (const Finding& warning : result.warnings)
            out_ << "  " << colour("33") << "aviso" << plain() << ": " << warning.text << "\n";
    }

private:
    const char* colour(const char* code) {
        if (!settings_.colours)
            return "";
        escape_ = std::string("\033[") + code + "m";
        return escape_.c_str();
    }
    const char* paint(Verdict verdict) {
        return colour(verdict == Verdict::Clear     ? "32"
                      : verdict == Verdict::Blocked ? "31"
                      : verdict == Verdict::Error   ? "1;31"
                                                    : "90");
    }
    const char* plain() { return settings_.colours ? "\033[0m" : ""; }

    std::ostream& out_;
    WriterSettings settings_;
    std::string escape_;
    std::size_t counts_[4] = {0, 0, 0, 0};
};

} // namespace

std::unique_ptr<Writer> makeTextWriter(std::ostream& out, const WriterSettings& settings) {
    return std::make_unique<TextWriter>(out, settings);
}

} // namespace check
