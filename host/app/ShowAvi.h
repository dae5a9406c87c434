#pragma once

#include <QString>

class QWidget;

namespace host {

// The busy indicator over the host's main form, shown and painted before the blocking call that it
// announces starts. Kind 0 is the animation alone, kind 6 the animation with a status text. Calls
// nest; every activation is paired with one deactivation, and a deactivation with nothing shown does
// nothing.
void ActiveShowAvi(QWidget* mainForm, int kind);
void ActiveShowAvi(QWidget* mainForm, int kind, const QString& caption);
void DeactiveShowAvi();

// How many activations are open (0: hidden).
int ShowAviDepth();
// The status text shown now.
QString ShowAviCaption();

} // namespace host
