// Runs a command as on a kernel without Landlock: its system calls answer
// ENOSYS, for the command and everything it starts.
// Usage: withoutlandlock COMMAND [ARG ...]
#include <seccomp.h>

#include <cerrno>
#include <cstdio>

#include <unistd.h>

int main(int argc, char *argv[])
{
    const scmp_filter_ctx filter = seccomp_init(SCMP_ACT_ALLOW);
    if (argc < 2 || filter == nullptr
        || seccomp_rule_add(filter, SCMP_ACT_ERRNO(ENOSYS), SCMP_SYS(landlock_create_ruleset), 0) != 0
        || seccomp_rule_add(filter, SCMP_ACT_ERRNO(ENOSYS), SCMP_SYS(landlock_restrict_self), 0) != 0
        || seccomp_load(filter) != 0) {
        std::fprintf(stderr, "withoutlandlock: cannot set up the filter\n");
        return 125;
    }
    ::execvp(argv[1], argv + 1);
    std::perror("withoutlandlock");
    return 127;
}
