#include "dialogs/frmAbout.h"

frmAbout::frmAbout()
    : Form(DialogFlags)
{
    setWindowTitle(QStringLiteral("About Quorbel!"));
    setWindowIcon(applicationIcon());
    setClientSizeTwips(5730, 3975);
}
