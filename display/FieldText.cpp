#include "display/Bindings.h"
#include "module/TfrmAnalRestCont.h"

#include "display/TextEvents.h"
#include "host/context/FormatSettings.h"
#include "host/context/OperatorContext.h"
#include "host/core/Consiste.h"
#include "host/format/Formatting.h"
#include "results/RecordLayouts.h"

#include <stdexcept>

using namespace Qt::StringLiterals;
using namespace host;
using display::TextEvent;
using display::TextFamily;

namespace {

// The field's own text in every family: the same for display and for editing, composed afresh from
// the record being shown.
QString composedText(const TextEvent& event, const TField& field, const TClientDataSet& set,
                     const TMessages& messages) {
    switch (event.family) {
    case TextFamily::MenuDay:
        if (field.IsNull())
            return {};
        return field.AsString() + u' ' + FormatDateTime(u"ddd"_s, field.AsDateTime(), FormatSettings());
    case TextFamily::DishType: {
        const QString flag = set.FieldByName(QLatin1StringView(event.sourceField)).AsString();
        if (flag == u"S"_s)
            return AllTrim(field.AsString()) + u' ' + messages.Msg(u"OPCAO"_s);
        if (flag == u"N"_s)
            return field.AsString();
        return {};
    }
    case TextFamily::NameWithCode: {
        if (field.IsNull())
            return {};
        const QString code = set.FieldByName(QLatin1StringView(event.sourceField)).AsString();
        return field.AsString().trimmed() + QString::fromUtf16(event.opening) +
               FormatMaskText(DBPict(event.pictType), code).trimmed() + u')';
    }
    }
    return {};
}

} // namespace

namespace display {

void BindFieldTexts(TfrmAnalRestCont& form) {
    for (const results::SetLayout& layout : results::recordLayouts()) {
        TClientDataSet* set = form.FindRecordSet(QLatin1StringView(layout.name));
        for (const results::FieldLayout& fieldLayout : layout.fields) {
            if (!fieldLayout.textHandler)
                continue;
            const TextEvent* event = display::findTextEvent(fieldLayout.textHandler);
            if (!event)
                throw std::logic_error(std::string("text event without a rule: ") + fieldLayout.textHandler);
            set->FieldByName(QLatin1StringView(fieldLayout.name)).OnGetText =
                [&form, event, set](TField& field, QString& text, bool) {
                    text = composedText(*event, field, *set, *form.msgPadrao);
                };
        }
    }
}

} // namespace display
