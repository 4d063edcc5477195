#pragma once
// The comma-separated fields of the settings file: how a text is written as a
// field, and the reader that takes the file apart again.

#include <QString>
#include <QStringView>
#include <optional>

namespace quillo {

// text as a field: as it is, or double-quoted with inner quotes doubled when
// it holds a comma, a quote or a line break, or starts or ends with a blank.
QString settingsField(const QString& text);

// A stream of fields, read without regard to lines: a field ends at a comma or
// at the end of a line (CR LF, LF or CR), blanks before it are skipped, and
// blanks at the end of an unquoted field are dropped. A quoted field keeps
// everything between its quotes, "" standing for one quote.
class SettingsFieldReader {
  public:
    explicit SettingsFieldReader(QStringView text) : m_text(text) {}

    // The next key: nothing at the end of the text. Empty lines before it are
    // skipped, so a file may end with blank lines.
    std::optional<QString> nextKey();
    // The value after a key: nothing when the text ends first.
    std::optional<QString> nextValue();
    // A quoted field that is not closed, or is followed by anything but blanks
    // and its delimiter.
    bool malformed() const { return m_malformed; }

  private:
    std::optional<QString> readField();
    bool atEnd() const { return m_pos >= m_text.size(); }
    QChar peek() const { return m_text[m_pos]; }
    void skipBlanks();
    // Consumes a comma or one line end; false when another character follows.
    bool endField();

    QStringView m_text;
    qsizetype m_pos = 0;
    bool m_malformed = false;
};

}  // namespace quillo
