#pragma once
// The folder of a collected file, as one shared text.

#include <QExplicitlySharedDataPointer>
#include <QSharedData>
#include <QString>

namespace quillo {

// A folder's text, ending with its separator. A row holds one pointer to it,
// not a text's full width, and the rows made from one FolderText share one
// text: a million rows in a thousand folders carry a thousand texts.
class FolderText {
  public:
    FolderText() = default;
    // Implicit: wherever a folder text is expected, a text will do.
    FolderText(const QString& text) : m_d(new Data(text)) {}

    const QString& text() const {
        static const QString none;
        return m_d ? m_d->text : none;
    }

    friend bool operator==(const FolderText& a, const FolderText& b) {
        return a.m_d == b.m_d || a.text() == b.text();
    }

  private:
    struct Data : QSharedData {
        explicit Data(const QString& t) : text(t) {}
        const QString text;
    };
    QExplicitlySharedDataPointer<Data> m_d;
};

}  // namespace quillo
