#include "confinement.h"

#include "errortext.h"

#include <QCoreApplication>
#include <QDir>

#include <cerrno>

#include <fcntl.h>
#include <linux/landlock.h>
#include <sched.h>
#include <seccomp.h>
#include <sys/ioctl.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace confinement {
namespace {

// Landlock's access rights by the ABI version that added them; Debian 12's
// kernel headers stop at version 2, and the kernel may be newer.
constexpr quint64 kFsAbi1 = (1ULL << 13) - 1; // execute ... make_sym
constexpr quint64 kFsRefer = 1ULL << 13; // ABI 2
constexpr quint64 kFsTruncate = 1ULL << 14; // ABI 3
constexpr quint64 kFsIoctlDev = 1ULL << 15; // ABI 5
constexpr quint64 kNetTcp = (1ULL << 0) | (1ULL << 1); // bind, connect: ABI 4
constexpr quint64 kScopeAll = (1ULL << 0) | (1ULL << 1); // abstract sockets, signals: ABI 6

// The kernel's struct landlock_ruleset_attr as of ABI 6; older kernels
// take it whole as long as the fields they do not know are zero.
struct RulesetAttr {
    quint64 handledAccessFs;
    quint64 handledAccessNet;
    quint64 scoped;
};

enum class Landlock { Enforced, Unavailable, Failed };

// A rule set that handles every right the kernel knows and grants none:
// no file can be opened, made or run, no TCP port reached, no abstract
// socket or process outside reached.
Landlock restrictByLandlock(int &error)
{
    const long abi = ::syscall(SYS_landlock_create_ruleset, nullptr, 0, LANDLOCK_CREATE_RULESET_VERSION);
    if (abi < 1) {
        error = errno;
        return error == ENOSYS || error == EOPNOTSUPP ? Landlock::Unavailable : Landlock::Failed;
    }
    RulesetAttr attr{kFsAbi1, 0, 0};
    attr.handledAccessFs |= (abi >= 2 ? kFsRefer : 0) | (abi >= 3 ? kFsTruncate : 0) | (abi >= 5 ? kFsIoctlDev : 0);
    attr.handledAccessNet = abi >= 4 ? kNetTcp : 0;
    attr.scoped = abi >= 6 ? kScopeAll : 0;
    const int ruleset = static_cast<int>(::syscall(SYS_landlock_create_ruleset, &attr, sizeof attr, 0));
    if (ruleset < 0) {
        error = errno;
        return Landlock::Failed;
    }
    const long restricted = ::syscall(SYS_landlock_restrict_self, ruleset, 0);
    error = errno;
    ::close(ruleset);
    return restricted == 0 ? Landlock::Enforced : Landlock::Failed;
}

// The system calls decoding needs, and nothing that reaches outside the
// process. Any other call kills it (SIGSYS), so the parent can tell a
// forbidden step from an error the decoder reports.
bool allowDecoding(scmp_filter_ctx filter)
{
    const int allowed[] = {SCMP_SYS(read), SCMP_SYS(readv), SCMP_SYS(pread64), SCMP_SYS(preadv), SCMP_SYS(lseek),
        SCMP_SYS(write), SCMP_SYS(writev), SCMP_SYS(close), SCMP_SYS(fstat), SCMP_SYS(fcntl), SCMP_SYS(mmap),
        SCMP_SYS(munmap), SCMP_SYS(mremap), SCMP_SYS(mprotect), SCMP_SYS(madvise), SCMP_SYS(brk), SCMP_SYS(futex),
        SCMP_SYS(set_robust_list), SCMP_SYS(rseq), SCMP_SYS(sched_yield), SCMP_SYS(sched_getaffinity),
        SCMP_SYS(rt_sigaction), SCMP_SYS(rt_sigprocmask), SCMP_SYS(rt_sigreturn), SCMP_SYS(sigaltstack),
        SCMP_SYS(getpid), SCMP_SYS(gettid), SCMP_SYS(clock_gettime), SCMP_SYS(clock_getres), SCMP_SYS(gettimeofday),
        SCMP_SYS(nanosleep), SCMP_SYS(clock_nanosleep), SCMP_SYS(getrandom), SCMP_SYS(membarrier), SCMP_SYS(getrusage),
        SCMP_SYS(sysinfo), SCMP_SYS(exit), SCMP_SYS(exit_group)};
    for (const int call : allowed) {
        if (seccomp_rule_add(filter, SCMP_ACT_ALLOW, call, 0) != 0) {
            return false;
        }
    }
#if defined(__SANITIZE_ADDRESS__)
    // AddressSanitizer tells readable memory by writing it into a pipe.
    if (seccomp_rule_add(filter, SCMP_ACT_ALLOW, SCMP_SYS(pipe2), 0) != 0) {
        return false;
    }
#endif
    const auto self = static_cast<scmp_datum_t>(::getpid());
    // Threads, which libheif and dav1d start, but no new process. glibc
    // tries clone3 first, whose flags a filter cannot read, and falls back
    // to clone when it is missing.
    return seccomp_rule_add(
               filter, SCMP_ACT_ALLOW, SCMP_SYS(clone), 1, SCMP_A0(SCMP_CMP_MASKED_EQ, CLONE_THREAD, CLONE_THREAD))
        == 0
        && seccomp_rule_add(filter, SCMP_ACT_ERRNO(ENOSYS), SCMP_SYS(clone3), 0) == 0
        // abort() signals its own thread; no other process is reached.
        && seccomp_rule_add(filter, SCMP_ACT_ALLOW, SCMP_SYS(tgkill), 1, SCMP_A0(SCMP_CMP_EQ, self)) == 0
        && seccomp_rule_add(filter, SCMP_ACT_ALLOW, SCMP_SYS(prctl), 1, SCMP_A0(SCMP_CMP_EQ, PR_SET_NAME)) == 0
        // fstat() and Qt's statx() of a descriptor; a path is refused below.
        && seccomp_rule_add(filter, SCMP_ACT_ALLOW, SCMP_SYS(newfstatat), 1,
               SCMP_A3(SCMP_CMP_MASKED_EQ, AT_EMPTY_PATH, AT_EMPTY_PATH))
        == 0
        && seccomp_rule_add(
               filter, SCMP_ACT_ALLOW, SCMP_SYS(statx), 1, SCMP_A2(SCMP_CMP_MASKED_EQ, AT_EMPTY_PATH, AT_EMPTY_PATH))
        == 0;
}

// Libraries that look for a file or a terminal on their own get an error
// they handle, as on a system without it. With Landlock in force the kernel
// itself refuses every open; without it, the filter does.
bool refuseQuietly(scmp_filter_ctx filter, bool landlocked)
{
    const int eacces = SCMP_ACT_ERRNO(EACCES);
    bool done = seccomp_rule_add(filter, SCMP_ACT_ERRNO(ENOTTY), SCMP_SYS(ioctl), 0) == 0
        && seccomp_rule_add(filter, eacces, SCMP_SYS(newfstatat), 1, SCMP_A3(SCMP_CMP_MASKED_EQ, AT_EMPTY_PATH, 0)) == 0
        && seccomp_rule_add(filter, eacces, SCMP_SYS(statx), 1, SCMP_A2(SCMP_CMP_MASKED_EQ, AT_EMPTY_PATH, 0)) == 0;
    for (const int call : {SCMP_SYS(open), SCMP_SYS(openat)}) {
        done = done && seccomp_rule_add(filter, landlocked ? SCMP_ACT_ALLOW : eacces, call, 0) == 0;
    }
    for (const int call : {SCMP_SYS(access), SCMP_SYS(faccessat), SCMP_SYS(faccessat2), SCMP_SYS(readlink),
             SCMP_SYS(readlinkat), SCMP_SYS(stat), SCMP_SYS(lstat)}) {
        done = done && seccomp_rule_add(filter, eacces, call, 0) == 0;
    }
    return done && seccomp_rule_add(filter, SCMP_ACT_ERRNO(ENOSYS), SCMP_SYS(openat2), 0) == 0;
}

int restrictBySeccomp(bool landlocked)
{
    const scmp_filter_ctx filter = seccomp_init(SCMP_ACT_KILL_PROCESS);
    if (filter == nullptr) {
        return ENOMEM;
    }
    int result = EINVAL;
    // TSYNC puts every thread of the process under the filter.
    if (seccomp_attr_set(filter, SCMP_FLTATR_CTL_TSYNC, 1) == 0 && allowDecoding(filter)
        && refuseQuietly(filter, landlocked)) {
        result = -seccomp_load(filter);
    }
    seccomp_release(filter);
    return result;
}

// Landlock binds the calling thread only: a thread started earlier would
// stay outside it.
bool singleThreaded()
{
    return QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size() == 1;
}

// The soft limit of processor time sends SIGXCPU, the hard one SIGKILL;
// the second after is for a decoder that catches the first.
bool setLimit(int resource, rlim_t value)
{
    const rlimit limit{value, resource == RLIMIT_CPU ? value + 1 : value};
    return ::setrlimit(resource, &limit) == 0;
}

QString failed(const char *step, int error)
{
    return QCoreApplication::translate("confinement", "the decoder cannot be confined (%1: %2)")
        .arg(QLatin1String(step), errorText(error));
}

} // namespace

QString confine(const Limits &limits)
{
    if (!singleThreaded()) {
        return failed("threads", EBUSY);
    }
    // No core file of a crashed decoder, no file grown by it.
    if (!setLimit(RLIMIT_CORE, 0) || !setLimit(RLIMIT_FSIZE, 0)
        || !setLimit(RLIMIT_CPU, static_cast<rlim_t>(limits.cpuSeconds))
        || (limits.addressSpaceBytes > 0 && !setLimit(RLIMIT_AS, static_cast<rlim_t>(limits.addressSpaceBytes)))) {
        return failed("setrlimit", errno);
    }
    if (::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0) {
        return failed("no_new_privs", errno);
    }
    int error = 0;
    const Landlock landlock = restrictByLandlock(error);
    if (landlock == Landlock::Failed) {
        return failed("landlock", error);
    }
    if (const int sealed = restrictBySeccomp(landlock == Landlock::Enforced); sealed != 0) {
        return failed("seccomp", sealed);
    }
    return {};
}

} // namespace confinement
