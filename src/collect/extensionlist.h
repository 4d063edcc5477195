#pragma once
// The extension list's operations on its items and text. The window copies the
// result back into cmbExtent; a changed text clears the file table there.

#include <QString>
#include <QStringList>

namespace quillo {

struct ExtentList {
    QStringList items;  // in display order
    QString text;       // the edit text: the extension in force
};

// Enter without modifiers, or focus lost.
void validateAndAdd(ExtentList& list);

// Enter with Shift, Ctrl or Alt.
void removeCurrent(ExtentList& list);

// timRefresh: the picked text first, empty items and copies of it dropped.
void refreshAfterPick(ExtentList& list);

}  // namespace quillo
