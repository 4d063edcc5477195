#include "collect/extensionlist.h"

namespace quillo {

namespace {

bool acceptable(const QString& text) {
    if (text.isEmpty()) return false;
    if (text.contains(QLatin1Char('*'))) return false;
    if (text.contains(QLatin1Char('?'))) return false;
    if (!text.startsWith(QLatin1Char('.'))) return false;
    return text.size() >= 2 && text.size() <= 5;
}

// The items that are not empty and differ from skip (exact comparison), in order.
QStringList itemsWithout(const QStringList& items, const QString& skip) {
    QStringList kept;
    kept.reserve(items.size());
    for (const QString& item : items) {
        if (!item.isEmpty() && item != skip) kept << item;
    }
    return kept;
}

}  // namespace

void validateAndAdd(ExtentList& list) {
    // Any white space at the ends, the ideographic space included: it can never
    // be part of a file's extension.
    list.text = list.text.trimmed();
    if (!acceptable(list.text)) {
        list.text = list.items.value(0);
        return;
    }
    for (const QString& item : list.items) {
        if (item == list.text) return;
    }
    QStringList rebuilt = itemsWithout(list.items, QString());
    rebuilt.prepend(list.text);
    list.items = rebuilt;
    list.text = list.items.first();
}

void removeCurrent(ExtentList& list) {
    if (list.items.size() <= 1) return;
    QStringList kept = itemsWithout(list.items, list.text);
    // Removing the last real entry would leave no extension at all.
    if (kept.isEmpty()) return;
    list.items = kept;
    list.text = list.items.first();
}

void refreshAfterPick(ExtentList& list) {
    QStringList rebuilt = itemsWithout(list.items, list.text);
    rebuilt.prepend(list.text);
    list.items = rebuilt;
}

}  // namespace quillo
