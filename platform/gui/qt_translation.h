// Qt's own texts in Japanese: the buttons of message boxes, the file and print dialogs, the context menus
// of edit boxes. The program's own texts are Japanese already; these come from Qt's translation files.
#pragma once

class QCoreApplication;

namespace quorvel {

// Installs Qt's Japanese translation of its standard texts (qtbase_ja.qm from Qt's translations folder)
// into `app`. Returns false when the file is missing (the dialogs then speak English); nothing else fails.
bool LoadQtJapanese(QCoreApplication& app);

}  // namespace quorvel
