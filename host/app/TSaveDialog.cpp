#include "host/app/TSaveDialog.h"

#include "host/app/TApplication.h"

#include <QDir>

namespace host {

TSaveDialog::TSaveDialog(QObject* owner, const QString& name) : QObject(owner) {
    setObjectName(name);
}

bool TSaveDialog::Execute() {
    const QString initial = FileName.isEmpty() ? InitialDir : QDir(InitialDir).filePath(FileName);
    const auto chosen = Application().dialogs().saveFileName(Title, initial, Filter);
    if (!chosen)
        return false;
    FileName = *chosen;
    return true;
}

} // namespace host
