#pragma once
// Encoder option table in emission order: row number, appended text, option
// name, kind (T: text option emitted with its value when not empty; F: flag
// emitted when true). Rows 7 to 65 form the video group.
#define ZENDREL_FFMPEG_OPTIONS(X) \
    X(1, " -i %s ", InputFile, T) \
    X(2, " -y ", Overwrite, F) \
    X(3, " -f %s ", OutputFormat, T) \
    X(4, " -t %s ", Duration, T) \
    X(5, " -ss %s ", StartTime, T) \
    X(6, " -vn ", DisableVideo, F) \
    X(7, " -title %s ", Title, T) \
    X(8, " -author %s ", Author, T) \
    X(9, " -copyright %s ", Copyright, T) \
    X(10, " -comment %s ", Comment, T) \
    X(11, " -target %s ", Target, T) \
    X(12, " -hq ", HighQuality, F) \
    X(13, " -itsoffset %s ", InputTimeOffset, T) \
    X(14, " -b %s ", VideoBitrate, T) \
    X(15, " -r %s ", FrameRate, T) \
    X(16, " -s %s ", FrameSize, T) \
    X(17, " -aspect %s ", Aspect, T) \
    X(18, " -croptop %s ", CropTop, T) \
    X(19, " -cropbottom %s ", CropBottom, T) \
    X(20, " -padtop %s ", PadTop, T) \
    X(21, " -padbottom %s ", PadBottom, T) \
    X(22, " -padleft %s ", PadLeft, T) \
    X(23, " -padright %s ", PadRight, T) \
    X(24, " -padcolor %s ", PadColor, T) \
    X(25, " -bt %s ", BitrateTolerance, T) \
    X(26, " -maxrate %s ", MaxRate, T) \
    X(27, " -minrate %s ", MinRate, T) \
    X(28, " -bufsize %s ", BufferSize, T) \
    X(29, " -vcodec %s ", VideoCodec, T) \
    X(30, " -sameq ", SameQuality, F) \
    X(31, " -pass %s ", Pass, T) \
    X(32, " -passlogfile %s ", PassLogFile, T) \
    X(33, " -g %s ", GopSize, T) \
    X(34, " -intra ", IntraOnly, F) \
    X(35, " -qscale %s ", QScale, T) \
    X(36, " -qmin %s ", QMin, T) \
    X(37, " -qmax %s ", QMax, T) \
    X(38, " -qdiff %s ", QDiff, T) \
    X(39, " -qblur %s ", QBlur, T) \
    X(40, " -qcomp %s ", QComp, T) \
    X(41, " -rc_init_cplx %s ", RcInitCplx, T) \
    X(42, " -b_qfactor %s ", BQFactor, T) \
    X(43, " -i_qfactor %s ", IQFactor, T) \
    X(44, " -b_qoffset %s ", BQOffset, T) \
    X(45, " -i_qoffset %s ", IQOffset, T) \
    X(46, " -rc_eq %s ", RcEq, T) \
    X(47, " -me %s ", MotionEstimation, T) \
    X(48, " -dct_algo %s ", DctAlgo, T) \
    X(49, " -idct_algo %s ", IdctAlgo, T) \
    X(50, " -er %s ", ErrorResilience, T) \
    X(51, " -ec %s ", ErrorConcealment, T) \
    X(52, " -bf %s ", BFrames, T) \
    X(53, " -mdb %s ", MbDecision, T) \
    X(54, " -4mv ", FourMV, F) \
    X(55, " -part ", DataPartitioning, F) \
    X(56, " -bug %s ", BugWorkaround, T) \
    X(57, " -strict %s ", Strictness, T) \
    X(58, " -aic ", AdvancedIntra, F) \
    X(59, " -umv ", UnlimitedMV, F) \
    X(60, " -deinterlace ", Deinterlace, F) \
    X(61, " -interlace ", Interlace, F) \
    X(62, " -psnr ", Psnr, F) \
    X(63, " -vstats ", VideoStats, F) \
    X(64, " -vhook %s ", VideoHook, T) \
    X(65, " -vtag %s ", VideoTag, T) \
    X(66, " -ab %s ", AudioBitrate, T) \
    X(67, " -ar %s ", SampleRate, T) \
    X(68, " -ac %s ", Channels, T) \
    X(69, " -an ", DisableAudio, F) \
    X(70, " -acodec %s ", AudioCodec, T) \
    X(71, " -vd %s ", VideoDevice, T) \
    X(72, " -vc %s ", VideoChannel, T) \
    X(73, " -tvstd %s ", TvStandard, T) \
    X(74, " -dv1394 ", DV1394, F) \
    X(75, " -av %s ", AudioDevice, T) \
    X(76, " -map %s ", Map, T) \
    X(77, " -debug ", Debug, F) \
    X(78, " -benchmark ", Benchmark, F) \
    X(79, " -hex ", Hex, F) \
    X(80, " -bitexact ", BitExact, F) \
    X(81, " -ps %s ", PacketSize, T) \
    X(82, " -re ", RealTime, F) \
    X(83, " -loop ", Loop, F)
