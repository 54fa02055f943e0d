#include "patterns/frmCirclesFS.h"

frmCirclesFS::frmCirclesFS()
{
    setBackColor(0x00FFFFFF);
}
