#include "ui/qtmessagebox.h"

#include <QMessageBox>
#include <QPushButton>

namespace quillo {

Answer QtMessageBox::show(const QString& text, Buttons buttons) {
    QMessageBox box(m_parent);
    box.setWindowTitle(QStringLiteral("Quillo"));
    box.setIcon(QMessageBox::NoIcon);
    // The logic writes a lone CR as its line break; Qt breaks lines on LF.
    QString shown = text;
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    box.setText(shown);
    box.setTextFormat(Qt::PlainText);
    if (buttons == Buttons::Ok) {
        QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        box.setDefaultButton(ok);
        box.setEscapeButton(ok);
        box.exec();
        return Answer::Ok;
    }
    QPushButton* yes = box.addButton(QStringLiteral("はい"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("いいえ"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes ? Answer::Yes : Answer::No;
}

}  // namespace quillo
