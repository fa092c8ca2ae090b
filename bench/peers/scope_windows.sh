#!/usr/bin/env bash
# Side by side, single-threaded CPU time on the same frames:
#  1. the whole path of the scope windows (frame in -> waveform, vector, histogram and parade
#     windows of 640x360 composed and painted; bench_scopes BM_WholePath) against FFmpeg's filter
#     chain drawing the same four scopes;
#  2. parvane-scope writing waveform PNGs against `ffmpeg -vf waveform` writing PNGs.
# Each FFmpeg figure has FFmpeg's own read-and-decode cost (the same input through -vf null)
# taken off, so the ratios compare filter work with filter work. Ours read frames from memory
# (1) or a raw file (2, not taken off: a raw read is a copy).
# Usage: scope_windows.sh BUILD_DIR   (BUILD_DIR holds bench/bench_scopes and tools/parvane-scope)
set -euo pipefail
build=${1:-build-bench}
bench="$build/bench/bench_scopes"
tool="$build/tools/parvane-scope"
for f in "$bench" "$tool"; do [ -x "$f" ] || { echo "scope_windows: $f not built" >&2; exit 1; }; done
command -v ffmpeg >/dev/null || { echo "scope_windows: the ffmpeg program is not installed (scripts/setup.sh --bench)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
ff=(ffmpeg -hide_banner -nostdin -loglevel error)
"${ff[@]}" -f lavfi -i "testsrc2=s=1920x1080:r=25" -frames:v 16 -pix_fmt uyvy422 -f rawvideo "$work/f1080.uyvy"
"${ff[@]}" -f lavfi -i "testsrc2=s=3840x2160:r=25" -frames:v 8 -pix_fmt uyvy422 -f rawvideo "$work/f2160.uyvy"

python3 - "$work" "$bench" "$tool" <<'PY'
import json, os, resource, statistics, subprocess, sys

work, bench, tool = sys.argv[1:4]
REPS = 5

def cpu(cmd, env=None):
    """CPU seconds (user + system) of one run of cmd and its children."""
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    subprocess.run(cmd, check=True, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    return (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)

def median_ms(cmd, frames, env=None):
    return statistics.median(cpu(cmd, env) for _ in range(REPS)) * 1000 / frames

def ffmpeg_in(h, loops):
    w = h * 16 // 9
    return ["ffmpeg", "-hide_banner", "-nostdin", "-loglevel", "error", "-threads", "1", "-filter_threads", "1",
            "-filter_complex_threads", "1", "-stream_loop", str(loops - 1), "-f", "rawvideo", "-pix_fmt", "uyvy422",
            "-s", f"{w}x{h}", "-i", f"{work}/f{h}.uyvy"]

chain = ("[0:v]format=yuv422p,split=4[a][b][c][d];[a]waveform=graticule=green:scale=digital[w];"
         "[b]vectorscope=mode=color2:graticule=green[v];[c]histogram[h];"
         "[d]format=gbrp,waveform=display=parade:components=7:graticule=green[p]")

print("== Whole path: frame in -> four scopes composed (CPU ms/frame, medians of 5 runs)")
env = dict(os.environ, SCOPES_BENCH_FRAMES_1080=f"{work}/f1080.uyvy", SCOPES_BENCH_FRAMES_2160=f"{work}/f2160.uyvy")
out = f"{work}/ours.json"
subprocess.run([bench, "--benchmark_filter=BM_WholePath", f"--benchmark_repetitions={REPS}",
                "--benchmark_report_aggregates_only=true", f"--benchmark_out={out}", "--benchmark_out_format=json"],
               check=True, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
ours = {}
for b in json.load(open(out))["benchmarks"]:
    if b.get("aggregate_name") == "median":
        ours[int(b["run_name"].split(":")[-1])] = b["cpu_time"]
for h, frames in ((1080, 16), (2160, 8)):
    loops = 4 if h == 1080 else 2
    n = frames * loops
    null = median_ms(ffmpeg_in(h, loops) + ["-vf", "null", "-f", "null", "-"], n)
    full = median_ms(ffmpeg_in(h, loops) + ["-filter_complex", chain] +
                     sum((["-map", f"[{k}]", "-f", "null", "-"] for k in "wvhp"), []), n)
    work_ff = full - null
    print(f"  {h}p  ours {ours[h]:7.2f}  ({1000 / ours[h]:6.1f} fps) | FFmpeg chain {full:7.2f}, read+decode "
          f"{null:5.2f}, filter work {work_ff:7.2f} ({1000 / work_ff:6.1f} fps) | ratio {work_ff / ours[h]:5.2f}x")

print("== PNG writer: parvane-scope --scope waveform vs ffmpeg -vf waveform, 16 frames 1080p (CPU ms/frame)")
n = 16
os.makedirs(f"{work}/png_ours", exist_ok=True)
os.makedirs(f"{work}/png_ff", exist_ok=True)
mine = median_ms([tool, "--input", f"{work}/f1080.uyvy", "--format", "uyvy422", "--size", "1920x1080",
                  "--scope", "waveform", "--out", f"{work}/png_ours"], n)
null = median_ms(ffmpeg_in(1080, 1) + ["-vf", "null", "-f", "null", "-"], n)
full = median_ms(ffmpeg_in(1080, 1) + ["-vf", "waveform", "-y", f"{work}/png_ff/%06d.png"], n)
print(f"  parvane-scope {mine:7.2f} | ffmpeg {full:7.2f}, read+decode {null:5.2f}, work {full - null:7.2f} | "
      f"ratio {(full - null) / mine:5.2f}x")
PY
