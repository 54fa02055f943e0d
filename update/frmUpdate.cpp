#include "update/frmUpdate.h"

frmUpdate::frmUpdate()
    : Form(DialogFlags)
{
    setWindowTitle(QStringLiteral("Update Check"));
    setWindowIcon(applicationIcon());
    setClientSizeTwips(4695, 2430);
}
