#include "module/TfrmAnalRestCont.h"

// The steps of the first activation (server connection, branch and month, service load, result
// pages, calculation mode) come with the selection and analysis work; until then the form opens
// with its frame only.
void TfrmAnalRestCont::PrimeiraAtivacao() {}
