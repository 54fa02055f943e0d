#pragma once

#include <QDialog>

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

protected:
    Dialog(QWidget *parent, EscapeKey escape);

    // A plain-text label at its design place, drawn from its top-left corner.
    QLabel *addLabel(const char *name, const QString &caption, int left, int top, int width, int height);

    void keyPressEvent(QKeyEvent *event) override;

private:
    EscapeKey m_escape;
};
