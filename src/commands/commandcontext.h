#pragma once
// What every command that changes files needs, built once at start-up and
// handed to the find, act and undo commands: the file system, the journal
// folder, whose trash, the clock. Each run gets its own journal and trash
// lookups from here, after the journals of runs cut short are settled. No
// widget is seen here; the window only starts commands through it.

#include "core/commandoutcome.h"
#include "core/messagebox.h"
#include "core/progress.h"
#include "dedup/duplicatepass.h"
#include "numbering/planrenames.h"
#include "numbering/renamepass.h"
#include "platform/clock.h"
#include "platform/filesystem.h"

namespace quillo {

class CommandContext {
  public:
    // journalFolder: where the journals are kept; dataHome: the folder holding
    // the home trash.
    CommandContext(FileSystem& fs, Clock& clock, QString journalFolder, QString dataHome);
    // The context of the user the program runs as: their journal folder and trash.
    static CommandContext forUser(FileSystem& fs, Clock& clock);

    FileSystem& fs() const { return m_fs; }
    Clock& clock() const { return m_clock; }

    // 削除: the plan, then carrying it out into the trash (or the delete folder).
    DuplicateSearch findDuplicates(const FileTable& table, const DedupOptions& options,
                                   qint32& DupCount, Progress& progress, MessageBox& box) const;
    CommandOutcome removeDuplicates(const FileTable& table, DuplicatePlan& plan,
                                    const DedupOptions& options, qint32& DupCount,
                                    Progress& progress, MessageBox& box) const;

    // 採番: the plan, then carrying it out, written into a journal.
    RenameSearch planRenames(const RenameRequest& request, const FileTable& table,
                             Progress& progress, MessageBox& box) const;
    CommandOutcome renameFiles(const FileTable& table, RenamePlan& plan, Progress& progress,
                               MessageBox& box) const;

    // Ctrl+Z: takes back the last run.
    CommandOutcome undoLastRun(Progress& progress, MessageBox& box) const;

  private:
    FileSystem& m_fs;
    Clock& m_clock;
    QString m_journalFolder;
    QString m_dataHome;
};

}  // namespace quillo
