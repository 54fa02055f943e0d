#include "app/frmMenu.h"
#include "platform/Application.h"

#ifdef __GLIBC__
#include <malloc.h>
#endif

int main(int argc, char **argv)
{
#ifdef __GLIBC__
    // Pattern pictures are megabytes each. A fixed threshold keeps them in their own mappings, handed
    // back to the system when a pattern closes; glibc's sliding one would move them onto the heap after
    // the first close, where they linger and fragment it.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
#endif
    Application app(argc, argv);
    app.setWindowIcon(Form::applicationIcon());
    // The process ends once no form is loaded, not when some window closes.
    app.setQuitOnLastWindowClosed(false);
    Form::setAllUnloadedHandler([] { QCoreApplication::quit(); });
    form<frmMenu>().Show();
    return app.exec();
}
