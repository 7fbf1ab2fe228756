#include "main/digitedit.h"

#include <QApplication>
#include <QKeyEvent>
#include <QRegularExpressionValidator>

namespace pigmora::ui {

DigitEdit::DigitEdit(const char *objectName, int maxDigits, QWidget *parent)
    : QLineEdit(parent)
{
    setObjectName(QLatin1String(objectName));
    setMaxLength(maxDigits);
    // A paste of anything but digits is refused whole.
    setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this));
    setInputMethodHints(Qt::ImhDigitsOnly | Qt::ImhLatinOnly);
    setAttribute(Qt::WA_InputMethodEnabled, false); // half-width digits only
}

void DigitEdit::keyPressEvent(QKeyEvent *event)
{
    // A typed character: one that is printable and not part of a shortcut.
    // Keys without one (Enter, Escape, arrows, Delete, Backspace) and
    // shortcuts (Ctrl+V) are the field's and the dialog's as usual.
    const QString text = event->text();
    const bool shortcut = event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (!shortcut && !text.isEmpty() && text.at(0).isPrint()) {
        for (const QChar c : text) {
            if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
                QApplication::beep();
                event->accept();
                return;
            }
        }
    }
    QLineEdit::keyPressEvent(event);
}

} // namespace pigmora::ui
