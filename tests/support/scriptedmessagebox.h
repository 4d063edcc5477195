#pragma once
// Answers message boxes from a script and remembers what was asked.

#include <QList>
#include <QString>
#include <QStringList>

#include "core/messagebox.h"

namespace quillo::test {

class ScriptedMessageBox : public MessageBox {
  public:
    QStringList texts;       // every text shown, in order
    QList<Buttons> buttons;  // the buttons of each
    QList<Answer> script;    // answers for Yes/No boxes, taken in order
    Answer whenScriptEmpty = Answer::Yes;

    Answer show(const QString& text, Buttons b) override {
        texts << text;
        buttons << b;
        if (b == Buttons::Ok) return Answer::Ok;
        return script.isEmpty() ? whenScriptEmpty : script.takeFirst();
    }
};

}  // namespace quillo::test
