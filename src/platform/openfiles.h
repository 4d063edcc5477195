#pragma once
// How many folders one pass may hold open at once. A pass that cannot hold
// every folder a run of equal sizes spreads over opens them again and again,
// which costs more than the reads themselves.

namespace quillo {

// Raises this process's limit of open files as far as the system lets it
// (once), and returns how many folders a pass may hold beside the files it
// reads, the journal and the window's own.
int heldFolderRoom();

}  // namespace quillo
