#pragma once
// Where the shipped help page lies: beside the executable in a build tree, or
// in ../share/quillo/help/ for an installed copy.

#include <QString>

namespace quillo {

// The help page for an executable in executableFolder; the build-tree place
// when neither exists.
QString findHelpPage(const QString& executableFolder);

// What the window says when nothing could open page, for example where no
// browser is installed: where the page lies, to open it by hand.
QString cannotOpenHelpMessage(const QString& page);

}  // namespace quillo
