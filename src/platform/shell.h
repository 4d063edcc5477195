#pragma once
// The shell's "open" verb: hands a file or address to the user's default program.

#include <QObject>
#include <QString>
#include <functional>

namespace quillo {

// Starts the opener without waiting for it. done(opened) runs later on
// context's thread (never once context is gone): false when nothing could
// open target, for example where no browser is installed.
void shellOpen(const QString& target, QObject* context, std::function<void(bool opened)> done);

}  // namespace quillo
