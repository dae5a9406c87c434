#pragma once

#include <QString>
#include <QStringList>

class QComboBox;

namespace host {

// The report lists of a report form, kept in step by position: the items of the selector the user
// picks from, the report codes and the paths of the report definitions. Every change goes through
// here, so the three never drift apart.
class TReportLists {
public:
    explicit TReportLists(QComboBox& selector) : selector_(selector) {}

    void Add(const QString& item, const QString& code, const QString& definitionPath);
    void Clear();
    int Count() const { return static_cast<int>(codes_.size()); }

    // Position of the first entry with exactly this code, or -1.
    int IndexOfCode(const QString& code) const { return static_cast<int>(codes_.indexOf(code)); }
    // Deletes the entry at a position from the selector, then the codes, then the definitions.
    // Refused for a position outside the lists.
    void DeleteAt(int position);
    // Renames the selector's item at a position; refused for a position outside the lists.
    void SetItem(int position, const QString& item);

    QStringList Items() const;
    const QStringList& Codes() const { return codes_; }
    const QStringList& DefinitionPaths() const { return definitionPaths_; }

private:
    QComboBox& selector_;
    QStringList codes_;
    QStringList definitionPaths_;
};

} // namespace host
