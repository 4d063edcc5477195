#pragma once
// The name check of txtName: characters a file name cannot hold.

#include <QString>
#include <optional>

namespace quillo {

// The notice shown once per removed character.
QString forbiddenNameMessage();

// One pass: the repaired text when the text holds a forbidden character
// (that character dropped, at most 99 characters kept after it), else nothing.
std::optional<QString> nameCheckPass(const QString& text);

}  // namespace quillo
