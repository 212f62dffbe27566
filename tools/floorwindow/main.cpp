// The toolkit's floor: a window of the game's shape (title, fixed size,
// three push buttons) with nothing of the game behind it.
#include <QApplication>
#include <QPushButton>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("15 - Dlaždovka - Slidane"));
    window.setFixedSize(277, 192);
    int top = 80;
    for (const char *caption : {"Start", "End", "Help"}) {
        auto *button = new QPushButton(QString::fromLatin1(caption), &window);
        button->setGeometry(192, top, 81, 25);
        top += 32;
    }
    window.show();
    return QApplication::exec();
}
