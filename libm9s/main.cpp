// libm9s.exe: Zendrel's encoder program. Takes the classic option words of
// Zendrel's job command, runs Debian's ffmpeg with their modern equivalents
// and reports progress as marker lines on standard output.
#include "FfmpegRun.h"
#include "LegacyOptions.h"

#include <cstdio>
#include <fcntl.h>
#include <string>
#include <unistd.h>
#include <vector>

int main(int argc, char **argv)
{
    // Closed standard descriptors would be reused by our pipes and confuse
    // what ffmpeg inherits.
    for (int fd = 0; fd <= 2; ++fd)
        if (fcntl(fd, F_GETFD) < 0)
            open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);

    const std::vector<std::string> words(argv + 1, argv + argc);
    libm9s::Translation t;
    try {
        t = libm9s::translateArguments(words);
    } catch (const libm9s::UsageError &e) {
        std::fprintf(stderr, "libm9s.exe: %s\n", e.what());
        return 2;
    }
    const std::string ffmpeg = libm9s::findFfmpeg();
    if (ffmpeg.empty()) {
        std::fprintf(stderr, "libm9s.exe: ffmpeg is missing: it is neither beside libm9s.exe nor on the PATH "
                             "(install Debian's ffmpeg package)\n");
        return 127;
    }
    for (const std::string &note : t.notes)
        std::fprintf(stderr, "libm9s.exe: %s\n", note.c_str());
    std::fflush(stderr);
    return libm9s::runFfmpeg(ffmpeg, t.args);
}
