#pragma once

#include <QWidget>

// One line of plain text that never asks for room: cut with "…" where its width ends, the whole text
// in its tooltip. For a text from outside (a server's) that must not grow or widen its window.
class ElidedLabel : public QWidget
{
    Q_OBJECT
public:
    explicit ElidedLabel(QWidget *parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString &text);
    // What the label shows at its width.
    QString shownText() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_text;
};
