#include "patterns/frmGreysFS.h"

frmGreysFS::frmGreysFS()
{
    setBackColor(0x00FFFFFF);
}
