#include "dialogs/frmHelp.h"

frmHelp::frmHelp()
    : Form(DialogFlags)
{
    setWindowTitle(QStringLiteral("Quorbel! Help"));
    setWindowIcon(applicationIcon());
    setClientSizeTwips(7335, 4455);
}
