#pragma once
// Finds and runs ffmpeg, passes its messages through, reports progress with
// Zendrel's markers and stops it cleanly on request.

#include <string>
#include <vector>

namespace libm9s {

// ffmpeg beside this program first, then on the PATH; empty when missing.
std::string findFfmpeg();

// Runs ffmpeg with args (program name not included) and returns the exit
// code for this program: 0 for a finished or cleanly stopped conversion.
int runFfmpeg(const std::string &ffmpeg, const std::vector<std::string> &args);

} // namespace libm9s
