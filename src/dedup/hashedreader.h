#pragma once
// Reads an open file piece by piece into a caller's buffer, keeping a running
// XXH3 digest and the digest of every prefix that ends at a piece boundary.

#include <memory>
#include <vector>

#include "platform/filesystem.h"
#include "platform/result.h"

namespace quillo {

class HashedReader {
  public:
    // expected: the bytes the file should hold; stepped: pieces as pieceLength()
    // gives them (the same for both files of a pair); hashing: whether to keep
    // digests at all.
    HashedReader(InputFile& file, qint64 expected, bool stepped, std::vector<char>& buffer,
                 bool hashing);
    ~HashedReader();
    HashedReader(const HashedReader&) = delete;
    HashedReader& operator=(const HashedReader&) = delete;

    // Reads the next piece (shorter at the end). The value is the number of bytes
    // read, less than the piece's length only when the file ended early.
    Result<qint64> next();

    // Digest of everything read so far; valid after a full piece when hashing.
    quint64 lastDigest() const { return m_prefix.back(); }
    bool hashing() const { return m_state != nullptr; }
    // No digests from here on (the ones taken so far stay).
    void stopHashing();
    const std::vector<quint64>& prefixDigests() const { return m_prefix; }
    const char* data() const { return m_buffer.data(); }
    qint64 consumed() const { return m_done; }

    // True when no byte follows the expected ones.
    Result<bool> atEnd();

  private:
    InputFile& m_file;
    qint64 m_expected;
    bool m_stepped;
    size_t m_piece = 0;  // index of the next piece
    qint64 m_done = 0;
    std::vector<char>& m_buffer;
    std::vector<quint64> m_prefix;
    struct State;
    std::unique_ptr<State> m_state;
};

}  // namespace quillo
