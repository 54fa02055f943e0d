#include "app/frmMenu.h"
#include "platform/Application.h"

int main(int argc, char **argv)
{
    Application app(argc, argv);
    app.setWindowIcon(Form::applicationIcon());
    // The process ends once no form is loaded, not when some window closes.
    app.setQuitOnLastWindowClosed(false);
    Form::setAllUnloadedHandler([] { QCoreApplication::quit(); });
    form<frmMenu>().Show();
    return app.exec();
}
