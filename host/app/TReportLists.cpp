#include "host/app/TReportLists.h"

#include "host/core/Refusal.h"

#include <QComboBox>

using namespace Qt::StringLiterals;

namespace host {

void TReportLists::Add(const QString& item, const QString& code, const QString& definitionPath) {
    selector_.addItem(item);
    codes_.append(code);
    definitionPaths_.append(definitionPath);
}

void TReportLists::Clear() {
    selector_.clear();
    codes_.clear();
    definitionPaths_.clear();
}

void TReportLists::DeleteAt(int position) {
    if (position < 0 || position >= Count())
        throw Refusal(
            u"Posição %1 fora da lista de relatórios (%2 relatórios)."_s.arg(position).arg(Count()));
    selector_.removeItem(position);
    codes_.removeAt(position);
    definitionPaths_.removeAt(position);
}

void TReportLists::SetItem(int position, const QString& item) {
    if (position < 0 || position >= Count())
        throw Refusal(
            u"Posição %1 fora da lista de relatórios (%2 relatórios)."_s.arg(position).arg(Count()));
    selector_.setItemText(position, item);
}

QStringList TReportLists::Items() const {
    QStringList items;
    for (int i = 0; i < selector_.count(); ++i)
        items.append(selector_.itemText(i));
    return items;
}

} // namespace host
