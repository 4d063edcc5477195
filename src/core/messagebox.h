#pragma once
// Questions and notices to the user: title "Quillo", no icon. The window shows
// a modal box; tests answer from a script.

#include <QString>

namespace quillo {

enum class Buttons { Ok, YesNo };
enum class Answer { Ok, Yes, No };

class MessageBox {
  public:
    virtual ~MessageBox() = default;
    virtual Answer show(const QString& text, Buttons buttons) = 0;
};

}  // namespace quillo
