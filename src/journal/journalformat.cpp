#include "journal/journalformat.h"

#include <array>
#include <charconv>
#include <cstring>

namespace quillo {

namespace {

constexpr std::array<QByteArrayView, 5> kOps = {"trash", "delete", "move", "rename", "restore"};
constexpr std::array<QByteArrayView, 3> kKinds = {"remove", "number", "undo"};

constexpr QByteArrayView kPending = "pending";
constexpr QByteArrayView kDone = "done";
constexpr QByteArrayView kFailed = "failed ";

template <class Enum, std::size_t N>
std::optional<Enum> fromTable(const std::array<QByteArrayView, N>& table, QByteArrayView text) {
    for (std::size_t i = 0; i < N; ++i)
        if (table[i] == text) return static_cast<Enum>(i);
    return std::nullopt;
}

char* put(QByteArrayView text, char* out) {
    std::memcpy(out, text.data(), size_t(text.size()));
    return out + text.size();
}

}  // namespace

QByteArrayView opText(JournalOp op) {
    return kOps[static_cast<std::size_t>(op)];
}

std::optional<JournalOp> opFromText(QByteArrayView text) {
    return fromTable<JournalOp>(kOps, text);
}

QByteArrayView kindText(JournalKind kind) {
    return kKinds[static_cast<std::size_t>(kind)];
}

std::optional<JournalKind> kindFromText(QByteArrayView text) {
    return fromTable<JournalKind>(kKinds, text);
}

void writeOutcome(JournalState state, int code, char* out) {
    char* const end = out + kOutcomeWidth;
    switch (state) {
        case JournalState::Pending:
            out = put(kPending, out);
            break;
        case JournalState::Done:
            out = put(kDone, out);
            break;
        case JournalState::Failed:
            out = std::to_chars(put(kFailed, out), end, code).ptr;
            break;
    }
    std::memset(out, ' ', size_t(end - out));
}

std::optional<Outcome> outcomeFromText(QByteArrayView text) {
    text = text.trimmed();
    if (text == kPending) return Outcome{JournalState::Pending, 0};
    if (text == kDone) return Outcome{JournalState::Done, 0};
    if (!text.startsWith(kFailed)) return std::nullopt;
    const QByteArrayView digits = text.sliced(kFailed.size());
    int code = 0;
    const auto [end, err] = std::from_chars(digits.data(), digits.data() + digits.size(), code);
    if (err != std::errc() || end != digits.data() + digits.size() || digits.isEmpty())
        return std::nullopt;
    return Outcome{JournalState::Failed, code};
}

}  // namespace quillo
