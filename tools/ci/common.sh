# Shared by the tools/ci scripts, which run on GitHub's runners (Linux,
# macOS, Windows' Git Bash) and in the ctest suite here.

# native PATH: PATH as the host's programs take it (C:/... under Git Bash).
native() {
  if command -v cygpath >/dev/null 2>&1; then cygpath -m "$1"; else printf '%s\n' "$1"; fi
}

# the_release_archive FOLDER: the one vesk-*.zip in FOLDER.
the_release_archive() {
  local archives=("$1"/vesk-*.zip)
  if ((${#archives[@]} != 1)) || [[ ! -f ${archives[0]} ]]; then
    echo "expected one release archive vesk-*.zip in $1, found: ${archives[*]}" >&2
    return 1
  fi
  printf '%s\n' "${archives[0]}"
}
