// Runs a command as on a kernel whose Landlock calls fail with ERRNO: ENOSYS
// as without Landlock, EPERM as where it is denied. It holds for the
// command and everything it starts.
// Usage: landlockerror ENOSYS|EPERM COMMAND [ARG ...]
#include <seccomp.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <unistd.h>

int main(int argc, char *argv[])
{
    const int error = argc > 2 && std::strcmp(argv[1], "EPERM") == 0 ? EPERM : ENOSYS;
    const scmp_filter_ctx filter = seccomp_init(SCMP_ACT_ALLOW);
    if (argc < 3 || filter == nullptr
        || seccomp_rule_add(filter, SCMP_ACT_ERRNO(error), SCMP_SYS(landlock_create_ruleset), 0) != 0
        || seccomp_rule_add(filter, SCMP_ACT_ERRNO(error), SCMP_SYS(landlock_restrict_self), 0) != 0
        || seccomp_load(filter) != 0) {
        std::fprintf(stderr, "landlockerror: cannot set up the filter\n");
        return 125;
    }
    ::execvp(argv[2], argv + 2);
    std::perror("landlockerror");
    return 127;
}
