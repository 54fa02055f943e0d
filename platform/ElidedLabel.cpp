#include "platform/ElidedLabel.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOption>

ElidedLabel::ElidedLabel(QWidget *parent)
    : QWidget(parent)
{ }

void ElidedLabel::setText(const QString &text)
{
    m_text = text;
    // Escaped, so that the tooltip never reads the text as markup.
    setToolTip(text.isEmpty()
            ? QString()
            : QStringLiteral("<p style='white-space:pre'>%1</p>").arg(text.toHtmlEscaped()));
    update();
}

QString ElidedLabel::shownText() const
{
    return fontMetrics().elidedText(m_text, Qt::ElideRight, width());
}

// A line's height; the width is the window's business, whatever the text.
QSize ElidedLabel::sizeHint() const
{
    return QSize(0, fontMetrics().height());
}

QSize ElidedLabel::minimumSizeHint() const
{
    return sizeHint();
}

// Drawn as a plain label draws its text, so that a short one looks the same.
void ElidedLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QStyleOption option;
    option.initFrom(this);
    style()->drawItemText(&painter, rect(), Qt::AlignLeft | Qt::AlignTop, option.palette, isEnabled(),
        shownText(), foregroundRole());
}
