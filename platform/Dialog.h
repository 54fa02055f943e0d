#pragma once

#include <QDialog>
#include <QMessageBox>

class QLabel;

// A fixed dialog of the program: not resizable, no minimise or maximise box, a close box, laid out from
// its design's twips and grown with its text when it shows. Owned by the window that opens it, which
// keeps it above itself and off the task bar.
class Dialog : public QDialog
{
    Q_OBJECT
public:
    enum EscapeKey { EscapeIgnored, EscapeCloses };

    void setVisible(bool visible) override;

    // A message box owned by owner, its text plain, off the task bar; returns once it is closed (or once
    // the owner has taken it away).
    static void message(QWidget *owner, QMessageBox::Icon icon, const QString &title, const QString &text);

protected:
    Dialog(QWidget *parent, EscapeKey escape);

    // A plain-text label at its design place, drawn from its top-left corner.
    QLabel *addLabel(const char *name, const QString &caption, int left, int top, int width, int height);

    void keyPressEvent(QKeyEvent *event) override;

private:
    EscapeKey m_escape;
};
