#pragma once

#include <functional>

class QMainWindow;
class QMenu;

namespace shell {

// The shell's "Arquivo" menu, put before the host's help menu: "Abrir análise de restrições" opens
// the screen again (after the user closed it, or a lost session made him close it) without
// restarting the program; "Sair" ends the program.
void AddFileMenu(QMainWindow& window, QMenu* before, std::function<void()> openScreen);

} // namespace shell
