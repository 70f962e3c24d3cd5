#!/usr/bin/env bash
# vesk_batch_array.sh in 4 shares through Slurm, on this machine's cores,
# against one serial vesk_batch run over the same folder: 96 greyscale
# photographs of 1024 x 1024 (bench/octave/make_photographs.m), both
# plug-ins, maps written to disk and a table, as a user runs a folder.
#
#   bash bench/slurm_benchmark.sh [BUILD] [REPETITIONS] [COUNT]
#
# BUILD (default build-bench) is configured and its Octave MEX files built
# with -O3 -DNDEBUG as tools/benchmark.sh builds them. Runs as root under
# testing/slurm/with_slurm.sh, which starts a one-node cluster with the
# machine's processors and stops it afterwards. COUNT photographs (default
# 96; fewer for a quick try of the script). Each repetition (default 3)
# times, from fresh output folders and interleaved:
#   serial  octave-cli --eval "vesk_batch(FOLDER, '*.png', 'OutputFolder', ...,
#           'CsvFile', ...)": one process, started and ended;
#   shares  sbatch --array=1-4 vesk_batch_array.sh FOLDER OUT '*.png' until
#           the last task has ended (the queue polled every 0.1 s);
#   merge   octave-cli --eval "vesk_batch_merge('OUT/table.shard-*-of-4.csv',
#           'Files', FOLDER, 'Pattern', '*.png', 'CsvFile', ...)".
# Checks once that the merged table is the serial one byte for byte. Writes
# BUILD/results/slurm.csv (what,seconds,fastest,repetitions: median and
# fastest) and BUILD/results/slurm.md, and prints the ratio
# (shares + merge) / serial; the target is at most 0.6 on 2 cores.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

build=${1:-build-bench}
repetitions=${2:-3}
count=${3:-96}
if [[ -z ${SLURM_CONF:-} ]]; then
  bash tools/install-deps.sh bench
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DVESK_BUILD_TESTS=OFF > /dev/null
  rm -f "$build"/octave/Vesk.mex "$build"/octave/Vesk2.mex  # built anew with these flags
  CXXFLAGS="-O3 -DNDEBUG" cmake --build "$build" --target vesk_octave
  rm -f "$build"/octave/*.o
  exec testing/slurm/with_slurm.sh bash "$root/bench/slurm_benchmark.sh" "$@"
fi

functions=$root/$build/octave
results=$root/$build/results
work=$VESK_SLURM_DIR/bench
mkdir -p "$results" "$work"
octave=(octave-cli --no-gui --norc --quiet --no-history)

echo "== $count photographs of 1024 x 1024"
"${octave[@]}" --eval "addpath('$root/bench/octave'); make_photographs('$root/data', $count, 1024, '$work/photographs');"

now() { date +%s.%N; }

serial() {
  rm -rf "$work/serial" "$work/serial.csv"
  "${octave[@]}" --eval "addpath('$functions'); vesk_batch('$work/photographs', '*.png', 'OutputFolder', '$work/serial', 'CsvFile', '$work/serial.csv', 'Progress', false);"
}

shares() {
  local job
  rm -rf "$work/shares" "$work/logs"
  # shares/done/ made before: vesk_batch makes it with check-then-mkdir, and
  # two tasks starting together can race for it (one stops: "File exists").
  mkdir -p "$work/logs" "$work/shares/done"
  job=$(cd "$work" && VESK_PATH=$functions sbatch --parsable --array=1-4 --output="$work/logs/%A_%a.out" \
    "$functions/vesk_batch_array.sh" "$work/photographs" "$work/shares" '*.png')
  # The whole (private) queue: squeue -j of an array's id may miss its tasks.
  while [[ -n $(squeue -h -o %i) ]]; do
    sleep 0.1
  done
  if scontrol show job "$job" | grep -o 'ExitCode=[0-9:]*' | grep -vqx 'ExitCode=0:0'; then
    cat "$work"/logs/*.out >&2
    echo "slurm_benchmark.sh: job $job failed" >&2
    exit 1
  fi
}

merge() {
  "${octave[@]}" --eval "addpath('$functions'); vesk_batch_merge('$work/shares/table.shard-*-of-4.csv', 'Files', '$work/photographs', 'Pattern', '*.png', 'CsvFile', '$work/merged.csv');"
}

declare -A times
for ((r = 0; r <= repetitions; r++)); do
  for what in serial shares merge; do
    start=$(now)
    "$what"
    end=$(now)
    # Round 0 warms the page cache and Octave's files.
    if ((r > 0)); then
      seconds=$(awk "BEGIN { printf \"%.3f\", $end - $start }")
      times[$what]+="$seconds "
      echo "repetition $r: $what $seconds s"
    fi
  done
  if ((r == 0)); then
    cmp "$work/serial.csv" "$work/merged.csv" ||
      { echo "slurm_benchmark.sh: the merged table differs from the serial one" >&2; exit 1; }
  fi
done

# median and fastest of a list of numbers
statistics() {
  tr ' ' '\n' <<< "$1" | sed '/^$/d' | sort -g |
    awk '{ v[NR] = $1 } END { m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2; printf "%.3f %.3f", m, v[1] }'
}
{
  echo "what,seconds,fastest,repetitions"
  for what in serial shares merge; do
    read -r median fastest <<< "$(statistics "${times[$what]}")"
    echo "$what,$median,$fastest,$repetitions"
  done
} > "$results/slurm.csv"

read -r serial_median serial_fastest <<< "$(statistics "${times[serial]}")"
read -r shares_median shares_fastest <<< "$(statistics "${times[shares]}")"
read -r merge_median merge_fastest <<< "$(statistics "${times[merge]}")"
ratio=$(awk "BEGIN { print ($shares_median + $merge_median) / $serial_median }")
ratio_fastest=$(awk "BEGIN { print ($shares_fastest + $merge_fastest) / $serial_fastest }")
{
  echo "Machine: $(nproc) processors ($(lscpu | sed -n 's/^Model name: *//p')), $(sinfo -V)," \
    "$(octave-cli --version | head -n 1), commit $(git rev-parse --short HEAD 2> /dev/null || echo unknown)," \
    "$(date -u '+%Y-%m-%d %H:%M UTC'), load $(cut -d ' ' -f 1-3 /proc/loadavg)"
  echo
  echo "| run, $count photographs of 1024² | seconds, median of $repetitions (fastest) |"
  echo "|---|---|"
  echo "| serial: one \`vesk_batch\` process | $serial_median ($serial_fastest) |"
  echo "| 4 array tasks, submission to the last one's end | $shares_median ($shares_fastest) |"
  echo "| \`vesk_batch_merge\` of the 4 shares | $merge_median ($merge_fastest) |"
  printf '| (shares + merge) / serial | %.2f (%.2f); target at most 0.6 |\n' "$ratio" "$ratio_fastest"
} > "$results/slurm.md"
cat "$results/slurm.md"
