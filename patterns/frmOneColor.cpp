#include "patterns/frmOneColor.h"

#include "platform/FormScaler.h"

frmOneColor::frmOneColor(QWidget *parent)
    : PatternForm(parent)
{
    resize(FormScaler::twipsRect(0, 0, 4680, 3090).size());
}
