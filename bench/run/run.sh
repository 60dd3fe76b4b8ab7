#!/usr/bin/env bash
# Run overhead: the same queue of five generated clips converted through
# Zendrel (the real window, offscreen, driven by a program) and through
# ffmpeg directly in a shell loop; prints the ratio of wall times
# (target <= 1.05). Each side runs several rounds; the fastest counts.
# Usage: run.sh BUILD_DIR
set -euo pipefail
build="$(cd "${1:?usage: run.sh BUILD_DIR}" && pwd)"
cmake --build "$build" --target bench_run libm9s zendrel_data plug_exe >/dev/null
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
rounds="${RUN_BENCH_ROUNDS:-3}"
seconds="${RUN_BENCH_CLIP_SECONDS:-20}"

cp -r "$build/Zendrel" "$work/Zendrel"
rm -f "$work/Zendrel/config.ini" "$work/Zendrel/logFile.txt"
cp "$build/libm9s/libm9s.exe" "$work/Zendrel/libm9s.exe"
printf '[setting]\r\ndisplayHelpDialog=0\r\nlogfile=0\r\n' >"$work/Zendrel/config.ini"
mkdir -p "$work/clips" "$work/zendrel" "$work/direct"
clips=()
for i in 1 2 3 4 5; do
  clip="$work/clips/clip $i.avi"
  ffmpeg -nostdin -hide_banner -loglevel error -y \
    -f lavfi -i "testsrc=size=320x240:rate=25:duration=$seconds" \
    -f lavfi -i "sine=frequency=$((200 * i)):sample_rate=44100:duration=$seconds" \
    -c:v mpeg4 -q:v 4 -c:a libmp3lame -b:a 128k "$clip"
  clips+=("$clip")
done

direct_loop() {
  for clip in "${clips[@]}"; do
    name="$(basename "$clip")"
    ffmpeg -nostdin -y -i "file:$clip" -b:v 800k -r 25 -s 320x240 -c:v mpeg4 \
      -b:a 128k -ar 44100 -ac 2 -c:a libmp3lame -f avi "file:$work/direct/$name" </dev/null >/dev/null 2>&1
  done
}

now() { date +%s.%N; }
best_zendrel=""; best_direct=""
for ((r = 0; r < rounds; r++)); do
  z="$("$build/bench/run/bench_run" "$work/Zendrel" "$work/zendrel" "${clips[@]}")"
  t0="$(now)"; direct_loop; t1="$(now)"
  d="$(awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.4f", b - a }')"
  best_zendrel="$(awk -v a="$z" -v b="$best_zendrel" 'BEGIN { print (b == "" || a < b) ? a : b }')"
  best_direct="$(awk -v a="$d" -v b="$best_direct" 'BEGIN { print (b == "" || a < b) ? a : b }')"
done
awk -v z="$best_zendrel" -v d="$best_direct" -v n="${#clips[@]}" -v s="$seconds" 'BEGIN {
  printf "Zendrel run / ffmpeg shell loop, %d clips of %d s (target <= 1.05): %.3f  [wall %.2f s / %.2f s]\n", n, s, z / d, z, d
}'
