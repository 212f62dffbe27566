#include "frmmain.h"
#include "memorybudget.h"
#include "platformchoice.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    memorybudget::reserveLess();
    platformchoice::choose(argc, argv);
    QApplication app(argc, argv);
    // Desktop shells tie the window to its launcher and icon by these: the
    // Wayland app_id is the desktop entry's id, and the X11 WM_CLASS class is
    // the entry's StartupWMClass whatever name the program was started by.
    QApplication::setApplicationName(QStringLiteral("slidane"));
    QGuiApplication::setDesktopFileName(QStringLiteral(SLIDANE_APP_ID));
    frmMain window;
    window.show();
    return QApplication::exec();
}
