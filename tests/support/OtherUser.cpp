#include "support/OtherUser.h"

#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

namespace nagitori::test {

std::optional<bool> RunAsNobody(const std::function<bool()>& check) {
    if (::geteuid() != 0) {
        return std::nullopt;
    }
    const passwd* nobody = ::getpwnam("nobody");
    const uid_t uid = nobody != nullptr ? nobody->pw_uid : 65534;
    const gid_t gid = nobody != nullptr ? nobody->pw_gid : 65534;
    const pid_t pid = ::fork();
    if (pid == 0) {
        const bool switched = ::setgroups(0, nullptr) == 0 && ::setgid(gid) == 0 && ::setuid(uid) == 0;
        ::_exit(switched && check() ? 0 : 1);
    }
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid) {
        return false;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace nagitori::test
