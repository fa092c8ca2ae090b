#!/usr/bin/env bash
# Side by side: FFmpeg's scope filters, single-threaded, against our scope graph on the same
# 1080p 4:2:2 frames. Usage: ffmpeg_scopes.sh BUILD_DIR   (BUILD_DIR holds bench/bench_scopes)
set -euo pipefail
build=${1:-build-bench}
bench="$build/bench/bench_scopes"
[ -x "$bench" ] || { echo "ffmpeg_scopes: $bench not built" >&2; exit 1; }
command -v ffmpeg >/dev/null || { echo "ffmpeg_scopes: ffmpeg not installed" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
frames=16 loops=4   # 16 distinct frames read 4 times: 64 frames per run
ff=(ffmpeg -hide_banner -nostdin -loglevel error)
"${ff[@]}" -f lavfi -i "testsrc2=s=1920x1080:r=25" -frames:v $frames -pix_fmt uyvy422 -f rawvideo "$work/f1080.uyvy"
"${ff[@]}" -f lavfi -i "testsrc2=s=3840x2160:r=25" -frames:v 4 -pix_fmt uyvy422 -f rawvideo "$work/f2160.uyvy"

# CPU ms per frame of one filter chain (user + system time that FFmpeg reports for itself, so
# other load on the machine counts as little as it does for our CPU-time medians), best of 3.
run_ff() {
  local vf=$1
  for _ in 1 2 3; do
    "${ff[@]/error/info}" -benchmark -threads 1 -filter_threads 1 -stream_loop $((loops - 1)) -f rawvideo \
      -pix_fmt uyvy422 -s 1920x1080 -i "$work/f1080.uyvy" -vf "$vf" -f null - 2>&1 |
      sed -n 's/^bench: utime=\([0-9.]*\)s stime=\([0-9.]*\)s rtime=\([0-9.]*\)s/\1 \2 \3/p'
  done | python3 -c "
import sys
runs = [tuple(map(float, l.split())) for l in sys.stdin if l.strip()]
n = $frames * $loops
best = min(runs, key=lambda r: r[0] + r[1])
print(f'{(best[0] + best[1]) * 1000 / n:.3f} {best[2] * 1000 / n:.3f}')"
}
echo "== FFmpeg, single-threaded, 1080p uyvy422, ms/frame over $((frames * loops)) frames: CPU (wall)"
declare -A F W
for k in null waveform vectorscope histogram parade; do
  case $k in
    parade) vf="format=gbrp,waveform=display=parade:components=7" ;;
    *) vf=$k ;;
  esac
  read -r F[$k] W[$k] < <(run_ff "$vf")
  printf '  %-12s %8.2f  (%6.2f)\n' "$k" "${F[$k]}" "${W[$k]}"
done

echo "== ParvaneU scope graph on the same frames, 1080p, CPU ms (medians of 5 repetitions; 2160p: bench_scopes)"
SCOPES_BENCH_FRAMES_1080="$work/f1080.uyvy" SCOPES_BENCH_FRAMES_2160="$work/f2160.uyvy" \
  "$bench" --benchmark_filter='(UpdateGraph|FrameAll|Luma|Read).*h:1080|Draw/op:./fmt:3/h:1080' \
  --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
  --benchmark_format=json --benchmark_out="$work/ours.json" --benchmark_out_format=json >/dev/null

python3 - "$work/ours.json" "${F[null]}" "${F[waveform]}" "${F[vectorscope]}" "${F[histogram]}" "${F[parade]}" <<'PY'
import json, sys
data = json.load(open(sys.argv[1]))
ff_null, ff_wave, ff_vec, ff_hist, ff_par = map(float, sys.argv[2:7])
ff_all = ff_wave + ff_vec + ff_hist + ff_par
unit = {"ms": 1.0, "us": 1e-3, "ns": 1e-6, "s": 1e3}
med = {}
for b in data["benchmarks"]:
    if b.get("aggregate_name") == "median":
        med[b["run_name"]] = b["cpu_time"] * unit[b.get("time_unit", "ns")]
fmts = {3: "VYUY", 1: "YVYU", 0: "ARGB", 4: "M101_10BIT"}
ops = ["YParade", "YCParade", "Vector", "Lightning", "HistoL", "HistoRGB", "ParadeRGB"]
def get(name):
    return med.get(name, float("nan"))
print("  UpdateGraph, everything enabled (ms/frame):")
for h in (1080,):
    for f, fn in fmts.items():
        l = get(f"BM_UpdateGraph/fmt:{f}/h:{h}/yc:0"); c = get(f"BM_UpdateGraph/fmt:{f}/h:{h}/yc:1")
        print(f"    {h}p {fn:<11} luma {l:7.2f}   Y/C {c:7.2f}")
print("  Drawing into 720x512 (ms/frame), from VYUY frames:")
for h in (1080,):
    print(f"    {h}p " + "  ".join(f"{op} {get(f'BM_Draw/op:{i}/fmt:3/h:{h}'):.3f}" for i, op in enumerate(ops)))
print("  Per frame with every display drawn, luma mode (ms/frame):")
for h in (1080,):
    print(f"    {h}p " + "  ".join(f"{fn} {get(f'BM_FrameAllDisplays/fmt:{f}/h:{h}'):.2f}" for f, fn in fmts.items()))
print("== Ratios at 1080p, CPU time (FFmpeg / ours; goal in brackets)")
for f, fn in ((1, "YVYU (same bytes as uyvy422)"), (3, "VYUY")):
    allf = get(f"BM_FrameAllDisplays/fmt:{f}/h:1080")
    wave = get(f"BM_LumaWaveform/fmt:{f}/h:1080")
    hist = get(f"BM_LumaHistogram/fmt:{f}/h:1080")
    read = get(f"BM_ReadFrame/fmt:{f}/h:1080")
    print(f"  {fn}:")
    print(f"    all displays   {allf:6.2f} ms vs FFmpeg's four filters {ff_all:6.2f} ms: {ff_all / allf:5.1f}x  [>= 3x]")
    print(f"    luma waveform  {wave:6.2f} ms vs FFmpeg waveform {ff_wave:6.2f} ms: {ff_wave / wave:5.1f}x  [>= 3x]")
    print(f"    luma histogram {hist:6.2f} ms vs plain read {read:5.2f} ms (ours) / {ff_null:5.2f} ms (FFmpeg null): "
          f"{hist / read:4.1f}x / {hist / ff_null:4.1f}x  [<= 4x]")
PY
