#include "commands/commandcontext.h"

#include "journal/journalfiles.h"
#include "journal/runjournal.h"
#include "trash/trashcan.h"
#include "undo/undocommand.h"

namespace quillo {

CommandContext::CommandContext(FileSystem& fs, Clock& clock, QString journalFolder,
                               QString dataHome)
    : m_fs(fs),
      m_clock(clock),
      m_journalFolder(std::move(journalFolder)),
      m_dataHome(std::move(dataHome)) {}

CommandContext CommandContext::forUser(FileSystem& fs, Clock& clock) {
    const TrashHome home = TrashHome::fromEnvironment();
    return CommandContext(fs, clock, journalFolder(), home.dataHome);
}

namespace {

// What a run that changes files gets: the journals of runs cut short
// settled, a trash of its own and its own journal.
struct RunTools {
    RunTools(FileSystem& fs, const QString& journalFolder, const QString& dataHome,
             JournalKind kind, const QString& firstNumber = {})
        : journals(fs, journalFolder),
          trash(fs, TrashHome{dataHome}),
          journal((recoverRuns(journals, trash), journals), kind, firstNumber) {}
    JournalFolder journals;
    TrashCan trash;
    RunJournal journal;
};

}  // namespace

DuplicateSearch CommandContext::findDuplicates(const FileTable& table, const DedupOptions& options,
                                               qint32& DupCount, Progress& progress,
                                               MessageBox& box) const {
    return quillo::findDuplicates(table, options, removalWords(options, true), DupCount, progress,
                                  box, m_fs);
}

CommandOutcome CommandContext::removeDuplicates(const FileTable& table, DuplicatePlan& plan,
                                                const DedupOptions& options, qint32& DupCount,
                                                Progress& progress, MessageBox& box) const {
    RunTools run(m_fs, m_journalFolder, m_dataHome, JournalKind::Remove);
    return quillo::removeDuplicates(table, plan, options, DupCount, progress, box, m_fs,
                                    {&run.trash, &run.journal, {}});
}

RenameSearch CommandContext::planRenames(const RenameRequest& request, const FileTable& table,
                                         Progress& progress, MessageBox& box) const {
    return quillo::planRenames(request, table, progress, box, m_fs);
}

CommandOutcome CommandContext::renameFiles(const FileTable& table, RenamePlan& plan,
                                           Progress& progress, MessageBox& box) const {
    RunTools run(m_fs, m_journalFolder, m_dataHome, JournalKind::Number, plan.firstNumber);
    return quillo::renameFiles(table, plan, progress, box, m_fs, &run.journal);
}

CommandOutcome CommandContext::undoLastRun(Progress& progress, MessageBox& box) const {
    TrashCan trash(m_fs, TrashHome{m_dataHome});
    return runUndo(JournalFolder(m_fs, m_journalFolder), trash, progress, box);
}

}  // namespace quillo
