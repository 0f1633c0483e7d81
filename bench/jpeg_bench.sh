#!/usr/bin/env bash
# JPEG speed of rasqet-encode against libjpeg-turbo's cjpeg on two 4000 x 3000 rasters: a CAD
# line drawing on a flat background and a photo-like picture of gradients and noise. Reports
# megapixels per second of each, their ratio, output sizes and rasqet-encode's peak resident
# memory.
#
#   bash bench/jpeg_bench.sh [runs]        (default 3 runs each; the fastest counts)
#
# Environment: RASQET_ENCODE (default build/native/tools/rasqet-encode), CJPEG (default
# cjpeg), BENCH_DIR for the rasters and outputs (default $TMPDIR/rasqet-jpeg-bench),
# BENCH_WIDTH and BENCH_HEIGHT (default 4000 and 3000).
#
# cjpeg samples chrominance 2 x 2 by default while rasqet-encode keeps full chrominance
# unless told otherwise, so in the baseline and progressive rows cjpeg codes half as many
# blocks; the baseline-2x2 row gives both the same sampling.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-3}
encoder=${RASQET_ENCODE:-$root/build/native/tools/rasqet-encode}
cjpeg=${CJPEG:-cjpeg}
dir=${BENCH_DIR:-${TMPDIR:-/tmp}/rasqet-jpeg-bench}
width=${BENCH_WIDTH:-4000}
height=${BENCH_HEIGHT:-3000}
time_tool=/usr/bin/time

for tool in "$cjpeg" c++; do
  command -v "$tool" >/dev/null || { echo "jpeg_bench: $tool not found" >&2; exit 2; }
done
[[ -x $time_tool ]] || { echo "jpeg_bench: $time_tool not found (package 'time')" >&2; exit 2; }
if [[ ! -x $encoder ]]; then
  echo "jpeg_bench: $encoder not found; build it with: bash scripts/build.sh native" >&2
  exit 2
fi
mkdir -p "$dir"

# The rasters, made once per size by a small deterministic generator.
generator=$dir/jpeg_bench_images
if [[ ! -x $generator || $generator -ot $root/bench/jpeg_bench_images.cpp ]]; then
  c++ -O2 -std=c++17 -o "$generator" "$root/bench/jpeg_bench_images.cpp"
fi
cad=$dir/cad-${width}x${height}.ppm
photo=$dir/photo-${width}x${height}.ppm
if [[ ! -s $cad || ! -s $photo || $cad -ot $generator ]]; then
  "$generator" "$cad" "$photo" "$width" "$height"
fi
megapixels=$(awk -v w="$width" -v h="$height" 'BEGIN { printf "%.3f", w * h / 1e6 }')

# run OUTPUT COMMAND...: the fastest of $runs runs of COMMAND with its stdout to OUTPUT. Sets
# best_seconds and best_rss_kb (peak resident set of that run).
run() {
  local output=$1
  shift
  best_seconds=
  best_rss_kb=
  local i start end seconds rss
  for ((i = 0; i < runs; i++)); do
    start=$(date +%s%N)
    if ! "$time_tool" -f '%M' -o "$dir/time.txt" "$@" >"$output" 2>"$dir/stderr.txt"; then
      echo "jpeg_bench: failed: $*" >&2
      cat "$dir/stderr.txt" >&2
      return 1
    fi
    end=$(date +%s%N)
    seconds=$(awk -v ns=$((end - start)) 'BEGIN { printf "%.4f", ns / 1e9 }')
    rss=$(tail -n 1 "$dir/time.txt")
    if [[ -z $best_seconds ]] || awk -v a="$seconds" -v b="$best_seconds" 'BEGIN { exit !(a < b) }'; then
      best_seconds=$seconds
      best_rss_kb=$rss
    fi
  done
}

failures=0
printf 'rasters %d x %d (%s MP), %d runs each, fastest counts\n' "$width" "$height" "$megapixels" "$runs"
printf '%-6s %-12s | %9s %8s %9s | %9s %8s | %6s\n' image mode 'rasqet MP/s' 'KiB' 'peak MiB' \
  'cjpeg MP/s' 'KiB' 'ratio'
for image in cad photo; do
  input=${!image}
  for mode in baseline progressive baseline-2x2; do
    case $mode in
      baseline)
        rasqet_args=(--quality 75)
        cjpeg_args=(-quality 75 -optimize) ;;
      progressive)
        rasqet_args=(--quality 75 --progressive)
        cjpeg_args=(-quality 75 -progressive) ;;
      baseline-2x2)  # both with chrominance sampled 2 x 2, the same number of blocks
        rasqet_args=(--quality 75 --sampling 2x2,1x1,1x1)
        cjpeg_args=(-quality 75 -optimize -sample 2x2,1x1,1x1) ;;
    esac
    ours=$dir/$image-$mode.jpg
    theirs=$dir/$image-$mode-cjpeg.jpg
    rasqet_seconds=
    if run /dev/null "$encoder" "${rasqet_args[@]}" "$input" "$ours"; then
      rasqet_seconds=$best_seconds
      rasqet_rss=$best_rss_kb
    else
      failures=$((failures + 1))
    fi
    run "$theirs" "$cjpeg" "${cjpeg_args[@]}" "$input"
    cjpeg_seconds=$best_seconds
    if [[ -z $rasqet_seconds ]]; then
      awk -v mp="$megapixels" -v cs="$cjpeg_seconds" -v csize="$(stat -c %s "$theirs")" \
        -v image="$image" -v mode="$mode" 'BEGIN {
          printf "%-6s %-12s | %11s %8s %9s | %10.1f %8d | %6s\n", image, mode, "failed", "-", "-",
            mp / cs, csize / 1024, "-"
        }'
      continue
    fi
    awk -v mp="$megapixels" -v rs="$rasqet_seconds" -v cs="$cjpeg_seconds" -v rss="$rasqet_rss" \
      -v rsize="$(stat -c %s "$ours")" -v csize="$(stat -c %s "$theirs")" \
      -v image="$image" -v mode="$mode" 'BEGIN {
        printf "%-6s %-12s | %11.1f %8d %9.1f | %10.1f %8d | %5.2fx\n", image, mode, mp / rs,
          rsize / 1024, rss / 1024, mp / cs, csize / 1024, rs / cs
      }'
  done
done
echo "ratio: rasqet-encode time / cjpeg time (below 1 is faster than cjpeg)"
echo "sampling: cjpeg 2x2 chrominance in every row; rasqet-encode 1x1 but in baseline-2x2"
((failures == 0)) || { echo "jpeg_bench: $failures rasqet-encode runs failed" >&2; exit 1; }
