#include "platform/Dialog.h"

#include "platform/FormScaler.h"
#include "platform/Screen.h"
#include "platform/WindowHints.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QScreen>

Dialog::Dialog(QWidget *parent, EscapeKey escape)
    : QDialog(parent,
        Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint
            | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
    , m_escape(escape)
{ }

void Dialog::setVisible(bool visible)
{
    // Laid out as late as this: texts may have changed since the window was built.
    if (visible && !isVisible()) {
        FormScaler::fit(this);
        WindowHints::keepOffTaskBar(this);
        // A dialog placed by its design stays on its screen, however small the screen or large the font
        // (Qt keeps the others there itself).
        if (testAttribute(Qt::WA_Moved)) {
            const QRect room = Screen::holding(parentWidget() ? parentWidget()->window() : this)->availableGeometry();
            move(qMax(room.left(), qMin(x(), room.right() + 1 - frameGeometry().width())),
                qMax(room.top(), qMin(y(), room.bottom() + 1 - frameGeometry().height())));
        }
    }
    QDialog::setVisible(visible);
}

QLabel *Dialog::addLabel(const char *name, const QString &caption, int left, int top, int width, int height)
{
    auto *label = new QLabel(this);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    label->setText(caption);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    FormScaler::place(label, left, top, width, height);
    return label;
}

void Dialog::keyPressEvent(QKeyEvent *event)
{
    // Most of the design's dialogs have no cancel button: there Esc does nothing.
    if (event->key() == Qt::Key_Escape && m_escape == EscapeIgnored && event->modifiers() == Qt::NoModifier)
        return;
    QDialog::keyPressEvent(event);
}

void Dialog::message(QWidget *owner, QMessageBox::Icon icon, const QString &title, const QString &text)
{
    QPointer<QMessageBox> box = new QMessageBox(icon, title, QString(), QMessageBox::Ok, owner);
    box->setTextFormat(Qt::PlainText);
    box->setText(text);
    WindowHints::keepOffTaskBar(box);
    box->exec();
    delete box;
}
