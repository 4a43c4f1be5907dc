#!/usr/bin/env bash
# Whole-process runs of tlxtool beside unrtf and pandoc, interleaved (one run of each in turn,
# round after round, so a change in the machine's load falls on all of them alike):
#   1. CPU time (user + sys, from wait4) of `tlxtool check` and `tlxtool convert X.rtf Y.txt`
#      on small files, beside /bin/true, which shows what starting any process costs here;
#   2. `tlxtool convert X.rtf Y.txt` against `unrtf --text` and `pandoc -t plain` on every
#      sample: median wall-clock and CPU times and their ratios. tlxtool writes its output
#      file and waits for it to reach the disk (fsync), the others write to /dev/null, so the
#      wall-clock time holds a wait the others do not have; CPU time compares the work;
#   3. peak resident memory (/usr/bin/time -f %M) of RTF -> TXT and RTF -> RTF relative to the
#      input's size, on generated files of 10 MB and 100 MB.
#
# usage: bench/tlxtool_startup.sh BUILD_DIR [OTHER_BUILD_DIR] [RUNS]
#   BUILD_DIR        a Release build (the script builds tlxtool and make_large_rtf there)
#   OTHER_BUILD_DIR  another build to run beside it, e.g. of an older commit; "-" for none
#   RUNS             rounds (default 30)
# RTF_SAMPLES names the folder of sample files (default: shared/rtf-samples beside the source
# tree or beside its parent, if it is there, else the golden samples under tests/data/rtf).
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
if [[ $# -lt 1 ]]; then
    sed -n '2,/^set -euo/p' "$0" | sed '$d; s/^# \{0,1\}//'
    exit 1
fi
builds=("$(cd "$1" && pwd)")
if [[ -n "${2:-}" && "$2" != "-" ]]; then
    builds+=("$(cd "$2" && pwd)")
fi
runs=${3:-30}
for tool in unrtf pandoc python3; do
    command -v "$tool" >/dev/null || { echo "$tool is missing" >&2; exit 1; }
done
[[ -x /usr/bin/time ]] || { echo "/usr/bin/time is missing (package time)" >&2; exit 1; }

samples=${RTF_SAMPLES:-}
if [[ -z "$samples" ]]; then
    for folder in "$repo/../shared/rtf-samples" "$repo/../../shared/rtf-samples"; do
        [[ -d "$folder" ]] && samples=$(cd "$folder" && pwd) && break
    done
fi

for build in "${builds[@]}"; do
    cmake --build "$build" --target tlxtool make_large_rtf node_library templates >/dev/null
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" # unrtf writes the pictures it meets into the current folder

"${builds[0]}/bin/tlxtool" build "$repo/resources/demo/resume.json" resume.tlx
if [[ -n "$samples" ]]; then
    find "$samples" -maxdepth 1 -name '*.rtf' | sort >files.txt
else
    find "$repo/tests/data/rtf" -name input.rtf | sort >files.txt
fi
"${builds[0]}/bin/make_large_rtf" large10.rtf 10
"${builds[0]}/bin/make_large_rtf" large100.rtf 100

python3 - "$runs" "${builds[@]}" <<'EOF'
import os, statistics, subprocess, sys, time

runs = int(sys.argv[1])
builds = sys.argv[2:]
names = ["this"] + (["other"] if len(builds) > 1 else [])
devnull = [(os.POSIX_SPAWN_OPEN, 1, "/dev/null", os.O_WRONLY, 0),
           (os.POSIX_SPAWN_OPEN, 2, "/dev/null", os.O_WRONLY, 0)]


def run(command):
    """Wall-clock and CPU (user + sys) seconds of one run, and whether it succeeded."""
    start = time.perf_counter()
    pid = os.posix_spawnp(command[0], command, os.environ, file_actions=devnull)
    _, status, usage = os.wait4(pid, 0)
    return time.perf_counter() - start, usage.ru_utime + usage.ru_stime, status == 0


def interleaved(commands):
    """Median wall and CPU seconds of each command, run in turn round after round."""
    walls = {key: [] for key in commands}
    cpus = {key: [] for key in commands}
    failed = set()
    for _ in range(runs):
        for key, command in commands.items():
            wall, cpu, ok = run(command)
            walls[key].append(wall)
            cpus[key].append(cpu)
            if not ok:
                failed.add(key)
    return {key: (None if key in failed else statistics.median(walls[key]),
                  statistics.median(cpus[key])) for key in commands}


def tlxtool(index):
    return builds[index] + "/bin/tlxtool"


print(f"## CPU time of a whole run (user + sys, median of {runs}, interleaved)\n")
small = sorted((os.path.getsize(f), f) for f in open("files.txt").read().split())
small = [f for size, f in small if size <= 20000][-1]
commands = {"/bin/true": ["/bin/true"]}
for i, name in enumerate(names):
    commands[f"{name}: tlxtool check resume.tlx"] = [tlxtool(i), "check", "resume.tlx"]
    commands[f"{name}: tlxtool convert small.rtf out.txt"] = [tlxtool(i), "convert", small,
                                                               f"out{i}.txt"]
commands["unrtf --text small.rtf"] = ["unrtf", "--text", small]
print(f"small.rtf: {os.path.basename(small)}, {os.path.getsize(small)} bytes\n")
print("| command | CPU ms | wall ms |\n|---|---:|---:|")
for key, (wall, cpu) in interleaved(commands).items():
    print(f"| {key} | {cpu * 1000:.2f} | {'fail' if wall is None else f'{wall * 1000:.2f}'} |")

print(f"\n## tlxtool convert X.rtf Y.txt against unrtf and pandoc (median of "
      f"{max(runs // 3, 3)}, interleaved; wall ms / CPU ms)\n")
header = "| file | bytes | " + " | ".join(f"{n}" for n in names) + \
    " | unrtf | pandoc | unrtf / this, wall | unrtf / this, CPU |" + \
    (" other / this, CPU |" if len(names) > 1 else "")
print(header)
print("|---|" + "---:|" * (header.count("|") - 2))
saved_runs = runs
runs = max(runs // 3, 3)
slower_wall = slower_cpu = 0
for path in open("files.txt").read().split():
    commands = {n: [tlxtool(i), "convert", path, f"out{i}.txt"] for i, n in enumerate(names)}
    commands["unrtf"] = ["unrtf", "--text", path]
    commands["pandoc"] = ["pandoc", "-f", "rtf", "-t", "plain", "--wrap=none", path]
    times = interleaved(commands)
    cell = lambda t: "fail" if t[0] is None else f"{t[0] * 1000:.1f} / {t[1] * 1000:.1f}"
    ratio = lambda a, b: "-" if a is None or b is None else f"{a / b:.2f}"
    name = os.path.basename(path)
    if name == "input.rtf":
        name = os.path.basename(os.path.dirname(path))
    this, unrtf = times["this"], times["unrtf"]
    row = f"| {name} | {os.path.getsize(path)} | " + " | ".join(cell(times[n]) for n in names) + \
        f" | {cell(unrtf)} | {cell(times['pandoc'])} | {ratio(unrtf[0], this[0])} |" + \
        f" {ratio(unrtf[1], this[1])} |"
    if len(names) > 1:
        row += f" {ratio(times['other'][1], this[1])} |"
    if unrtf[0] is not None and this[0] is not None:
        slower_wall += this[0] >= unrtf[0]
        slower_cpu += this[1] >= unrtf[1]
    print(row)
print(f"\nfiles where tlxtool convert is not faster than unrtf: {slower_wall} by wall-clock "
      f"time, {slower_cpu} by CPU time")
runs = saved_runs

print("\n## Peak resident memory relative to the input (/usr/bin/time -f %M)\n")
print("| input | conversion | " + " | ".join(f"{n} MB | {n} x input" for n in names) + " |")
print("|---|---" + "|---:|---:" * len(names) + "|")
for large in ["large10.rtf", "large100.rtf"]:
    size = os.path.getsize(large)
    for target in ["txt", "rtf"]:
        cells = []
        for i in range(len(names)):
            result = subprocess.run(["/usr/bin/time", "-f", "%M", tlxtool(i), "convert", large,
                                     f"big{i}.{target}"], capture_output=True, text=True)
            kilobytes = int(result.stderr.strip().split("\n")[-1])
            cells.append(f"{kilobytes / 1024:.0f} | {kilobytes * 1024 / size:.1f}")
        print(f"| {large} ({size / 1e6:.1f} MB) | RTF -> {target.upper()} | " +
              " | ".join(cells) + " |")
EOF
