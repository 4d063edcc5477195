#include "trash/trashhome.h"

#include "platform/userfolders.h"

namespace quillo {

TrashHome TrashHome::fromEnvironment() {
    return TrashHome{userDataFolder()};
}

}  // namespace quillo
