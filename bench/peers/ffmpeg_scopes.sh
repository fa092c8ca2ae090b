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
frames=16 loops=8   # 16 distinct frames read 8 times: 128 frames per run
ff=(ffmpeg -hide_banner -nostdin -loglevel error)
"${ff[@]}" -f lavfi -i "testsrc2=s=1920x1080:r=25" -frames:v $frames -pix_fmt uyvy422 -f rawvideo "$work/f1080.uyvy"
"${ff[@]}" -f lavfi -i "testsrc2=s=3840x2160:r=25" -frames:v 4 -pix_fmt uyvy422 -f rawvideo "$work/f2160.uyvy"

# ms per frame of one filter chain, best of three runs (wall clock of the whole process).
run_ff() {
  local vf=$1 best=""
  for _ in 1 2 3; do
    local t0 t1
    t0=$(date +%s%N)
    "${ff[@]}" -threads 1 -filter_threads 1 -stream_loop $((loops - 1)) -f rawvideo -pix_fmt uyvy422 \
      -s 1920x1080 -i "$work/f1080.uyvy" -vf "$vf" -f null - 
    t1=$(date +%s%N)
    local ms
    ms=$(python3 -c "print(($t1 - $t0) / 1e6 / ($frames * $loops))")
    if [ -z "$best" ] || python3 -c "import sys; sys.exit(0 if $ms < $best else 1)"; then best=$ms; fi
  done
  echo "$best"
}
echo "== FFmpeg, single-threaded, 1080p uyvy422, ms/frame (best of 3, $((frames * loops)) frames)"
declare -A F
F[null]=$(run_ff null)
F[waveform]=$(run_ff waveform)
F[vectorscope]=$(run_ff vectorscope)
F[histogram]=$(run_ff histogram)
F[parade]=$(run_ff "format=gbrp,waveform=display=parade:components=7")
for k in null waveform vectorscope histogram parade; do printf '  %-12s %8.2f\n' "$k" "${F[$k]}"; done

echo "== ParvaneU scope graph on the same frames, 1080p (medians of 5 repetitions; 2160p: bench_scopes)"
SCOPES_BENCH_FRAMES_1080="$work/f1080.uyvy" SCOPES_BENCH_FRAMES_2160="$work/f2160.uyvy" \
  "$bench" --benchmark_filter='h:1080' --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
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
        med[b["run_name"]] = b["real_time"] * unit[b.get("time_unit", "ns")]
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
print("== Ratios at 1080p (FFmpeg time / ours; goal in brackets)")
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
