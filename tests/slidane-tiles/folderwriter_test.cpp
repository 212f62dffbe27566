// FolderWriter with its folder calls failing on purpose: recovering from a
// journal with lines that are no names of its own and temporaries already
// renamed, a recovery stopped half way, and what a failed replace leaves.
// The system's words for an error are in the locale's language.
#include "errortext.h"
#include "folderlock.h"
#include "folderreadlock.h"
#include "folderwriter.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <climits>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

const FolderCalls kRealCalls = folderCalls;

// The call that fails: `call` on `name` (any if empty) with `error`, in its
// matching uses `from` to `to`. Every call is logged.
struct Fault {
    QByteArray call, name;
    int error = 0, from = 1, to = INT_MAX, seen = 0;
} fault;
QByteArrayList calls;
// As on NFS, an exclusive lock only on a descriptor open for writing.
bool nfs = false;
// Another run replaces the lock file while this one waits for it.
std::function<void()> beforeLock;

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

const FolderCalls kFaultyCalls = {
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
    [](int fd, int operation) {
        if (nfs && (operation & LOCK_EX) && (::fcntl(fd, F_GETFL) & O_ACCMODE) == O_RDONLY) {
            errno = EBADF;
            return -1;
        }
        if (beforeLock) {
            std::exchange(beforeLock, nullptr)();
        }
        return kRealCalls.flock(fd, operation);
    },
};

// A journal line for the file `name` that will hold `bytes`.
QByteArray line(const QByteArray &name, const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex() + ' ' + name + '\n';
}

const QStringList kNames{QStringLiteral("0.bmp"), QStringLiteral("1.bmp"), QStringLiteral("2.bmp")};
using Files = QMap<QString, QByteArray>;
const Files kUsers{
    {".slidane-tiles.notes.new", "the user's"}, {".slidane-tiles..hidden.new", "planted"}, {".slidane-tiles.lock", ""}};

} // namespace

class FolderWriterTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup() { folderCalls = kRealCalls; }
    void recovery_data();
    void recovery();
    void failedReplace_data();
    void failedReplace();
    void locking_data();
    void locking();

private:
    void put(const Files &files) const;
    Files files() const;
    // Takes the folder's lock as a check (`readOnly`) or a make does, and
    // lets go of it again; the reason it failed, if it did.
    QString take(bool readOnly) const;
    // The folder sits in a temporary one, which holds what a journal line
    // with ../ could reach.
    QString path(const QString &name) const { return dir_->filePath(QStringLiteral("set/") + name); }
    std::unique_ptr<QTemporaryDir> dir_;
};

void FolderWriterTest::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir(dir_->path()).mkdir(QStringLiteral("set")));
    put(kUsers);
    fault = {};
    calls.clear();
    nfs = false;
    beforeLock = nullptr;
    folderCalls = kFaultyCalls;
}

void FolderWriterTest::put(const Files &files) const
{
    for (auto file = files.begin(); file != files.end(); ++file) {
        QFile out(path(file.key()));
        QVERIFY(out.open(QIODevice::WriteOnly) && out.write(file.value()) == file.value().size());
    }
}

Files FolderWriterTest::files() const
{
    Files files;
    for (const QString &name : QDir(path({})).entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        QFile in(path(name));
        files[name] = in.open(QIODevice::ReadOnly) ? in.readAll() : "(unreadable)";
    }
    return files;
}

QString FolderWriterTest::take(bool readOnly) const
{
    if (readOnly) {
        FolderReadLock lock(path({}), kNames);
        return lock.take();
    }
    FolderLock lock(path({}));
    return FolderWriter(lock, kNames).open();
}

void FolderWriterTest::recovery_data()
{
    QTest::addColumn<QByteArray>("call");
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<int>("error");
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<QByteArray>("zero");
    QTest::addColumn<bool>("bare");
    QTest::addColumn<QString>("said");
    QTest::newRow("own names only") << QByteArray() << QByteArray() << 0 << true << QByteArray("new0") << false
                                    << QString();
    // Someone else took the temporary away, and 0.bmp is not the new one.
    QTest::newRow("missing temporary, old tile")
        << QByteArray() << QByteArray() << 0 << false << QByteArray("old0") << false
        << QStringLiteral("cannot put 0.bmp in place (%1); its new file is gone and 0.bmp is not the new one; "
                          "remove .slidane-tiles.journal and make the set again")
               .arg(errorText(ENOENT));
    // 1.0.0 wrote bare names: 0.bmp may be new, but nothing says so.
    QTest::newRow("1.0.0 journal, missing temporary")
        << QByteArray() << QByteArray() << 0 << false << QByteArray("new0") << true
        << "its new file is gone, and a journal of version 1.0.0 cannot tell whether 0.bmp is the new one; remove "
           ".slidane-tiles.journal and make the set again";
    QTest::newRow("stopped half way") << QByteArray("renameat") << QByteArray(".slidane-tiles.2.bmp.new") << EIO
                                      << false << QByteArray("new0") << false
                                      << QStringLiteral("cannot put 2.bmp in place (%1); the folder holds part of "
                                                        "the new set until a later make or check in it puts the rest "
                                                        "in place")
                                             .arg(errorText(EIO));
    // The sweep of tiles_faults_e2e fails every other call of a recovery.
}

// A make killed after renaming 0.bmp: 1.bmp and 2.bmp wait in temporaries.
// The journal's other lines name a path and a dot file, whose "temporaries"
// are planted too; they are no names of the writer's and stay as they are.
void FolderWriterTest::recovery()
{
    QFETCH(QByteArray, call);
    QFETCH(QByteArray, name);
    QFETCH(int, error);
    QFETCH(bool, readOnly);
    QFETCH(QByteArray, zero);
    QFETCH(bool, bare);
    QFETCH(QString, said);
    const auto line = [bare](const QByteArray &name, const QByteArray &bytes) {
        return bare ? name + '\n' : ::line(name, bytes);
    };
    put({{"0.bmp", zero}, {"1.bmp", "old1"}, {"2.bmp", "old2"}, {".slidane-tiles.1.bmp.new", "new1"},
        {".slidane-tiles.2.bmp.new", "new2"},
        {".slidane-tiles.journal",
            line("0.bmp", "new0") + line("../outside", "planted") + line(".hidden", "planted") + line("1.bmp", "new1")
                + line("2.bmp", "new2")}});
    QVERIFY(QDir(path({})).mkdir(QStringLiteral(".slidane-tiles...")));
    put({{".slidane-tiles.../outside.new", "planted"}});
    const Files before = files();
    fault = {call, name, error};
    {
        const QString reason = take(readOnly);
        QVERIFY2(said.isEmpty() ? reason.isEmpty() : reason.endsWith(said), qPrintable(reason));
    }
    if (said.endsWith(QStringLiteral("make the set again"))) {
        QCOMPARE(files(), before);
        return; // no run can finish that journal
    }
    fault = {};
    QCOMPARE(take(readOnly), QString());
    Files after = kUsers;
    after.insert({{"0.bmp", "new0"}, {"1.bmp", "new1"}, {"2.bmp", "new2"}});
    QCOMPARE(files(), after);
    QVERIFY(QFile::exists(path(QStringLiteral(".slidane-tiles.../outside.new"))));
    QVERIFY(!QFile::exists(path(QStringLiteral("../outside"))));
}

void FolderWriterTest::failedReplace_data()
{
    QTest::addColumn<int>("lastFailing");
    QTest::addColumn<QByteArrayList>("lastCalls");
    QTest::addColumn<Files>("left");
    // The fifth flush puts the journal's rename on the disk (after two
    // tiles, the journal's file and the folder before the rename).
    QTest::newRow("the journal's flush fails once")
        << 5
        << QByteArrayList{"unlinkat .slidane-tiles.journal", "fsync ", "unlinkat .slidane-tiles.0.bmp.new",
               "unlinkat .slidane-tiles.1.bmp.new", "unlinkat .slidane-tiles.2.bmp.new",
               "unlinkat .slidane-tiles.journal.new", "fsync "}
        << Files();
    // Until the journal's removal is on the disk its files stay, so that a
    // journal that comes back can finish the whole set.
    QTest::newRow("every flush fails from the journal's on")
        << INT_MAX
        << QByteArrayList{"renameat .slidane-tiles.journal.new", "fsync ", "unlinkat .slidane-tiles.journal", "fsync "}
        << Files{{".slidane-tiles.0.bmp.new", "new0"}, {".slidane-tiles.1.bmp.new", "new1"}};
}

void FolderWriterTest::failedReplace()
{
    QFETCH(int, lastFailing);
    QFETCH(QByteArrayList, lastCalls);
    QFETCH(Files, left);
    put({{"0.bmp", "old0"}, {"1.bmp", "old1"}});
    FolderLock lock(path({}));
    FolderWriter writer(lock, kNames);
    QCOMPARE(writer.open(), QString());
    fault = {"fsync", "", EIO, 5, lastFailing};
    const QString error = writer.replace({{"0.bmp", "new0"}, {"1.bmp", "new1"}});
    QVERIFY2(error.endsWith("(" + errorText(EIO) + "); the earlier files are unchanged"), qPrintable(error));
    QCOMPARE(calls.mid(calls.size() - lastCalls.size()), lastCalls);
    left.insert(kUsers);
    left.insert({{"0.bmp", "old0"}, {"1.bmp", "old1"}});
    QCOMPARE(files(), left);
}

void FolderWriterTest::locking_data()
{
    QTest::addColumn<bool>("onNfs");
    QTest::addColumn<bool>("mayWriteLock");
    QTest::addColumn<bool>("replaced");
    QTest::addColumn<bool>("check");
    QTest::addColumn<QString>("said");
    const QString readOnlyOnNfs =
        QStringLiteral("cannot lock the folder (%1); this user may only read the lock file .slidane-tiles.lock, "
                       "and this file system locks a file only for a user who may write it; the lock file's owner "
                       "can remove it while no slidane-tiles runs there")
            .arg(errorText(EBADF));
    QTest::newRow("NFS") << true << true << false << false << QString();
    QTest::newRow("NFS, a lock file this user may only read") << true << false << false << false << readOnlyOnNfs;
    // A check that finds a journal needs the lock alone as well.
    QTest::newRow("NFS, check finishing a journal, read-only lock file")
        << true << false << false << true << readOnlyOnNfs;
    QTest::newRow("lock file replaced while waiting") << false << true << true << false << QString();
}

// A writer's lock is on the lock file at its path while the writer holds it.
void FolderWriterTest::locking()
{
    QFETCH(bool, onNfs);
    QFETCH(bool, mayWriteLock);
    QFETCH(bool, replaced);
    QFETCH(bool, check);
    QFETCH(QString, said);
    nfs = onNfs;
    if (!mayWriteLock) {
        fault = {"openat", ".slidane-tiles.lock", EACCES, 1, 1};
    }
    const QString lockFile = path(QStringLiteral(".slidane-tiles.lock"));
    if (replaced) {
        beforeLock = [&] {
            QVERIFY(QFile::remove(lockFile));
            put({{".slidane-tiles.lock", ""}});
        };
    }
    FolderLock lock(path({}));
    FolderReadLock reader(path({}), kNames);
    if (check) {
        put({{".slidane-tiles.journal", ""}});
    }
    const QString reason = check ? reader.take() : FolderWriter(lock, kNames).open();
    QVERIFY2(said.isEmpty() ? reason.isEmpty() : reason.endsWith(said), qPrintable(reason));
    const int other = ::open(QFile::encodeName(lockFile).constData(), O_RDONLY | O_CLOEXEC);
    QVERIFY(other >= 0);
    const bool locked = ::flock(other, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(other);
    QCOMPARE(locked, said.isEmpty());
}

QTEST_GUILESS_MAIN(FolderWriterTest)
#include "folderwriter_test.moc"
