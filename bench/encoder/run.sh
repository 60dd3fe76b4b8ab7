#!/usr/bin/env bash
# Encoder overhead and seek cost, from one generated 60 s input:
#  - wall time of a conversion through libm9s.exe / the same conversion run
#    with ffmpeg directly (target <= 1.03);
#  - 10 s starting at 0:50 / 10 s starting at 0:00, both through libm9s.exe
#    (target <= 1.5).
# Usage: run.sh BUILD_DIR
set -euo pipefail
build="${1:?usage: run.sh BUILD_DIR}"
enc="$build/libm9s/libm9s.exe"
[[ -x "$enc" ]] || cmake --build "$build" --target libm9s >/dev/null
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
rounds="${ENCODER_BENCH_ROUNDS:-5}"

ffmpeg -nostdin -hide_banner -loglevel error -y \
  -f lavfi -i "testsrc=size=320x240:rate=25:duration=60" \
  -f lavfi -i "sine=frequency=440:sample_rate=44100:duration=60" \
  -c:v mpeg4 -q:v 4 -g 250 -c:a libmp3lame -b:a 128k "$work/in.avi"

# "WALL CPU" seconds of a command (CPU: user + system, children included),
# its output thrown away.
timed() {
  local TIMEFORMAT="%R %U %S" r
  r=$( { time "$@" </dev/null >/dev/null 2>&1; } 2>&1 )
  awk '{ printf "%.4f %.4f", $1, $2 + $3 }' <<<"$r"
}
# The smallest of several runs, for wall time and CPU time separately: the
# least disturbed by other work on the machine.
best() { printf '%s\n' "$@" | awk 'NR == 1 || $1 < w { w = $1 } NR == 1 || $2 < c { c = $2 } END { print w, c }'; }
# Prints "label: A s / B s = ratio" for wall and CPU time.
report() {
  awk -v label="$1" -v a="$2" -v b="$3" -v target="$4" 'BEGIN {
    split(a, x, " "); split(b, y, " ")
    printf "%s (target <= %s): %.3f  [wall %.2f s / %.2f s; cpu ratio %.3f]\n", label, target, x[1] / y[1], x[1], y[1], x[2] / y[2]
  }'
}

via_enc=(); direct=()
for ((i = 0; i < rounds; i++)); do
  via_enc+=("$(timed "$enc" -i "$work/in.avi" -y -f avi -b 800k -r 25 -s 320x240 -vcodec mpeg4 \
    -ab 128k -ar 44100 -ac 2 -acodec mp3 "$work/a.avi")")
  direct+=("$(timed ffmpeg -nostdin -y -i "file:$work/in.avi" -b:v 800k -r 25 -s 320x240 -c:v mpeg4 \
    -b:a 128k -ar 44100 -ac 2 -c:a libmp3lame -f avi "file:$work/b.avi")")
done
report "libm9s.exe / ffmpeg directly, 60 s conversion" "$(best "${via_enc[@]}")" "$(best "${direct[@]}")" 1.03

late=(); early=()
for ((i = 0; i < rounds; i++)); do
  late+=("$(timed "$enc" -i "$work/in.avi" -y -f avi -t 00:00:10 -ss 00:00:50 -vcodec mpeg4 -acodec mp3 "$work/l.avi")")
  early+=("$(timed "$enc" -i "$work/in.avi" -y -f avi -t 00:00:10 -ss 00:00:00 -vcodec mpeg4 -acodec mp3 "$work/e.avi")")
done
report "10 s from 0:50 / 10 s from 0:00 of 60 s" "$(best "${late[@]}")" "$(best "${early[@]}")" 1.5
