#include "patterns/frmOneColor.h"

frmOneColor::frmOneColor()
{
    resize(Form::twipsRect(0, 0, 4680, 3090).size());
}
