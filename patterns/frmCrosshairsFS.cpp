#include "patterns/frmCrosshairsFS.h"

frmCrosshairsFS::frmCrosshairsFS()
{
    setBackColor(0x00000000);
}
