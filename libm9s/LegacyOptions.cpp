#include "LegacyOptions.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>

namespace libm9s {

namespace {

std::string lower(std::string_view s)
{
    std::string r(s);
    std::transform(r.begin(), r.end(), r.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return r;
}

bool allOf(std::string_view s, int (*pred)(int))
{
    return !s.empty() && std::all_of(s.begin(), s.end(), [pred](unsigned char c) { return pred(c) != 0; });
}

// Everything one command asks for, gathered before the ffmpeg words are laid out.
struct Job
{
    std::string input, output;
    bool haveInput = false, haveOutput = false;
    bool overwrite = false, disableVideo = false, disableAudio = false, deinterlace = false;
    std::string format, start, duration, videoCodec, audioCodec, videoTag, frameSize, padColor, motionEst;
    long cropTop = 0, cropBottom = 0, padTop = 0, padBottom = 0, padLeft = 0, padRight = 0;
    std::string videoFlags; // "+mv4+aic..." for -flags:v
    std::vector<std::string> globalOpts, inputOpts, outputOpts, videoOpts, audioOpts, metadata;
};

using Apply = void (*)(Job &, const std::string &);

struct Rule
{
    std::string_view name;
    bool takesValue;
    Apply apply;
};

[[noreturn]] void noEquivalent(std::string_view name, std::string_view why)
{
    throw UsageError("option -" + std::string(name) + " is not supported: " + std::string(why));
}

// Bit rates arrive as the box text with "k" appended; "800k" and "1.5M" are
// fine, "800kk" (a typed unit plus the appended one) is not.
std::string bitRate(std::string_view what, const std::string &v)
{
    std::size_t i = 0;
    while (i < v.size() && std::isdigit(static_cast<unsigned char>(v[i])))
        ++i;
    bool ok = i > 0;
    if (ok && i < v.size() && v[i] == '.') {
        const std::size_t f = ++i;
        while (i < v.size() && std::isdigit(static_cast<unsigned char>(v[i])))
            ++i;
        ok = i > f;
    }
    if (ok && i < v.size() && std::string_view("kKMG").find(v[i]) != std::string_view::npos)
        ++i;
    if (!ok || i != v.size())
        throw UsageError("invalid " + std::string(what) + " bit rate \"" + v +
                         "\": expected a number with an optional k, M or G, such as 800k");
    return v;
}

long pixels(std::string_view name, const std::string &v)
{
    if (!allOf(v, ::isdigit) || v.size() > 5)
        throw UsageError("invalid value \"" + v + "\" for -" + std::string(name) + ": expected a number of pixels");
    return std::stol(v);
}

// Values that end up inside a filter description must not be able to add
// filters of their own.
std::string padColor(const std::string &v)
{
    std::string_view hex = v;
    if (hex.starts_with('#'))
        hex.remove_prefix(1);
    else if (hex.starts_with("0x") || hex.starts_with("0X"))
        hex.remove_prefix(2);
    if ((hex.size() == 6 || hex.size() == 8) && allOf(hex, ::isxdigit))
        return "0x" + std::string(hex);
    if (allOf(v, ::isalpha))
        return v;
    throw UsageError("invalid pad colour \"" + v + "\": expected RRGGBB in hexadecimal or a colour name");
}

std::string frameSizeForFilter(const std::string &v)
{
    if (!allOf(v, ::isalnum))
        throw UsageError("invalid frame size \"" + v + "\": expected WIDTHxHEIGHT, such as 320x240");
    return v;
}

// Error resilience levels of the classic encoder, as decoder error-detection flags.
std::string errorDetect(const std::string &v)
{
    static constexpr std::array<std::string_view, 5> levels = {"0", "careful", "compliant", "aggressive", "aggressive"};
    if (v.size() == 1 && v[0] >= '0' && v[0] <= '4')
        return std::string(levels[static_cast<std::size_t>(v[0] - '0')]);
    throw UsageError("invalid value \"" + v + "\" for -er: expected 0 to 4");
}

// Classic codec names that FFmpeg now spells differently.
std::string encoderName(const std::string &v)
{
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 9> aliases = {{
        {"mp3", "libmp3lame"},
        {"vorbis", "libvorbis"},
        {"h264", "libx264"},
        {"x264", "libx264"},
        {"theora", "libtheora"},
        {"xvid", "libxvid"},
        {"vp8", "libvpx"},
        {"vp9", "libvpx-vp9"},
        {"opus", "libopus"},
    }};
    const std::string l = lower(v);
    for (const auto &[from, to] : aliases)
        if (l == from)
            return std::string(to);
    return v;
}

void addFlag(Job &j, std::string_view flags) { j.videoFlags += flags; }

void push(std::vector<std::string> &v, std::string_view opt, const std::string &value)
{
    v.emplace_back(opt);
    v.push_back(value);
}

// Rows of the classic option table, in the order Zendrel emits them.
constexpr std::array<Rule, 83> rules = {{
    {"i", true, [](Job &j, const std::string &v) { j.input = v; j.haveInput = true; }},
    {"y", false, [](Job &j, const std::string &) { j.overwrite = true; }},
    {"f", true, [](Job &j, const std::string &v) { j.format = v; }},
    {"t", true, [](Job &j, const std::string &v) { j.duration = v; }},
    {"ss", true, [](Job &j, const std::string &v) { j.start = v; }},
    {"vn", false, [](Job &j, const std::string &) { j.disableVideo = true; }},
    {"title", true, [](Job &j, const std::string &v) { j.metadata.push_back("title=" + v); }},
    {"author", true, [](Job &j, const std::string &v) { j.metadata.push_back("artist=" + v); }},
    {"copyright", true, [](Job &j, const std::string &v) { j.metadata.push_back("copyright=" + v); }},
    {"comment", true, [](Job &j, const std::string &v) { j.metadata.push_back("comment=" + v); }},
    {"target", true, [](Job &j, const std::string &v) { push(j.outputOpts, "-target", v); }},
    {"hq", false, [](Job &, const std::string &) { noEquivalent("hq", "FFmpeg has no high-quality switch any more; use -mdb 2"); }},
    {"itsoffset", true, [](Job &j, const std::string &v) { push(j.inputOpts, "-itsoffset", v); }},
    {"b", true, [](Job &j, const std::string &v) { push(j.videoOpts, "-b:v", bitRate("video", v)); }},
    {"r", true, [](Job &j, const std::string &v) { push(j.videoOpts, "-r", v); }},
    {"s", true, [](Job &j, const std::string &v) { j.frameSize = v; }},
    {"aspect", true, [](Job &j, const std::string &v) { push(j.videoOpts, "-aspect", v); }},
    {"croptop", true, [](Job &j, const std::string &v) { j.cropTop = pixels("croptop", v); }},
    {"cropbottom", true, [](Job &j, const std::string &v) { j.cropBottom = pixels("cropbottom", v); }},
    {"padtop", true, [](Job &j, const std::string &v) { j.padTop = pixels("padtop", v); }},
    {"padbottom", true, [](Job &j, const std::string &v) { j.padBottom = pixels("padbottom", v); }},
    {"padleft", true, [](Job &j, const std::string &v) { j.padLeft = pixels("padleft", v); }},
    {"padright", true, [](Job &j, const std::string &v) { j.padRight = pixels("padright", v); }},
    {"padcolor", true, [](Job &j, const std::string &v) { j.padColor = padColor(v); }},
    {"bt", true, [](Job &j, const std::string &v) { push(j.videoOpts, "-bt:v", bitRate("tolerance", v)); }},
    {"maxrate", true, [](Job &j, const std::string &v) { push(j.videoOpts, "-maxrate:v", bitRate("maximum", v)); }},
    {"minrate", true, [](Job &j, const std::string &v) { push(j.videoOpts, "-minrate:v", bitRate("minimum", v)); }},
    {"bufsize", true, [](Job &j, const std::string &v) { push(j.videoOpts, "-bufsize:v", bitRate("buffer", v)); }},
    {"vcodec", true, [](Job &j, const std::string &v) { j.videoCodec = encoderName(v); }},
    {"sameq", false, [](Job &, const std::string &) { noEquivalent("sameq", "FFmpeg removed same-quality encoding; use -qscale"); }},
    {"pass", true, [](Job &j, const std::string &v) { push(j.videoOpts, "-pass", v); }},
    {"passlogfile", true, [](Job &j, const std::string &v) { push(j.videoOpts, "-passlogfile", v); }},
    {"g", true, [](Job &j, const std::string &v) { push(j.videoOpts, "-g:v", v); }},
    {"intra", false, [](Job &j, const std::string &) { push(j.videoOpts, "-g:v", "1"); }},
    {"qscale", true, [](Job &j, const std::string &v) { push(j.videoOpts, "-q:v", v); }},
    {"qmin", true, [](Job &j, const std::string &v) { push(j.videoOpts, "-qmin:v", v); }},
    {"qmax", true, [](Job &j, const std::string &v) { push(j.videoOpts, "-qmax:v", v); }},
    {"qdiff", true, [](Job &j, const std::string &v) { push(j.videoOpts, "-qdiff:v", v); }},
    {"qblur", true, [](Job &j, const std::string &v) { push(j.videoOpts, "-qblur:v", v); }},
    {"qcomp", true, [](Job &j, const std::string &v) { push(j.videoOpts, "-qcomp:v", v); }},
    {"rc_init_cplx", true, [](Job &j, const std::string &v) { push(j.videoOpts, "-rc_init_cplx:v", v); }},
    {"b_qfactor", true, [](Job &j, const std::string &v) { push(j.videoOpts, "-b_qfactor:v", v); }},
    {"i_qfactor", true, [](Job &j, const std::string &v) { push(j.videoOpts, "-i_qfactor:v", v); }},
    {"b_qoffset", true, [](Job &j, const std::string &v) { push(j.videoOpts, "-b_qoffset:v", v); }},
    {"i_qoffset", true, [](Job &j, const std::string &v) { push(j.videoOpts, "-i_qoffset:v", v); }},
    {"rc_eq", true, [](Job &j, const std::string &v) { push(j.videoOpts, "-rc_eq:v", v); }},
    {"me", true, [](Job &j, const std::string &v) { j.motionEst = v; }},
    {"dct_algo", true, [](Job &j, const std::string &v) { push(j.videoOpts, "-dct:v", v); }},
    {"idct_algo", true, [](Job &j, const std::string &v) { push(j.videoOpts, "-idct:v", v); }},
    {"er", true, [](Job &j, const std::string &v) { push(j.inputOpts, "-err_detect", errorDetect(v)); }},
    {"ec", true, [](Job &j, const std::string &v) { push(j.inputOpts, "-ec", v); }},
    {"bf", true, [](Job &j, const std::string &v) { push(j.videoOpts, "-bf:v", v); }},
    {"mdb", true, [](Job &j, const std::string &v) { push(j.videoOpts, "-mbd:v", v); }},
    {"4mv", false, [](Job &j, const std::string &) { addFlag(j, "+mv4"); }},
    {"part", false, [](Job &j, const std::string &) { push(j.videoOpts, "-data_partitioning:v", "1"); }},
    {"bug", true, [](Job &j, const std::string &v) { push(j.inputOpts, "-bug", v); }},
    {"strict", true, [](Job &j, const std::string &v) { push(j.outputOpts, "-strict", v); }},
    {"aic", false, [](Job &j, const std::string &) { addFlag(j, "+aic"); }},
    {"umv", false, [](Job &j, const std::string &) { push(j.videoOpts, "-umv:v", "1"); }},
    {"deinterlace", false, [](Job &j, const std::string &) { j.deinterlace = true; }},
    {"interlace", false, [](Job &j, const std::string &) { addFlag(j, "+ilme+ildct"); }},
    {"psnr", false, [](Job &j, const std::string &) { j.globalOpts.emplace_back("-psnr"); }},
    {"vstats", false, [](Job &j, const std::string &) { j.globalOpts.emplace_back("-vstats"); }},
    {"vhook", true, [](Job &, const std::string &) { noEquivalent("vhook", "FFmpeg replaced video hooks with filters"); }},
    {"vtag", true, [](Job &j, const std::string &v) { j.videoTag = v; }},
    {"ab", true, [](Job &j, const std::string &v) { push(j.audioOpts, "-b:a", bitRate("audio", v)); }},
    {"ar", true, [](Job &j, const std::string &v) { push(j.audioOpts, "-ar", v); }},
    {"ac", true, [](Job &j, const std::string &v) { push(j.audioOpts, "-ac", v); }},
    {"an", false, [](Job &j, const std::string &) { j.disableAudio = true; }},
    {"acodec", true, [](Job &j, const std::string &v) { j.audioCodec = encoderName(v); }},
    {"vd", true, [](Job &, const std::string &) { noEquivalent("vd", "capture devices are not converted from"); }},
    {"vc", true, [](Job &, const std::string &) { noEquivalent("vc", "capture devices are not converted from"); }},
    {"tvstd", true, [](Job &, const std::string &) { noEquivalent("tvstd", "capture devices are not converted from"); }},
    {"dv1394", false, [](Job &, const std::string &) { noEquivalent("dv1394", "FFmpeg no longer grabs from DV1394 this way"); }},
    {"av", true, [](Job &, const std::string &) { noEquivalent("av", "capture devices are not converted from"); }},
    {"map", true, [](Job &j, const std::string &v) { push(j.outputOpts, "-map", v); }},
    {"debug", false, [](Job &j, const std::string &) { push(j.globalOpts, "-loglevel", "debug"); }},
    {"benchmark", false, [](Job &j, const std::string &) { j.globalOpts.emplace_back("-benchmark"); }},
    {"hex", false, [](Job &j, const std::string &) { j.globalOpts.emplace_back("-hex"); }},
    {"bitexact", false, [](Job &j, const std::string &) { j.outputOpts.emplace_back("-bitexact"); }},
    {"ps", true, [](Job &j, const std::string &v) { push(j.outputOpts, "-packetsize", v); }},
    {"re", false, [](Job &j, const std::string &) { j.inputOpts.emplace_back("-re"); }},
    {"loop", false, [](Job &, const std::string &) { noEquivalent("loop", "looping the input would never end the conversion"); }},
}};

const Rule *findRule(const std::string &word)
{
    if (word.size() < 2 || word[0] != '-')
        return nullptr;
    const std::string_view name = std::string_view(word).substr(1);
    for (const Rule &r : rules)
        if (r.name == name)
            return &r;
    return nullptr;
}

// True when words[from..] are all known options with their values; this is
// how an output path that starts with "-" is told from a misspelt option.
bool onlyOptionsFrom(const std::vector<std::string> &words, std::size_t from)
{
    for (std::size_t i = from; i < words.size();) {
        const Rule *r = findRule(words[i]);
        if (!r || (r->takesValue && i + 1 >= words.size()))
            return false;
        i += r->takesValue ? 2 : 1;
    }
    return true;
}

// Tags that name MPEG-4 Part 2 video: written only on video of that kind.
bool isMpeg4Part2Tag(const std::string &tag)
{
    static constexpr std::array<std::string_view, 6> tags = {"mp4s", "m4s2", "xvid", "divx", "dx50", "fmp4"};
    const std::string l = lower(tag);
    return std::find(tags.begin(), tags.end(), l) != tags.end();
}

void addVideo(const Job &j, Translation &t)
{
    std::vector<std::string> &a = t.args;
    std::string codec = j.videoCodec;
    bool writeTag = !j.videoTag.empty();
    if (writeTag && isMpeg4Part2Tag(j.videoTag)) {
        if (codec.empty()) {
            codec = "mpeg4";
        } else if (codec != "mpeg4" && codec != "libxvid") {
            writeTag = false;
            t.notes.push_back("video tag " + j.videoTag + " names MPEG-4 video, not " + codec +
                              "; the codec's own tag is written instead");
        }
    }
    if (!codec.empty())
        push(a, "-c:v", codec);
    if (writeTag)
        push(a, "-tag:v", j.videoTag);

    // Classic order: crop the source, scale it to the frame size, then pad around it.
    std::vector<std::string> filters;
    if (j.deinterlace)
        filters.emplace_back("yadif");
    if (j.cropTop || j.cropBottom)
        filters.push_back("crop=iw:ih-" + std::to_string(j.cropTop + j.cropBottom) + ":0:" + std::to_string(j.cropTop));
    const bool pad = j.padTop || j.padBottom || j.padLeft || j.padRight;
    std::string size = j.frameSize;
    if (!size.empty() && pad) {
        filters.push_back("scale=s=" + frameSizeForFilter(size));
        size.clear();
    }
    if (pad)
        filters.push_back("pad=iw+" + std::to_string(j.padLeft + j.padRight) + ":ih+" +
                          std::to_string(j.padTop + j.padBottom) + ":" + std::to_string(j.padLeft) + ":" +
                          std::to_string(j.padTop) + ":color=" + (j.padColor.empty() ? "black" : j.padColor));
    if (!filters.empty()) {
        std::string chain;
        for (const std::string &f : filters)
            chain += (chain.empty() ? "" : ",") + f;
        push(a, "-vf", chain);
    }
    if (!size.empty())
        push(a, "-s", size);
    if (!j.videoFlags.empty())
        push(a, "-flags:v", j.videoFlags);
    if (!j.motionEst.empty()) {
        // x264 names its search methods itself; FFmpeg's own encoders call
        // the classic "x1" method "xone".
        if (codec == "libx264")
            push(a, "-me_method", j.motionEst);
        else
            push(a, "-motion_est", j.motionEst == "x1" ? "xone" : j.motionEst);
    }
    a.insert(a.end(), j.videoOpts.begin(), j.videoOpts.end());
}

} // namespace

Translation translateArguments(const std::vector<std::string> &words)
{
    Job j;
    for (std::size_t i = 0; i < words.size();) {
        const std::string &w = words[i];
        if (const Rule *r = findRule(w)) {
            if (r->takesValue && i + 1 >= words.size())
                throw UsageError("option " + w + " needs a value");
            r->apply(j, r->takesValue ? words[i + 1] : std::string());
            i += r->takesValue ? 2 : 1;
            continue;
        }
        if (j.haveOutput)
            throw UsageError(w.starts_with('-') ? "unknown option " + w
                                                : "more than one output file: \"" + j.output + "\" and \"" + w + "\"");
        if (w.starts_with('-') && !onlyOptionsFrom(words, i + 1))
            throw UsageError("unknown option " + w);
        j.output = w;
        j.haveOutput = true;
        ++i;
    }
    if (!j.haveInput || j.input.empty())
        throw UsageError("no input file given (-i FILE)");
    if (!j.haveOutput || j.output.empty())
        throw UsageError("no output file given (it follows the options)");

    Translation t;
    std::vector<std::string> &a = t.args;
    a = {"-nostdin", "-progress", "pipe:" + std::to_string(ProgressFd)};
    a.insert(a.end(), j.globalOpts.begin(), j.globalOpts.end());
    if (j.overwrite)
        a.emplace_back("-y");

    // The start is sought on the input side: a late segment of a long file
    // is reached without decoding everything before it, and FFmpeg's
    // accurate seek still starts on the same frame as seeking on the output
    // side. The length stays an output limit, so a frame-rate change cannot
    // stretch it.
    a.insert(a.end(), j.inputOpts.begin(), j.inputOpts.end());
    if (!j.start.empty())
        push(a, "-ss", j.start);
    // "file:" keeps names such as "concat:x.avi" or "http:y.avi" plain files.
    push(a, "-i", "file:" + j.input);
    if (!j.duration.empty())
        push(a, "-t", j.duration);

    a.insert(a.end(), j.outputOpts.begin(), j.outputOpts.end());
    if (j.disableVideo)
        a.emplace_back("-vn");
    else
        addVideo(j, t);
    a.insert(a.end(), j.audioOpts.begin(), j.audioOpts.end());
    if (!j.audioCodec.empty())
        push(a, "-c:a", j.audioCodec);
    if (j.disableAudio)
        a.emplace_back("-an");
    for (const std::string &m : j.metadata)
        push(a, "-metadata", m);
    if (!j.format.empty())
        push(a, "-f", j.format);
    a.push_back("file:" + j.output);
    return t;
}

} // namespace libm9s
