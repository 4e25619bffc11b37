#include "platform/db/MdbChild.h"

#include <csignal>
#include <cstring>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/db/Database.h"

namespace {

int StartPipe(int fds[2])
{
    if (::pipe2(fds, O_CLOEXEC) != 0)
        throw CDatabaseError(std::string("Unable to start the Access file reader: ") + std::strerror(errno) + ".");
    return fds[0];
}

} // namespace

CMdbChild::CMdbChild(const std::function<void(CWireWriter&)>& work, int stallSeconds)
    : m_reader(-1, stallSeconds)
{
    int fds[2];
    StartPipe(fds);
    m_pid = ::fork();
    if (m_pid < 0) {
        const int error = errno;
        ::close(fds[0]);
        ::close(fds[1]);
        throw CDatabaseError(std::string("Unable to start the Access file reader: ") + std::strerror(error) + ".");
    }
    if (m_pid == 0) {
        // The reader: answer, then leave at once, running none of the
        // program's exit handlers or destructors.
        ::close(fds[0]);
        ::signal(SIGPIPE, SIG_DFL);
        const int devNull = ::open("/dev/null", O_WRONLY);
        if (devNull >= 0)
            ::dup2(devNull, STDERR_FILENO);
        try {
            CWireWriter out(fds[1]);
            work(out);
        } catch (...) {
            ::_exit(3);
        }
        ::_exit(0);
    }
    ::close(fds[1]);
    m_fd = fds[0];
    m_reader = CWireReader(m_fd, stallSeconds);
}

CMdbChild::~CMdbChild()
{
    Finish();
}

std::string CMdbChild::Finish()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (m_pid <= 0)
        return "it had ended";
    // A reader that has answered is ending by itself; one still reading is
    // not needed any more.
    ::kill(m_pid, SIGKILL);
    int status = 0;
    while (::waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
    }
    m_pid = -1;
    if (WIFSIGNALED(status)) {
        const int signal = WTERMSIG(status);
        return signal == SIGKILL ? "it was stopped" : "it crashed (signal " + std::to_string(signal) + ")";
    }
    return "it stopped with status " + std::to_string(WEXITSTATUS(status));
}
