#include "decoderprocess.h"

#include "errortext.h"
#include "photofile.h"
#include "photoside.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringDecoder>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

extern char **environ;

namespace photo {
namespace {

// The decoder's processor time for each second of its time limit: its
// threads may share both cores.
constexpr int kCpuPerSecond = 3;
constexpr qsizetype kSquareBytes = qsizetype{tileset::kPhotoSide} * tileset::kPhotoSide * 4;

// What the decoder may see of the environment: the language of its
// messages, where Qt's plugins are, and the dynamic loader's and the
// sanitizers' settings as this process was given them. Nothing that names
// a display, a bus, a home or a session.
std::vector<QByteArray> decoderEnvironment()
{
    static const QByteArrayList kept{"LANG", "LANGUAGE", "LC_ALL", "LC_MESSAGES", "LC_CTYPE", "QT_PLUGIN_PATH",
        "LD_LIBRARY_PATH", "LD_PRELOAD", "ASAN_OPTIONS", "LSAN_OPTIONS", "UBSAN_OPTIONS"};
    std::vector<QByteArray> environment;
    for (char **entry = environ; *entry != nullptr; ++entry) {
        const QByteArray variable(*entry);
        if (kept.contains(variable.left(variable.indexOf('=')))) {
            environment.push_back(variable);
        }
    }
    return environment;
}

std::vector<char *> pointers(std::vector<QByteArray> &strings)
{
    std::vector<char *> list;
    for (QByteArray &string : strings) {
        list.push_back(string.data());
    }
    list.push_back(nullptr);
    return list;
}

// A descriptor at 3 or above, so that moving it to 0, 1 or 2 in the child
// never meets itself.
int above2(int fd)
{
    return ::fcntl(fd, F_DUPFD_CLOEXEC, 3);
}

qint64 now()
{
    timespec time{};
    ::clock_gettime(CLOCK_MONOTONIC, &time);
    return qint64{time.tv_sec} * 1000 + time.tv_nsec / 1'000'000;
}

struct Ending {
    bool timedOut = false;
    int status = 0; // from waitpid
    rusage usage{};
    QByteArray reply; // cut at one byte past the largest answer
};

// Reads the answer until the decoder closes it, then waits for the end
// of the decoder; a decoder past the deadline is killed.
Ending await(pid_t pid, int reply, qint64 deadline)
{
    Ending ending;
    for (bool open = true; open;) {
        pollfd ready{reply, POLLIN, 0};
        const qint64 left = deadline - now();
        if (left <= 0) {
            ending.timedOut = true;
            break;
        }
        const int events = ::poll(&ready, 1, static_cast<int>(left));
        if (events < 0 && errno != EINTR) {
            break;
        }
        if (events <= 0) {
            continue;
        }
        char chunk[1 << 16];
        const ssize_t got = ::read(reply, chunk, sizeof chunk);
        if (got < 0 && (errno == EINTR || errno == EAGAIN)) {
            continue;
        }
        open = got > 0 && ending.reply.size() <= kSquareBytes + 1;
        ending.reply.append(chunk, got > 0 ? got : 0);
    }
    // A decoder that closed its answer exits at once; one that lingers, or
    // said too much, is not waited for.
    while (!ending.timedOut && ::wait4(pid, &ending.status, WNOHANG, &ending.usage) == 0) {
        if (now() >= deadline || ending.reply.size() > kSquareBytes + 1) {
            ending.timedOut = now() >= deadline;
            break;
        }
        ::usleep(2000);
    }
    if (ending.timedOut || ending.reply.size() > kSquareBytes + 1) {
        ::kill(pid, SIGKILL);
        while (::wait4(pid, &ending.status, 0, &ending.usage) < 0 && errno == EINTR) { }
    }
    return ending;
}

QString signalName(int signal)
{
    switch (signal) {
    case SIGSEGV:
        return QCoreApplication::translate("decoder", "segmentation fault");
    case SIGBUS:
        return QCoreApplication::translate("decoder", "bus error");
    case SIGILL:
        return QCoreApplication::translate("decoder", "illegal instruction");
    case SIGFPE:
        return QCoreApplication::translate("decoder", "arithmetic error");
    case SIGABRT:
        return QCoreApplication::translate("decoder", "aborted");
    default:
        return QCoreApplication::translate("decoder", "signal %1").arg(signal);
    }
}

// The error line as the decoder wrote it, if it is one: a single line of
// valid UTF-8, without control characters, that names the photo.
QString errorLine(const QByteArray &reply, const QString &name)
{
    if (reply.size() < 2 || reply.size() > kErrorBytes || reply.front() != kErrorTag || !reply.endsWith('\n')) {
        return {};
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString line = utf8.decode(reply.sliced(1, reply.size() - 2));
    const bool clean =
        std::none_of(line.begin(), line.end(), [](QChar c) { return c.category() == QChar::Other_Control; });
    return !utf8.hasError() && clean && line.startsWith(name + QStringLiteral(": ")) ? line : QString();
}

QString hostile(const QString &name, const QString &what)
{
    return QCoreApplication::translate("decoder", "%1: the picture's decoder %2; the photo may be damaged or hostile")
        .arg(name, what);
}

// How the decoder ended, in words, when it did not end by itself: from
// what the kernel says of it alone.
QString forcedEnd(const Ending &ending, int seconds)
{
    const int signal = WIFSIGNALED(ending.status) ? WTERMSIG(ending.status) : 0;
    const qint64 cpu = ending.usage.ru_utime.tv_sec + ending.usage.ru_stime.tv_sec;
    const bool failed = signal != 0 || WEXITSTATUS(ending.status) != 0;
    if (ending.timedOut) {
        return QCoreApplication::translate("decoder", "did not finish within %n s and was stopped", nullptr, seconds);
    }
    if (signal == SIGXCPU || (signal == SIGKILL && cpu >= kCpuPerSecond * seconds)) {
        return QCoreApplication::translate("decoder", "used up its processor time and was stopped");
    }
    if (!kDecoderUnlimited && failed && qint64{ending.usage.ru_maxrss} * 1024 >= kDecoderAddressSpace * 3 / 4) {
        return QCoreApplication::translate("decoder", "ran out of the %1 MiB of memory it may use")
            .arg(kDecoderAddressSpace >> 20);
    }
    if (signal == SIGSYS) {
        return QCoreApplication::translate("decoder", "tried a step outside its confinement and was stopped");
    }
    return signal != 0 ? QCoreApplication::translate("decoder", "crashed (%1)").arg(signalName(signal)) : QString();
}

// The square or the error line, taken from the answer only in its exact
// form.
Square judge(const Ending &ending, const QString &name, int seconds)
{
    if (const QString forced = forcedEnd(ending, seconds); !forced.isEmpty()) {
        return {{}, hostile(name, forced)};
    }
    const int status = WEXITSTATUS(ending.status);
    if (status == 0 && ending.reply.size() == 1 + kSquareBytes && ending.reply.front() == kSquareTag) {
        QImage square(tileset::kPhotoSide, tileset::kPhotoSide, QImage::Format_RGB32);
        const qsizetype row = qsizetype{tileset::kPhotoSide} * 4;
        for (int y = 0; y < tileset::kPhotoSide; ++y) {
            std::memcpy(square.scanLine(y), ending.reply.constData() + 1 + y * row, static_cast<size_t>(row));
        }
        return {square, {}};
    }
    if (const QString line = errorLine(ending.reply, name); status == 1 && !line.isEmpty()) {
        return {{}, line};
    }
    return {{}, hostile(name, QCoreApplication::translate("decoder", "gave an answer out of form"))};
}

// Starts `program` as the decoder of `file`, answering into `answer`, with
// nothing else open; 0 or the error number.
int spawn(const PhotoFile &file, const QString &program, int seconds, int answer, pid_t &pid)
{
    const int photo = above2(file.descriptor());
    const int reply = above2(answer);
    const int nowhere = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    const int quiet = nowhere >= 0 ? above2(nowhere) : -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, photo, STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, reply, STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, quiet, STDERR_FILENO);
    posix_spawn_file_actions_addclosefrom_np(&actions, 3);
    std::vector<QByteArray> arguments{QFile::encodeName(program), kDecoderCommand, QFile::encodeName(file.path()),
        QByteArray::number(kCpuPerSecond * seconds), file.format().isEmpty() ? QByteArray("-") : file.format()};
    std::vector<QByteArray> environment = decoderEnvironment();
    const int spawned = photo < 0 || reply < 0 || quiet < 0
        ? EMFILE
        : ::posix_spawn(&pid, arguments.front().constData(), &actions, nullptr, pointers(arguments).data(),
            pointers(environment).data());
    posix_spawn_file_actions_destroy(&actions);
    for (const int fd : {photo, reply, nowhere, quiet}) {
        if (fd >= 0) {
            ::close(fd);
        }
    }
    return spawned;
}

} // namespace

int decoderSeconds()
{
    bool number = false;
    const int seconds = qEnvironmentVariableIntValue("SLIDANE_TILES_DECODE_SECONDS", &number);
    return number && seconds >= 1 && seconds <= 3600 ? seconds : 20;
}

Square readSquare(const PhotoFile &file, const QString &program)
{
    const int seconds = decoderSeconds();
    int reply[2] = {-1, -1};
    pid_t pid = 0;
    const int spawned = ::pipe2(reply, O_CLOEXEC) != 0 ? errno : spawn(file, program, seconds, reply[1], pid);
    if (reply[1] >= 0) {
        ::close(reply[1]);
    }
    if (spawned != 0) {
        if (reply[0] >= 0) {
            ::close(reply[0]);
        }
        return {{},
            QCoreApplication::translate("decoder", "%1: cannot start the picture's decoder (%2)")
                .arg(file.path(), errorText(spawned))};
    }
    const Ending ending = await(pid, reply[0], now() + qint64{seconds} * 1000);
    ::close(reply[0]);
    Square square = judge(ending, file.path(), seconds);
    if (const QString changed = file.changed(); !changed.isEmpty() && square.error.isEmpty()) {
        return {{}, changed};
    }
    return square;
}

} // namespace photo
