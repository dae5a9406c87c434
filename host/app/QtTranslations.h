#pragma once

#include <QLocale>

namespace host {

// Qt's own dialogs (print, print preview, file) in the language of the format settings: installs the
// translations Qt ships for that locale into the running application. Answers false when the
// machine has none for it, so the dialogs stay in English.
bool InstallQtTranslations(const QLocale& locale);

} // namespace host
