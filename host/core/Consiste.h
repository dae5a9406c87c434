#pragma once

#include <QString>

// The text-only consistency routines. The ones that need the database, the server or the widgets
// live beside those: ValidaFilial (host/db), CheckResultServ (host/net), SetChildEnabled (host/app).
namespace host {

// Reports the text as an error and ends the current operation (throws Refusal). The flag is the
// caller's "show it" switch and is always true in this module.
[[noreturn]] void MensErro(const QString& text, bool show = true);

// The code normalised to the width: blanks trimmed, then left-padded with zeros when it is all
// digits ("1" becomes "0001"); any other code is kept as typed, trimmed.
QString Ajusta(const QString& code, int width);

QString AllTrim(const QString& text);
// True for an empty text or one of blanks only.
bool EmptyString(const QString& text);

} // namespace host
