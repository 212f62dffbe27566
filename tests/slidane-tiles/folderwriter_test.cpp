// FolderWriter's recovery and error paths, with the folder calls made to
// fail on purpose: a journal that names paths, dot files or temporaries that
// are gone, a recovery stopped half way, errors while looking for the
// journal, planted FIFOs, and what a failed replace leaves on the disk.
#include "folderwriter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <climits>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const FolderWriter::Calls kRealCalls = FolderWriter::calls;

// The one call that fails: `call` on `name` (any name if empty), with
// `error`, in its matching uses `from` to `to`. Every call is logged.
struct Fault {
    QByteArray call;
    QByteArray name;
    int from = 0;
    int error = 0;
    int to = INT_MAX;
    int seen = 0;
};
Fault fault;
QByteArrayList calls;

bool fails(const char *call, const char *name)
{
    calls << QByteArray(call) + ' ' + name;
    if (fault.call != call || (!fault.name.isEmpty() && fault.name != name) || ++fault.seen < fault.from
        || fault.seen > fault.to) {
        return false;
    }
    errno = fault.error;
    return true;
}

const FolderWriter::Calls kFaultyCalls = {
    [](int dir, const char *name, int flags, mode_t mode) {
        return fails("openat", name) ? -1 : kRealCalls.openat(dir, name, flags, mode);
    },
    [](int from, const char *name, int to, const char *newName) {
        return fails("renameat", name) ? -1 : kRealCalls.renameat(from, name, to, newName);
    },
    [](int dir, const char *name, int flags) {
        return fails("unlinkat", name) ? -1 : kRealCalls.unlinkat(dir, name, flags);
    },
    [](int fd) { return fails("fsync", "") ? -1 : kRealCalls.fsync(fd); },
};

const QStringList kNames{QStringLiteral("0.bmp"), QStringLiteral("1.bmp"), QStringLiteral("2.bmp")};

} // namespace

class FolderWriterTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void recoveryRenamesOnlyItsOwnNames();
    void recoveryStoppedHalfWayFinishesLater();
    void errorWhileLookingForTheJournal_data();
    void errorWhileLookingForTheJournal();
    void fifoIsRefusedAtOnce_data();
    void fifoIsRefusedAtOnce();
    void failedReplaceFlushesWhatItRemoved_data();
    void failedReplaceFlushesWhatItRemoved();

private:
    QString path(const QString &name) const { return dir_->filePath(name); }
    void put(const QString &name, const QByteArray &bytes) const;
    QByteArray got(const QString &name) const;
    // Old tiles, and what a make killed after renaming 0.bmp left.
    void plantTornSet() const;
    QStringList state() const;

    std::unique_ptr<QTemporaryDir> dir_;
};

void FolderWriterTest::put(const QString &name, const QByteArray &bytes) const
{
    QFile file(path(name));
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray FolderWriterTest::got(const QString &name) const
{
    QFile file(path(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArrayLiteral("(absent)");
}

void FolderWriterTest::plantTornSet() const
{
    put(QStringLiteral("0.bmp"), "new0");
    put(QStringLiteral("1.bmp"), "old1");
    put(QStringLiteral("2.bmp"), "old2");
    put(QStringLiteral(".slidane-tiles.1.bmp.new"), "new1");
    put(QStringLiteral(".slidane-tiles.2.bmp.new"), "new2");
    put(QStringLiteral(".slidane-tiles.journal"), "0.bmp\n1.bmp\n2.bmp\n");
    put(QStringLiteral(".slidane-tiles.lock"), "");
}

// Every file in the folder with its contents.
QStringList FolderWriterTest::state() const
{
    QStringList files;
    for (const QString &name : QDir(dir_->path()).entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        files << name + QLatin1Char('=') + QString::fromLatin1(got(name));
    }
    files.sort();
    return files;
}

void FolderWriterTest::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    put(QStringLiteral(".slidane-tiles.notes.new"), "the user's");
    put(QStringLiteral("holiday.txt"), "the user's too");
    fault = {};
    calls.clear();
    FolderWriter::calls = kFaultyCalls;
}

void FolderWriterTest::cleanup()
{
    FolderWriter::calls = kRealCalls;
}

void FolderWriterTest::recoveryRenamesOnlyItsOwnNames()
{
    plantTornSet();
    // 1.bmp's temporary was renamed before the kill; the other lines are no
    // names of the writer's, though their temporaries are there.
    QFile::remove(path(QStringLiteral(".slidane-tiles.1.bmp.new")));
    put(QStringLiteral("1.bmp"), "new1");
    put(QStringLiteral(".slidane-tiles.journal"),
        "0.bmp\n../outside\n.hidden\n1.bmp\nsub/2.bmp\n2.bmp\n.slidane-tiles.lock\n");
    QVERIFY(QDir(dir_->path()).mkdir(QStringLiteral(".slidane-tiles...")));
    put(QStringLiteral(".slidane-tiles.../outside.new"), "planted");
    put(QStringLiteral(".slidane-tiles..hidden.new"), "planted");

    FolderWriter writer(dir_->path(), kNames);
    QCOMPARE(writer.open(true), QString());
    QVERIFY(writer.repaired());
    QCOMPARE(state(),
        QStringList(
            {".slidane-tiles..hidden.new=planted", ".slidane-tiles.lock=", ".slidane-tiles.notes.new=the user's",
                "0.bmp=new0", "1.bmp=new1", "2.bmp=new2", "holiday.txt=the user's too"}));
    QCOMPARE(got(QStringLiteral(".slidane-tiles.../outside.new")), QByteArray("planted"));
    QVERIFY(!QFile::exists(dir_->filePath(QStringLiteral("../outside"))));
}

void FolderWriterTest::recoveryStoppedHalfWayFinishesLater()
{
    plantTornSet();
    fault = {"renameat", ".slidane-tiles.2.bmp.new", 1, EIO};
    {
        FolderWriter writer(dir_->path(), kNames);
        const QString error = writer.open();
        QVERIFY2(error.contains(QStringLiteral("cannot put 2.bmp in place (Input/output error)")), qPrintable(error));
        QVERIFY2(error.contains(QStringLiteral("until a later make or check")), qPrintable(error));
    }
    QCOMPARE(got(QStringLiteral("1.bmp")), QByteArray("new1"));
    QCOMPARE(got(QStringLiteral("2.bmp")), QByteArray("old2"));
    QCOMPARE(got(QStringLiteral(".slidane-tiles.journal")), QByteArray("0.bmp\n1.bmp\n2.bmp\n"));

    fault = {};
    FolderWriter writer(dir_->path(), kNames);
    QCOMPARE(writer.open(true), QString());
    QCOMPARE(state(),
        QStringList({".slidane-tiles.lock=", ".slidane-tiles.notes.new=the user's", "0.bmp=new0", "1.bmp=new1",
            "2.bmp=new2", "holiday.txt=the user's too"}));
}

void FolderWriterTest::errorWhileLookingForTheJournal_data()
{
    QTest::addColumn<int>("error");
    QTest::addColumn<bool>("readOnly");
    QTest::newRow("make, EIO") << EIO << false;
    QTest::newRow("make, EACCES") << EACCES << false;
    QTest::newRow("check, ENOMEM") << ENOMEM << true;
}

void FolderWriterTest::errorWhileLookingForTheJournal()
{
    QFETCH(int, error);
    QFETCH(bool, readOnly);
    plantTornSet();
    const QStringList before = state();
    fault = {"openat", ".slidane-tiles.journal", 1, error};
    {
        FolderWriter writer(dir_->path(), kNames);
        const QString reason = writer.open(readOnly);
        QVERIFY2(reason.contains(QString::fromLocal8Bit(std::strerror(error))), qPrintable(reason));
        QVERIFY2(reason.contains(QStringLiteral("nothing was changed")), qPrintable(reason));
    }
    QCOMPARE(state(), before);

    fault = {};
    FolderWriter writer(dir_->path(), kNames);
    QCOMPARE(writer.open(readOnly), QString());
    QCOMPARE(got(QStringLiteral("2.bmp")), QByteArray("new2"));
}

void FolderWriterTest::fifoIsRefusedAtOnce_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("readOnly");
    QTest::newRow("journal, make") << QStringLiteral(".slidane-tiles.journal") << false;
    QTest::newRow("journal, check") << QStringLiteral(".slidane-tiles.journal") << true;
    QTest::newRow("lock, check") << QStringLiteral(".slidane-tiles.lock") << true;
}

void FolderWriterTest::fifoIsRefusedAtOnce()
{
    QFETCH(QString, name);
    QFETCH(bool, readOnly);
    put(QStringLiteral("0.bmp"), "old0");
    QCOMPARE(::mkfifo(QFile::encodeName(path(name)).constData(), 0600), 0);
    FolderWriter writer(dir_->path(), kNames);
    QCOMPARE(writer.open(readOnly),
        dir_->path() + QLatin1Char(':') + QLatin1Char(' ') + name
            + QStringLiteral(" is not a regular file; remove it while no slidane-tiles runs there"));
    QCOMPARE(got(QStringLiteral("0.bmp")), QByteArray("old0"));
}

void FolderWriterTest::failedReplaceFlushesWhatItRemoved_data()
{
    QTest::addColumn<int>("lastFailing");
    QTest::addColumn<QByteArrayList>("lastCalls");
    QTest::addColumn<QStringList>("temporariesLeft");
    // The journal's rename is on the disk only with the fifth flush (two
    // tiles, the journal's file, the folder before and after the rename).
    QTest::newRow("the journal's flush fails once")
        << 5
        << QByteArrayList{"unlinkat .slidane-tiles.journal", "fsync ", "unlinkat .slidane-tiles.0.bmp.new",
               "unlinkat .slidane-tiles.1.bmp.new", "unlinkat .slidane-tiles.2.bmp.new",
               "unlinkat .slidane-tiles.journal.new", "fsync "}
        << QStringList();
    // While the journal's removal may not be on the disk, its files stay, so
    // that a journal that comes back can finish the whole set.
    QTest::newRow("every flush fails from the journal's on")
        << INT_MAX
        << QByteArrayList{"renameat .slidane-tiles.journal.new", "fsync ", "unlinkat .slidane-tiles.journal", "fsync "}
        << QStringList{".slidane-tiles.0.bmp.new=new0", ".slidane-tiles.1.bmp.new=new1"};
}

void FolderWriterTest::failedReplaceFlushesWhatItRemoved()
{
    QFETCH(int, lastFailing);
    QFETCH(QByteArrayList, lastCalls);
    QFETCH(QStringList, temporariesLeft);
    put(QStringLiteral("0.bmp"), "old0");
    put(QStringLiteral("1.bmp"), "old1");
    FolderWriter writer(dir_->path(), kNames);
    QCOMPARE(writer.open(), QString());
    calls.clear();
    fault = {"fsync", "", 5, EIO, lastFailing};
    const QString error = writer.replace({{"0.bmp", "new0"}, {"1.bmp", "new1"}});
    QVERIFY2(
        error.endsWith(QStringLiteral("(Input/output error); the earlier files are unchanged")), qPrintable(error));
    QCOMPARE(calls.mid(calls.size() - lastCalls.size()), lastCalls);
    QStringList expected = QStringList{".slidane-tiles.lock=", ".slidane-tiles.notes.new=the user's", "0.bmp=old0",
                               "1.bmp=old1", "holiday.txt=the user's too"}
        + temporariesLeft;
    expected.sort();
    QCOMPARE(state(), expected);
}

QTEST_GUILESS_MAIN(FolderWriterTest)
#include "folderwriter_test.moc"
