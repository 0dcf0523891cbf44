#include "engine/Unprivileged.h"

#include <string>

#ifndef _WIN32
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace quillan::test {

std::string RunAsUnprivileged(const std::function<std::string()> &body)
{
#ifdef _WIN32
    return body();
#else
    if (::geteuid() != 0)
        return body();

    int fds[2];
    if (::pipe(fds) != 0)
        return "child failed: pipe";
    const pid_t pid = ::fork();
    if (pid < 0)
        return "child failed: fork";
    if (pid == 0) {
        ::close(fds[0]);
        std::string result;
        if (::setgid(65534) != 0 || ::setuid(65534) != 0)
            result = "child failed: could not drop privileges";
        else
            result = body();
        const char *p = result.data();
        size_t left = result.size();
        while (left > 0) {
            const ssize_t n = ::write(fds[1], p, left);
            if (n <= 0)
                break;
            p += n;
            left -= size_t(n);
        }
        ::close(fds[1]);
        ::_exit(0);
    }
    ::close(fds[1]);
    std::string result;
    char buffer[4096];
    ssize_t n;
    while ((n = ::read(fds[0], buffer, sizeof buffer)) > 0)
        result.append(buffer, size_t(n));
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return "child failed: status " + std::to_string(status);
    return result;
#endif
}

} // namespace quillan::test
