#include "patterns/frmColorFS.h"

frmColorFS::frmColorFS() { }
