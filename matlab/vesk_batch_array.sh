#!/bin/bash
# vesk_batch_array.sh: vesk_batch over one folder of images as a Slurm job
# array, one share of the images per array task.
#
#   sbatch --array=1-N vesk_batch_array.sh IMAGE_FOLDER OUTPUT_FOLDER [PATTERN]
#
# Array task K of N runs vesk_batch(IMAGE_FOLDER, PATTERN, 'Shard', 'auto',
# 'Resume', true, 'OutputFolder', OUTPUT_FOLDER, 'CsvFile', ...) in one
# process, on its share of the images: of the sorted list of the files of
# IMAGE_FOLDER that match PATTERN (such as '*.png'; without it every file
# whose extension imread knows), positions K, K + N, K + 2N, ... (K counts
# from 1 whatever the first index of --array). All tasks write into
# OUTPUT_FOLDER, as one serial run would:
#   NAME.mat, NAME_vesk.png, NAME_vesk2.png   each image's maps
#   done/NAME.mat                             its completion record
#   table.shard-K-of-N.csv                    the share's table
# Once every task has ended, one table of all images, byte for byte what a
# serial run writes, and the images no share has (none after a clean run):
#   [results, missing] = vesk_batch_merge( ...
#       fullfile(OUTPUT_FOLDER, 'table.shard-*-of-N.csv'), ...
#       'Files', IMAGE_FOLDER, 'Pattern', PATTERN, ...
#       'CsvFile', fullfile(OUTPUT_FOLDER, 'table.csv'));
#
# Requeue and resume: the job may be requeued (#SBATCH --requeue below). A
# task that Slurm requeues (node failure, preemption, scontrol requeue
# JOBID_K) starts again on the same share, and so does one of the same job
# array submitted again (sbatch with the same --array range). With 'Resume'
# it skips the images whose outputs are complete and computes the rest.
# Every file is written under a temporary name (NAME.vesk-partial-PID.EXT)
# and then renamed, so a task stopped midway leaves no partial file under a
# final name; the next run over the share removes its temporaries.
#
# Environment (sbatch passes the submitting shell's):
#   VESK_HOST           octave (default): octave-cli --eval; matlab:
#                       matlab -batch
#   VESK_PATH           folders, separated by ':', put on the path with
#                       addpath before the call: the folder of Vesk, Vesk2
#                       and vesk_batch (the unpacked release archive, or a
#                       build's plug-in folder). Unset: in Octave the
#                       installed package is loaded (pkg load vesk); MATLAB
#                       uses its own path (an installed toolbox).
#   VESK_BATCH_OPTIONS  more name-value pairs for vesk_batch, as M code,
#                       for example "'Functions', 'Vesk'" or
#                       "'Reader', @dicomread"
#   OCTAVE, MATLAB      the programs (default octave-cli, matlab)
#   OMP_NUM_THREADS     default: the task's processors
#                       (SLURM_CPUS_PER_TASK, 1 without --cpus-per-task)
# Slurm writes the task's output to slurm-JOBID_K.out (sbatch --output to
# change it); a requeued task appends to it.
#
#SBATCH --job-name=vesk_batch
#SBATCH --requeue
#SBATCH --open-mode=append
set -eu

usage='usage: sbatch --array=1-N vesk_batch_array.sh IMAGE_FOLDER OUTPUT_FOLDER [PATTERN]'
if [ $# -lt 2 ] || [ $# -gt 3 ]; then
  echo "$usage" >&2
  exit 2
fi
if [ -z "${SLURM_ARRAY_TASK_ID:-}" ]; then
  echo "vesk_batch_array.sh: not an array task (no SLURM_ARRAY_TASK_ID); $usage" >&2
  exit 2
fi
host=${VESK_HOST:-octave}
if [ "$host" != octave ] && [ "$host" != matlab ]; then
  echo "vesk_batch_array.sh: VESK_HOST must be octave or matlab, not $host" >&2
  exit 2
fi

# TEXT as an M character vector: in single quotes, its quotes doubled.
m_text() {
  printf "'%s'" "$(printf '%s' "$1" | sed "s/'/''/g")"
}

images=$1
output=$2
mkdir -p "$output"

# Octave, stopped by Slurm (scancel, requeue, time limit), would otherwise
# leave its variables in octave-workspace in the working folder.
setup=
if [ "$host" = octave ]; then
  setup='crash_dumps_octave_core(false);'
fi
if [ -n "${VESK_PATH:-}" ]; then
  setup="$setup addpath($(m_text "$VESK_PATH"));"
elif [ "$host" = octave ]; then
  setup="$setup pkg load vesk;"
fi
arguments=$(m_text "$images")
if [ $# -eq 3 ]; then
  arguments="$arguments, $(m_text "$3")"
fi
arguments="$arguments, 'Shard', 'auto', 'Resume', true"
arguments="$arguments, 'OutputFolder', $(m_text "$output")"
arguments="$arguments, 'CsvFile', $(m_text "$output/table.csv")"
if [ -n "${VESK_BATCH_OPTIONS:-}" ]; then
  arguments="$arguments, $VESK_BATCH_OPTIONS"
fi
code="$setup vesk_batch($arguments);"

export OMP_NUM_THREADS="${OMP_NUM_THREADS:-${SLURM_CPUS_PER_TASK:-1}}"
echo "vesk_batch_array.sh: task $SLURM_ARRAY_TASK_ID of job ${SLURM_ARRAY_JOB_ID:-?}" \
  "(restart ${SLURM_RESTART_COUNT:-0}) on $(uname -n): $code"
if [ "$host" = octave ]; then
  exec "${OCTAVE:-octave-cli}" --no-gui --quiet --no-history --eval "$code"
fi
exec "${MATLAB:-matlab}" -batch "$code"
