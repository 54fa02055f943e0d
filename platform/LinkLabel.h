#pragma once

#include <QLabel>

// A label that looks and acts as a link: blue (0x00FF0000), underlined, a pointing hand over it.
// Its text is always plain text. A click emits clicked(); the dialog hands the target to the shell.
class LinkLabel : public QLabel
{
    Q_OBJECT
public:
    explicit LinkLabel(const QString &text, QWidget *parent = nullptr);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};
