#include "patterns/frmDiagonalLines.h"

frmDiagonalLines::frmDiagonalLines()
{
    setBackColor(0x00FFFFFF);
}
