#include "trash/trashhome.h"

#include "platform/filesystem.h"
#include "platform/userfolders.h"

namespace quillo {

TrashHome TrashHome::fromEnvironment() {
    return TrashHome{userDataFolder(), currentUserId()};
}

}  // namespace quillo
