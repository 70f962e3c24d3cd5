#!/usr/bin/env bash
# The table of refused calls the Octave suites use (matlab/tests/
# refused_calls.m), written as tab-separated text for the MATLAB suite:
# call, identifier's reason, a piece of the advice; one line each.
#   bash tools/ci/export-refused-calls.sh OUTPUT_FILE
set -euo pipefail
source "$(dirname "$0")/common.sh"
root=$(cd "$(dirname "$0")/../.." && pwd)
output=$(native "$(cd "$(dirname "$1")" && pwd)/$(basename "$1")")
"${OCTAVE_CLI:-octave-cli}" --no-gui --no-init-file --no-history --quiet --eval "
  addpath('$(native "$root/matlab/tests")');
  cases = refused_calls();
  fid = fopen('$output.partial', 'w');
  for k = 1:rows(cases)
    text = [cases{k, :}];
    if any(text == sprintf('\t') | text == sprintf('\n'))
      error('a tab or line break in row %d of refused_calls', k);
    end
    fprintf(fid, '%s\t%s\t%s\n', cases{k, :});
  end
  fclose(fid);"
mv "$output.partial" "$output"
echo "$output: $(wc -l < "$output") refused calls"
