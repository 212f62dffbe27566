#include "platformchoice.h"

#include <QTemporaryDir>
#include <QTest>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <vector>

using platformchoice::Compositor;

class PlatformChoiceTest : public QObject {
    Q_OBJECT

private slots:
    void userChoiceIsSeen_data()
    {
        QTest::addColumn<QByteArray>("variable");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("chosen");
        QTest::newRow("nothing") << QByteArray() << QStringList{} << false;
        QTest::newRow("variable") << QByteArray("wayland") << QStringList{} << true;
        QTest::newRow("empty variable") << QByteArray("") << QStringList{} << false;
        QTest::newRow("-platform") << QByteArray() << QStringList{"-platform", "xcb"} << true;
        QTest::newRow("--platform") << QByteArray() << QStringList{"--platform", "xcb"} << true;
        QTest::newRow("other option") << QByteArray() << QStringList{"-platformx", "-style"} << false;
    }

    void userChoiceIsSeen()
    {
        QFETCH(QByteArray, variable);
        QFETCH(QStringList, arguments);
        QFETCH(bool, chosen);
        if (variable.isNull()) {
            qunsetenv("QT_QPA_PLATFORM");
        } else {
            qputenv("QT_QPA_PLATFORM", variable);
        }
        std::vector<QByteArray> storage{QByteArray("slidane")};
        for (const QString &argument : arguments) {
            storage.push_back(argument.toUtf8());
        }
        std::vector<char *> argv;
        for (QByteArray &argument : storage) {
            argv.push_back(argument.data());
        }
        argv.push_back(nullptr);
        QCOMPARE(platformchoice::userChosePlatform(static_cast<int>(storage.size()), argv.data()), chosen);
        qunsetenv("QT_QPA_PLATFORM");
    }

    // A compositor that is gone, or one that takes the connection and never
    // answers, leaves the choice to Qt: the question gives up instead of
    // waiting for an answer. (How long it takes is measured in
    // bench/startup/platformchoice_bench, not here.)
    void aSilentOrMissingCompositorIsGivenUp()
    {
        // Below /tmp whatever TMPDIR is: a socket path too long for sun_path
        // would leave the compositor unreachable for another reason.
        QTemporaryDir runtime(QStringLiteral("/tmp/slidane-XXXXXX"));
        QVERIFY(runtime.isValid());
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
        qputenv("WAYLAND_DISPLAY", "wayland-none");
        QCOMPARE(platformchoice::askCompositor(300), Compositor::Unreachable);

        const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
        QVERIFY(listener >= 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray path = QFile::encodeName(runtime.filePath(QStringLiteral("wayland-silent")));
        QVERIFY(static_cast<std::size_t>(path.size()) < sizeof address.sun_path);
        std::memcpy(address.sun_path, path.constData(), static_cast<std::size_t>(path.size()));
        QVERIFY(::bind(listener, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0);
        QVERIFY(::listen(listener, 1) == 0);
        qputenv("WAYLAND_DISPLAY", "wayland-silent");
        QCOMPARE(platformchoice::askCompositor(300), Compositor::Unreachable);
        ::close(listener);
        qunsetenv("WAYLAND_DISPLAY");
    }
};

QTEST_GUILESS_MAIN(PlatformChoiceTest)
#include "platformchoice_test.moc"
