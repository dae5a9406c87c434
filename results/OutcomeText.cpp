#include "results/OutcomeText.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace results {

QString OutcomeText(bool hasService, bool serviceMarked, const std::vector<CategoryOutcome>& categories) {
    if (!hasService)
        return {};
    if (!serviceMarked)
        return u"Serviço não analisado (não marcado)"_s;
    QStringList infringed;
    int analysed = 0;
    for (const CategoryOutcome& category : categories) {
        if (!category.analysed)
            continue;
        ++analysed;
        if (category.rows > 0)
            infringed << category.caption;
    }
    if (analysed == 0)
        return {};
    const auto pending = static_cast<int>(categories.size()) - analysed;
    QString text;
    if (!infringed.isEmpty())
        text = (infringed.size() == 1 ? u"%1 categoria com infrações: %2"_s
                                      : u"%1 categorias com infrações: %2"_s)
                   .arg(infringed.size())
                   .arg(infringed.join(u", "_s));
    else
        text = pending == 0 ? u"Nenhuma infração"_s : u"Nenhuma infração nas categorias analisadas"_s;
    if (pending > 0)
        text += pending == 1 ? u"; 1 categoria ainda não analisada"_s
                             : u"; %1 categorias ainda não analisadas"_s.arg(pending);
    return text;
}

} // namespace results
