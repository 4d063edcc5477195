#include "app/settingsfields.h"

namespace quillo {

namespace {

constexpr QChar kBlank = QLatin1Char(' ');
constexpr QChar kComma = QLatin1Char(',');
constexpr QChar kQuote = QLatin1Char('"');
constexpr QChar kCr = QLatin1Char('\r');
constexpr QChar kLf = QLatin1Char('\n');

bool isLineEnd(QChar c) {
    return c == kCr || c == kLf;
}

}  // namespace

QString settingsField(const QString& text) {
    const bool quote = text.startsWith(kBlank) || text.endsWith(kBlank) || text.contains(kComma) ||
                       text.contains(kQuote) || text.contains(kCr) || text.contains(kLf);
    if (!quote) return text;
    QString field = text;
    field.replace(kQuote, QStringLiteral("\"\""));
    return kQuote + field + kQuote;
}

void SettingsFieldReader::skipBlanks() {
    while (!atEnd() && peek() == kBlank) ++m_pos;
}

bool SettingsFieldReader::endField() {
    if (atEnd()) return true;
    const QChar c = peek();
    if (c == kComma) {
        ++m_pos;
        return true;
    }
    if (c == kCr) {
        ++m_pos;
        if (!atEnd() && peek() == kLf) ++m_pos;
        return true;
    }
    if (c == kLf) {
        ++m_pos;
        return true;
    }
    return false;
}

std::optional<QString> SettingsFieldReader::readField() {
    if (peek() != kQuote) {
        const qsizetype start = m_pos;
        while (!atEnd() && peek() != kComma && !isLineEnd(peek())) ++m_pos;
        qsizetype end = m_pos;
        while (end > start && m_text[end - 1] == kBlank) --end;
        const QString field = m_text.mid(start, end - start).toString();
        endField();
        return field;
    }
    ++m_pos;  // the opening quote
    QString field;
    for (;;) {
        if (atEnd()) {
            m_malformed = true;
            return std::nullopt;
        }
        const QChar c = peek();
        ++m_pos;
        if (c != kQuote) {
            field += c;
        } else if (!atEnd() && peek() == kQuote) {
            field += kQuote;
            ++m_pos;
        } else {
            break;
        }
    }
    skipBlanks();
    if (!endField()) {
        m_malformed = true;
        return std::nullopt;
    }
    return field;
}

std::optional<QString> SettingsFieldReader::nextKey() {
    for (;;) {
        skipBlanks();
        if (atEnd()) return std::nullopt;
        if (!isLineEnd(peek())) break;
        endField();
    }
    return readField();
}

std::optional<QString> SettingsFieldReader::nextValue() {
    skipBlanks();
    if (atEnd()) return std::nullopt;
    return readField();
}

}  // namespace quillo
