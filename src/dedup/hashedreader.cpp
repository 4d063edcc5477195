#include "dedup/hashedreader.h"

#include <xxhash.h>

#include <algorithm>

#include "dedup/comparisonmemo.h"

namespace quillo {

struct HashedReader::State {
    XXH3_state_t* xxh = XXH3_createState();
    State() { XXH3_64bits_reset(xxh); }
    ~State() { XXH3_freeState(xxh); }
    State(const State&) = delete;
    State& operator=(const State&) = delete;
};

HashedReader::HashedReader(InputFile& file, qint64 expected, bool stepped,
                           std::vector<char>& buffer, bool hashing)
    : m_file(file),
      m_expected(expected),
      m_stepped(stepped),
      m_buffer(buffer),
      m_state(hashing ? std::make_unique<State>() : nullptr) {
    const auto need = size_t(std::max<qint64>(1, std::min(expected, kCompareChunk)));
    if (m_buffer.size() < need) m_buffer.resize(need);
}

HashedReader::~HashedReader() = default;

Result<qint64> HashedReader::next() {
    const qint64 want = std::min(pieceLength(m_piece++, m_stepped), m_expected - m_done);
    qint64 got = 0;
    while (got < want) {
        Result<qint64> r = m_file.read(m_buffer.data() + got, want - got);
        if (!r) return r.failure();
        if (r.value() == 0) break;
        got += r.value();
    }
    m_done += got;
    if (m_state && got == want && want > 0) {
        XXH3_64bits_update(m_state->xxh, m_buffer.data(), size_t(got));
        m_prefix.push_back(XXH3_64bits_digest(m_state->xxh));
    }
    return got;
}

void HashedReader::stopHashing() {
    m_state.reset();
}

Result<bool> HashedReader::atEnd() {
    char extra = 0;
    Result<qint64> r = m_file.read(&extra, 1);
    if (!r) return r.failure();
    return r.value() == 0;
}

}  // namespace quillo
