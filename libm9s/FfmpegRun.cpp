#include "FfmpegRun.h"

#include "LegacyOptions.h"

#include <cerrno>
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string_view>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif

namespace libm9s {

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

bool isExecutableFile(const std::string &path)
{
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0;
}

std::string ownFolder()
{
    char buf[4096];
    const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0)
        return {};
    std::string path(buf, static_cast<std::size_t>(n));
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

void writeAll(int fd, const char *p, std::size_t n)
{
    while (n > 0) {
        const ssize_t w = write(fd, p, n);
        if (w < 0) {
            if (errno == EINTR)
                continue;
            if (errno == EAGAIN) {
                pollfd pf{fd, POLLOUT, 0};
                poll(&pf, 1, 100);
                continue;
            }
            return; // reader gone: nothing more to tell it
        }
        p += w;
        n -= static_cast<std::size_t>(w);
    }
}

int signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const int saved = errno;
    const char c = 1;
    [[maybe_unused]] const ssize_t r = write(signalPipe[1], &c, 1);
    errno = saved;
}

void setNonBlocking(int fd) { fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK); }

// "00:03:25.40" as FFmpeg prints it; anything else is not a length.
bool isClockText(std::string_view v)
{
    int colons = 0, dots = 0;
    bool digitBefore = false;
    for (char c : v) {
        if (c >= '0' && c <= '9') {
            digitBefore = true;
            continue;
        }
        if (!digitBefore || (c != ':' && c != '.') || (c == ':' && dots > 0))
            return false;
        (c == ':' ? colons : dots)++;
        digitBefore = false;
    }
    return digitBefore && colons == 2 && dots == 1;
}

// Splits a byte stream into lines at "\n" and "\r" (FFmpeg's status line
// ends in "\r"), keeping at most a bounded tail.
class LineSplitter
{
public:
    template<typename F>
    void feed(const char *p, std::size_t n, F &&onLine)
    {
        for (std::size_t i = 0; i < n; ++i) {
            if (p[i] == '\n' || p[i] == '\r') {
                onLine(std::string_view(line_));
                line_.clear();
            } else if (line_.size() < 4096) {
                line_.push_back(p[i]);
            }
        }
    }

private:
    std::string line_;
};

enum class StopReason { Command, Signal, InputClosed };

class Supervisor
{
public:
    Supervisor(pid_t pid, int errFd, int progressFd)
        : pid_(pid), errFd_(errFd), progressFd_(progressFd)
    {
        struct stat st {};
        // Only a pipe, socket or terminal ending means "the parent is gone";
        // /dev/null or a file as input simply has nothing more to say.
        stdinEndStops_ = fstat(0, &st) == 0 && (S_ISFIFO(st.st_mode) || S_ISSOCK(st.st_mode) || isatty(0));
    }

    int run()
    {
        while (errFd_ >= 0 || progressFd_ >= 0) {
            pollfd fds[4];
            int n = 0;
            const auto add = [&](int fd) {
                if (fd >= 0)
                    fds[n++] = pollfd{fd, POLLIN, 0};
            };
            add(errFd_);
            add(progressFd_);
            add(stdinOpen_ ? 0 : -1);
            add(signalPipe[0]);
            poll(fds, static_cast<nfds_t>(n), timeoutMs());
            // Standard error first: the input's length is announced there and
            // must reach the reader before any time.
            for (int i = 0; i < n; ++i) {
                if (!(fds[i].revents & (POLLIN | POLLHUP | POLLERR)))
                    continue;
                if (fds[i].fd == errFd_)
                    readStderr();
                else if (fds[i].fd == progressFd_)
                    readProgress();
                else if (fds[i].fd == 0)
                    readStdin();
                else
                    readSignals();
            }
            checkClock();
        }
        int status = 0;
        while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
        }
        int code = 1;
        if (WIFEXITED(status))
            code = WEXITSTATUS(status);
        else if (WIFSIGNALED(status))
            code = 128 + WTERMSIG(status);
        // FFmpeg ends with 255 after the interrupt that asked it to finish;
        // the file it wrote is complete.
        if (stopping_ && !killed_ && WIFEXITED(status) && code == 255)
            code = 0;
        if (code == 0)
            showTime(); // the time of the finished file
        return code;
    }

private:
    static constexpr milliseconds markerPeriod{900};

    int timeoutMs() const
    {
        std::optional<Clock::time_point> due;
        if (durationShown_)
            due = lastMarker_ + markerPeriod;
        if (stopping_ && !killed_ && (!due || stopDeadline_ < *due))
            due = stopDeadline_;
        if (!due)
            return -1;
        const auto left = std::chrono::duration_cast<milliseconds>(*due - Clock::now()).count();
        return left < 0 ? 0 : static_cast<int>(left) + 1;
    }

    void checkClock()
    {
        const auto now = Clock::now();
        if (stopping_ && !killed_ && now >= stopDeadline_) {
            kill(pid_, SIGKILL);
            killed_ = true;
        }
        if (durationShown_ && now - lastMarker_ >= markerPeriod)
            showTime();
    }

    bool drain(int &fd, char *buf, std::size_t size, ssize_t &got)
    {
        got = read(fd, buf, size);
        if (got > 0)
            return true;
        if (got < 0 && (errno == EINTR || errno == EAGAIN))
            return false;
        close(fd);
        fd = -1;
        return false;
    }

    void readStderr()
    {
        char buf[65536];
        ssize_t got = 0;
        if (!drain(errFd_, buf, sizeof buf, got))
            return;
        writeAll(2, buf, static_cast<std::size_t>(got));
        if (durationShown_)
            return;
        errLines_.feed(buf, static_cast<std::size_t>(got), [this](std::string_view line) {
            // The input's summary: "  Duration: ..." comes after the file's
            // name and metadata (those indented further) and right before
            // its streams. The last such line before the first stream is the
            // real one, whatever a name with a line break in it may print.
            static constexpr std::string_view prefix = "  Duration: ";
            if (durationShown_)
                return;
            if (line.starts_with(prefix)) {
                line.remove_prefix(prefix.size());
                line = line.substr(0, line.find(','));
                inputDuration_ = isClockText(line) ? line : "00:00:00.00";
            } else if (!inputDuration_.empty() &&
                       (line.starts_with("  Stream #") || line.starts_with("Stream mapping:") || line.starts_with("Output #"))) {
                showDuration();
            }
        });
    }

    void readProgress()
    {
        char buf[8192];
        ssize_t got = 0;
        if (!drain(progressFd_, buf, sizeof buf, got))
            return;
        progressLines_.feed(buf, static_cast<std::size_t>(got), [this](std::string_view line) {
            if (line.starts_with("out_time_us=")) {
                line.remove_prefix(12);
                char *end = nullptr;
                const std::string v(line);
                const long long us = std::strtoll(v.c_str(), &end, 10);
                if (end != v.c_str() && *end == '\0')
                    outTimeUs_ = us < 0 ? 0 : us;
            } else if (line.starts_with("progress=")) {
                showTime();
            }
        });
    }

    void readStdin()
    {
        char buf[4096];
        const ssize_t got = read(0, buf, sizeof buf);
        if (got < 0 && errno == EINTR)
            return;
        if (got <= 0) {
            stdinOpen_ = false;
            if (stdinEndStops_)
                stop(StopReason::InputClosed);
            return;
        }
        stdinLines_.feed(buf, static_cast<std::size_t>(got), [this](std::string_view line) {
            while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
                line.remove_prefix(1);
            while (!line.empty() && (line.back() == ' ' || line.back() == '\t'))
                line.remove_suffix(1);
            if (line == "q" || line == "Q" || line == "quit" || line == "QUIT")
                stop(StopReason::Command);
        });
    }

    void readSignals()
    {
        char buf[64];
        while (read(signalPipe[0], buf, sizeof buf) > 0) {
        }
        stop(StopReason::Signal);
    }

    // An interrupt makes FFmpeg finish the file as it stands (trailer and
    // index written), so the result plays. Someone waiting for us gets us
    // back within a second; with nobody left to wait, FFmpeg may take longer.
    void stop(StopReason why)
    {
        const auto grace = why == StopReason::InputClosed ? milliseconds(5000) : milliseconds(900);
        const auto deadline = Clock::now() + grace;
        if (!stopping_) {
            stopping_ = true;
            kill(pid_, SIGINT);
            stopDeadline_ = deadline;
        } else if (deadline < stopDeadline_) {
            stopDeadline_ = deadline;
        }
    }

    void showDuration()
    {
        durationShown_ = true;
        const std::string m = "ffmpeg_release_duration=" + (inputDuration_.empty() ? "00:00:00.00" : inputDuration_) +
                              "=ffmpeg_release_duration\n";
        writeAll(1, m.data(), m.size());
        lastMarker_ = Clock::now();
    }

    void showTime()
    {
        if (!durationShown_)
            showDuration();
        char m[96];
        const int len = std::snprintf(m, sizeof m, "ffmpeg_release_time=%lld.%02lld=ffmpeg_release_time\n",
                                      outTimeUs_ / 1000000, outTimeUs_ % 1000000 / 10000);
        writeAll(1, m, static_cast<std::size_t>(len));
        lastMarker_ = Clock::now();
    }

    pid_t pid_;
    int errFd_, progressFd_;
    bool stdinOpen_ = true, stdinEndStops_ = false;
    bool durationShown_ = false, stopping_ = false, killed_ = false;
    long long outTimeUs_ = 0;
    std::string inputDuration_;
    Clock::time_point lastMarker_{}, stopDeadline_{};
    LineSplitter errLines_, progressLines_, stdinLines_;
};

} // namespace

std::string findFfmpeg()
{
    const std::string here = ownFolder();
    if (!here.empty() && isExecutableFile(here + "/ffmpeg"))
        return here + "/ffmpeg";
    const char *env = std::getenv("PATH");
    const std::string path = env ? env : "/usr/local/bin:/usr/bin:/bin";
    std::size_t from = 0;
    while (from <= path.size()) {
        std::size_t to = path.find(':', from);
        if (to == std::string::npos)
            to = path.size();
        const std::string dir = to == from ? std::string(".") : path.substr(from, to - from);
        if (isExecutableFile(dir + "/ffmpeg"))
            return dir + "/ffmpeg";
        from = to + 1;
    }
    return {};
}

int runFfmpeg(const std::string &ffmpeg, const std::vector<std::string> &args)
{
    signal(SIGPIPE, SIG_IGN);
    if (pipe2(signalPipe, O_CLOEXEC) != 0) {
        std::perror("libm9s.exe: pipe");
        return 1;
    }
    setNonBlocking(signalPipe[0]);
    setNonBlocking(signalPipe[1]);
    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sa.sa_flags = SA_RESTART;
    sigemptyset(&sa.sa_mask);
    for (int s : {SIGINT, SIGTERM, SIGHUP})
        sigaction(s, &sa, nullptr);

    int errPipe[2], progressPipe[2];
    if (pipe2(errPipe, O_CLOEXEC) != 0 || pipe2(progressPipe, O_CLOEXEC) != 0) {
        std::perror("libm9s.exe: pipe");
        return 1;
    }
    std::vector<char *> argv;
    argv.push_back(const_cast<char *>(ffmpeg.c_str()));
    for (const std::string &a : args)
        argv.push_back(const_cast<char *>(a.c_str()));
    argv.push_back(nullptr);

    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid < 0) {
        std::perror("libm9s.exe: fork");
        return 1;
    }
    if (pid == 0) {
#ifdef __linux__
        // If we are killed, FFmpeg is told to finish rather than left running.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
#endif
        if (getppid() != parent)
            _exit(1);
        for (int s : {SIGINT, SIGTERM, SIGHUP, SIGPIPE})
            signal(s, SIG_DFL);
        // Our standard input carries the stop commands; FFmpeg gets none.
        const int devnull = open("/dev/null", O_RDONLY | O_CLOEXEC);
        if (devnull >= 0)
            dup2(devnull, 0);
        dup2(errPipe[1], 2);
        if (progressPipe[1] == ProgressFd)
            fcntl(ProgressFd, F_SETFD, 0);
        else
            dup2(progressPipe[1], ProgressFd);
        execv(ffmpeg.c_str(), argv.data());
        const std::string msg = "libm9s.exe: cannot run " + ffmpeg + ": " + std::strerror(errno) + "\n";
        writeAll(2, msg.data(), msg.size());
        _exit(127);
    }
    close(errPipe[1]);
    close(progressPipe[1]);
    setNonBlocking(errPipe[0]);
    setNonBlocking(progressPipe[0]);
    return Supervisor(pid, errPipe[0], progressPipe[0]).run();
}

} // namespace libm9s
