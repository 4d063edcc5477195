#pragma once
// The words of a journal: its header line, and the texts of operations, kinds
// and outcomes both ways.

#include <QByteArrayView>
#include <optional>

#include "journal/journal.h"

namespace quillo {

// The first line, naming the columns, LF included.
inline constexpr QByteArrayView kJournalHeader =
    "time\toperation\told path\tnew path\tkept file\tsize\tdevice\tinode\tmtime ns\toutcome\n";
inline constexpr int kJournalColumns = 10;

// The outcome is the last field, padded with blanks to this width, so that
// it is overwritten in place when the operation has ended.
inline constexpr qsizetype kOutcomeWidth = 18;  // "failed -2147483648"

QByteArrayView opText(JournalOp op);
std::optional<JournalOp> opFromText(QByteArrayView text);

QByteArrayView kindText(JournalKind kind);
std::optional<JournalKind> kindFromText(QByteArrayView text);

// Writes kOutcomeWidth bytes: "pending", "done" or "failed <code>", then blanks.
void writeOutcome(JournalState state, int code, char* out);

struct Outcome {
    JournalState state = JournalState::Pending;
    int code = 0;
};

// Blanks around the text are ignored; nothing for any other text.
std::optional<Outcome> outcomeFromText(QByteArrayView text);

}  // namespace quillo
