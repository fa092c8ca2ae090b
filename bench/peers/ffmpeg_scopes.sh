#!/usr/bin/env bash
# Side by side: FFmpeg's scope filters, single-threaded, against our scope graph on the same
# 1080p 4:2:2 frames. Usage: ffmpeg_scopes.sh BUILD_DIR   (BUILD_DIR holds bench/bench_scopes)
# Work is compared with work: a filter's cost is its command's CPU time minus the same command
# with -vf null (reading and decoding the frames), measured in the same run; the whole-process
# figure is printed beside it for reference only.
set -euo pipefail
build=${1:-build-bench}
bench="$build/bench/bench_scopes"
[ -x "$bench" ] || { echo "ffmpeg_scopes: $bench not built" >&2; exit 1; }
command -v ffmpeg >/dev/null || { echo "ffmpeg_scopes: ffmpeg not installed" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
frames=30 loops=2   # 30 distinct frames read twice: 60 frames per run
ff=(ffmpeg -hide_banner -nostdin -loglevel error)
"${ff[@]}" -f lavfi -i "testsrc2=s=1920x1080:r=25" -frames:v $frames -pix_fmt uyvy422 -f rawvideo "$work/f1080.uyvy"
"${ff[@]}" -f lavfi -i "testsrc2=s=3840x2160:r=25" -frames:v 4 -pix_fmt uyvy422 -f rawvideo "$work/f2160.uyvy"

# CPU ms per frame of one filter chain (user + system time that FFmpeg reports for itself, so
# other load on the machine counts as little as it does for our CPU-time medians), best of 3.
run_ff() {
  local vf=$1 pix=${2:-uyvy422}
  for _ in 1 2 3; do
    "${ff[@]/error/info}" -benchmark -threads 1 -filter_threads 1 -stream_loop $((loops - 1)) -f rawvideo \
      -pix_fmt "$pix" -s 1920x1080 -i "$work/f1080.uyvy" -vf "$vf" -f null - 2>&1 |
      sed -n 's/^bench: utime=\([0-9.]*\)s stime=\([0-9.]*\)s rtime=\([0-9.]*\)s/\1 \2 \3/p'
  done | python3 -c "
import sys
runs = [tuple(map(float, l.split())) for l in sys.stdin if l.strip()]
n = $frames * $loops
best = min(runs, key=lambda r: r[0] + r[1])
print(f'{(best[0] + best[1]) * 1000 / n:.3f} {best[2] * 1000 / n:.3f}')"
}
echo "== FFmpeg, single-threaded, 1080p uyvy422, ms/frame over $((frames * loops)) frames"
echo "   filter    whole-process CPU (wall)   filter work = CPU - null CPU"
declare -A F W
for k in null waveform vectorscope histogram parade; do
  case $k in
    parade) vf="format=gbrp,waveform=display=parade:components=7" ;;
    *) vf=$k ;;
  esac
  read -r F[$k] W[$k] < <(run_ff "$vf")
  printf '  %-12s %8.2f  (%6.2f)   %8.2f\n' "$k" "${F[$k]}" "${W[$k]}" "$(python3 -c "print(max(0.0, ${F[$k]} - ${F[null]}))")"
done
# Our YVYU rows read the same bytes as YVYU pairs; FFmpeg told the same gives the like-for-like work.
echo "   the same bytes read as yvyu422:"
for k in null waveform; do
  read -r F[y$k] W[y$k] < <(run_ff "$k" yvyu422)
  printf '  %-12s %8.2f  (%6.2f)   %8.2f\n' "$k" "${F[y$k]}" "${W[y$k]}" "$(python3 -c "print(max(0.0, ${F[y$k]} - ${F[ynull]}))")"
done

echo "== ParvaneU scope graph on the same frames, 1080p, CPU ms (medians of 5 repetitions; 2160p: bench_scopes)"
SCOPES_BENCH_FRAMES_1080="$work/f1080.uyvy" SCOPES_BENCH_FRAMES_2160="$work/f2160.uyvy" \
  "$bench" --benchmark_filter='(UpdateGraph|FrameAllDisplays/|Luma|Read).*h:1080|Draw/op:./fmt:3/h:1080|FrameAllDisplaysThreads' \
  --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
  --benchmark_format=json --benchmark_out="$work/ours.json" --benchmark_out_format=json >/dev/null

python3 - "$work/ours.json" "${F[null]}" "${F[waveform]}" "${F[vectorscope]}" "${F[histogram]}" "${F[parade]}" \
  "${F[ynull]}" "${F[ywaveform]}" <<'PY'
import json, sys
data = json.load(open(sys.argv[1]))
ff_null, ff_wave, ff_vec, ff_hist, ff_par, ff_ynull, ff_ywave = map(float, sys.argv[2:9])
work = lambda t: max(t - ff_null, 1e-9)  # the filter's own work: its run minus the null run
ff_all_proc = ff_wave + ff_vec + ff_hist + ff_par
ff_all = work(ff_wave) + work(ff_vec) + work(ff_hist) + work(ff_par)
unit = {"ms": 1.0, "us": 1e-3, "ns": 1e-6, "s": 1e3}
med, wall = {}, {}
for b in data["benchmarks"]:
    if b.get("aggregate_name") == "median":
        med[b["run_name"]] = b["cpu_time"] * unit[b.get("time_unit", "ns")]
        wall[b["run_name"]] = b["real_time"] * unit[b.get("time_unit", "ns")]
fmts = {3: "VYUY", 1: "YVYU", 0: "ARGB", 4: "M101_10BIT"}
ops = ["YParade", "YCParade", "Vector", "Lightning", "HistoL", "HistoRGB", "ParadeRGB"]
def get(name):
    return med.get(name, float("nan"))
print("  UpdateGraph, everything enabled (ms/frame):")
for f, fn in fmts.items():
    l = get(f"BM_UpdateGraph/fmt:{f}/h:1080/yc:0"); c = get(f"BM_UpdateGraph/fmt:{f}/h:1080/yc:1")
    print(f"    1080p {fn:<11} luma {l:7.2f}   Y/C {c:7.2f}")
print("  Drawing into 720x512 (ms/frame), from VYUY frames:")
print("    1080p " + "  ".join(f"{op} {get(f'BM_Draw/op:{i}/fmt:3/h:1080'):.3f}" for i, op in enumerate(ops)))
print("  Per frame with every display drawn, luma mode (ms/frame):")
print("    1080p " + "  ".join(f"{fn} {get(f'BM_FrameAllDisplays/fmt:{f}/h:1080'):.2f}" for f, fn in fmts.items()))
print("== Ratios at 1080p, filter work against our work, one thread (FFmpeg / ours; goal in brackets)")
print(f"  FFmpeg filter work: waveform {work(ff_wave):.2f}, four filters {ff_all:.2f} ms "
      f"(whole process {ff_wave:.2f} / {ff_all_proc:.2f} ms, null run {ff_null:.2f} ms)")
for f, fn in ((1, "YVYU (same bytes as uyvy422)"), (3, "VYUY")):
    allf = get(f"BM_FrameAllDisplays/fmt:{f}/h:1080")
    wave = get(f"BM_LumaWaveform/fmt:{f}/h:1080")
    hist = get(f"BM_LumaHistogram/fmt:{f}/h:1080")
    read = get(f"BM_ReadFrame/fmt:{f}/h:1080")
    print(f"  {fn}:")
    print(f"    all displays   {allf:6.2f} ms vs FFmpeg's four filters {ff_all:6.2f} ms: {ff_all / allf:5.1f}x  [>= 3x]"
          f"   (whole-process ruler {ff_all_proc / allf:.1f}x)")
    print(f"    luma waveform  {wave:6.2f} ms vs FFmpeg waveform {work(ff_wave):6.2f} ms: {work(ff_wave) / wave:5.1f}x  [>= 3x]"
          f"   (whole-process ruler {ff_wave / wave:.1f}x)")
    if f == 1:
        ywork = max(ff_ywave - ff_ynull, 1e-9)
        print(f"    luma waveform  {wave:6.2f} ms vs FFmpeg waveform {ywork:6.2f} ms on the same bytes read as yvyu422: "
              f"{ywork / wave:5.1f}x")
    print(f"    luma histogram {hist:6.2f} ms vs plain read {read:5.2f} ms: {hist / read:4.1f}x  [<= 4x]")
print("== Slice threads, every display analysed and drawn, wall ms/frame (speed-up against 1 thread; goal 2160p VYUY <= 33 ms)")
for h in (1080, 2160):
    for f, fn in ((3, "VYUY"), (1, "YVYU")):
        one = wall.get(f"BM_FrameAllDisplaysThreads/fmt:{f}/h:{h}/threads:1/real_time", float("nan"))
        row = []
        for t, tn in ((1, "1"), (2, "2"), (0, "all")):
            v = wall.get(f"BM_FrameAllDisplaysThreads/fmt:{f}/h:{h}/threads:{t}/real_time", float("nan"))
            row.append(f"{tn:>3} thr {v:7.2f} ({one / v:4.2f}x)")
        print(f"  {h}p {fn:<5} " + "   ".join(row))
PY
