#pragma once
// The shell's "open" verb: hands a file or address to the user's default program.

#include <QString>

namespace quillo {

// Starts the opener detached; the result is not waited for.
bool shellOpen(const QString& target);

}  // namespace quillo
