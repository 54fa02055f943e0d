#include "patterns/frmVerticalLines.h"

frmVerticalLines::frmVerticalLines()
{
    setBackColor(0x00FFFFFF);
}
