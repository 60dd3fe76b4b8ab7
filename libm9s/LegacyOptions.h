#pragma once
// Turns the classic option words that Zendrel sends into an argument list
// for a current FFmpeg (5.1).

#include <stdexcept>
#include <string>
#include <vector>

namespace libm9s {

// A command that cannot be run as given; the text says why, in one line.
struct UsageError : std::runtime_error
{
    using std::runtime_error::runtime_error;
};

struct Translation
{
    // Arguments for ffmpeg, without the program name.
    std::vector<std::string> args;
    // One-line remarks for standard error (choices made on the user's behalf).
    std::vector<std::string> notes;
};

// The descriptor that receives ffmpeg's machine-readable progress.
inline constexpr int ProgressFd = 3;

// Throws UsageError before anything runs when the words cannot be honoured.
Translation translateArguments(const std::vector<std::string> &words);

} // namespace libm9s
