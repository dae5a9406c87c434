#include "check/Writer.h"

#include "check/Formats.h"

#include <stdexcept>

namespace check {

using json = Json;

void Writer::add(ServiceResult&& result) {
    for (const Finding& finding : result.contradictions)
        contradictions_.push_back({result.branch, result.service, finding});
    writeService(std::move(result));
}

json serviceJson(ServiceResult&& result) {
    json service = objectWithRoom(8);
    service["branch"] = result.branch;
    service["service"] = result.service;
    service["name"] = result.name;
    service["verdict"] = verdictName(result.verdict);
    if (result.verdict == Verdict::Error || result.verdict == Verdict::Skipped)
        service["reason"] = result.reason;
    json infringed = json::array();
    json categories = objectWithRoom(result.categories.size());
    for (CategoryResult& category : result.categories) {
        infringed.push_back(category.method);
        json rows = json::array();
        for (Infringement& infringement : category.rows) {
            json entry = objectWithRoom(4);
            entry["row"] = std::move(infringement.row);
            entry["why"] = std::move(infringement.why);
            entry["days"] = std::move(infringement.days);
            if (!infringement.change.empty())
                entry["change"] = infringement.change;
            rows.push_back(std::move(entry));
        }
        categories[category.method] = std::move(rows);
    }
    service["infringed"] = std::move(infringed);
    service["categories"] = std::move(categories);
    json warnings = json::array();
    for (const Finding& warning : result.warnings)
        warnings.push_back({{"kind", warning.kind}, {"text", warning.text}});
    service["warnings"] = std::move(warnings);
    return service;
}

namespace {

std::string dumped(const json& value) {
    // A name the database holds in another encoding must not end the output half written.
    return value.dump(-1, ' ', false, json::error_handler_t::replace);
}

class JsonWriter : public Writer {
public:
    JsonWriter(std::ostream& out, const WriterSettings& settings) : out_(out) {
        out_ << "{\"month\": " << dumped(settings.month.text) << ", \"services\": [";
    }
    void finish(const std::optional<json>& compare) override {
        json contradictions = json::array();
        for (const Located& each : contradictions_)
            contradictions.push_back({{"branch", each.branch},
                                      {"service", each.service},
                                      {"kind", each.finding.kind},
                                      {"text", each.finding.text}});
        out_ << "\n], \"contradictions\": " << dumped(contradictions);
        if (compare)
            out_ << ", \"compare\": " << dumped(*compare);
        out_ << "}\n";
    }

protected:
    void writeService(ServiceResult&& result) override {
        out_ << (first_ ? "\n" : ",\n") << dumped(serviceJson(std::move(result)));
        first_ = false;
    }

private:
    std::ostream& out_;
    bool first_ = true;
};

} // namespace

std::unique_ptr<Writer> makeWriter(Format format, std::ostream& out, const WriterSettings& settings) {
    switch (format) {
    case Format::Text:
        return makeTextWriter(out, settings);
    case Format::Json:
        return std::make_unique<JsonWriter>(out, settings);
    case Format::Csv:
        return makeCsvWriter(out, settings);
    case Format::Html:
        return makeHtmlWriter(out, settings);
    }
    throw std::logic_error("formato desconhecido");
}

} // namespace check
