#include "patterns/frmBoxesFS.h"

frmBoxesFS::frmBoxesFS() { }
