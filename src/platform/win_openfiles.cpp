#include "platform/openfiles.h"

namespace quillo {

// A process's handles are bounded by memory alone.
int heldFolderRoom() {
    return 32768;
}

}  // namespace quillo
