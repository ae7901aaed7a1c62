// Seconds from just before a program is started to its first presented frame,
// as recorded by the first-frame shim preloaded into it.
//   startup_timer SHIM TIMEOUT_S PROGRAM [ARGUMENTS...]
// Prints the seconds on one line; exits 1 if no frame came within the timeout.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

namespace {

constexpr int POLL_PAUSE_US = 2000;

double secondsOf(const timespec& t) { return static_cast<double>(t.tv_sec) + t.tv_nsec / 1e9; }

// The child takes the time right before exec and hands it over through a pipe
// that exec closes.
pid_t startTimed(char** argv, double& startedAt)
{
    int channel[2];
    if (pipe2(channel, O_CLOEXEC) != 0)
        return -1;
    const pid_t child = fork();
    if (child == 0) {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        if (write(channel[1], &now, sizeof now) != sizeof now)
            _exit(127);
        execvp(argv[0], argv);
        _exit(127);
    }
    close(channel[1]);
    timespec started{};
    const bool handedOver = child > 0 && read(channel[0], &started, sizeof started) == sizeof started;
    close(channel[0]);
    startedAt = secondsOf(started);
    return handedOver ? child : -1;
}

// False if the program still ran when the time was up (it is killed then).
bool waitUntilEnded(pid_t child, double timeoutS)
{
    const int polls = static_cast<int>(timeoutS * 1e6 / POLL_PAUSE_US);
    int status = 0;
    for (int i = 0; i < polls; ++i) {
        if (waitpid(child, &status, WNOHANG) == child)
            return true;
        usleep(POLL_PAUSE_US);
    }
    kill(child, SIGKILL);
    waitpid(child, &status, 0);
    return false;
}

bool readStamp(const std::string& path, double& stamp)
{
    FILE* in = std::fopen(path.c_str(), "r");
    if (!in)
        return false;
    const bool ok = std::fscanf(in, "%lf", &stamp) == 1;
    std::fclose(in);
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: startup_timer SHIM TIMEOUT_S PROGRAM [ARGUMENTS...]\n");
        return 2;
    }
    char stampPath[] = "/tmp/zentavor-first-frame.XXXXXX";
    const int stampFile = mkstemp(stampPath);
    if (stampFile < 0)
        return 2;
    close(stampFile);
    unlink(stampPath);
    setenv("ZENTAVOR_FIRST_FRAME_FILE", stampPath, 1);
    setenv("LD_PRELOAD", argv[1], 1);
    double startedAt = 0;
    const pid_t child = startTimed(argv + 3, startedAt);
    const bool ended = child > 0 && waitUntilEnded(child, std::atof(argv[2]));
    double framedAt = 0;
    const bool framed = ended && readStamp(stampPath, framedAt);
    unlink(stampPath);
    if (!framed) {
        std::fprintf(stderr, "startup_timer: no frame was presented\n");
        return 1;
    }
    std::printf("%.4f\n", framedAt - startedAt);
    return 0;
}
