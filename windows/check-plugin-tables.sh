#!/usr/bin/env bash
# Checks the export and import tables of Windows plug-in DLLs.
#
#   check-plugin-tables.sh OBJDUMP HOST_DEF_DIR PLUGIN.mexw64...
#
# Each plug-in must be a PE32+ DLL that exports mexFunction and nothing else,
# and imports by name only what the host's .def files list (libmx.dll,
# libmex.dll) plus its own C library calls from msvcrt.dll: qsort for Vesk,
# nothing for Vesk2. The plug-ins link no runtime start-up code, so nothing
# else, KERNEL32 included, may appear. Every function the .def files list must
# be imported by at least one of the plug-ins checked together.
set -uo pipefail
objdump=$1
def_dir=$2
shift 2

# The names after EXPORTS in a .def file.
def_exports() {
  awk '/^[[:space:]]*;/ { next } /^EXPORTS/ { listing = 1; next }
       listing && NF { print $1 }' "$1"
}

runtime_calls_of() {
  case "$(basename "$1")" in
    Vesk.mexw64) echo qsort ;;
    *) ;;
  esac
}

declare -A allowed_in
allowed_in[libmx.dll]=" $(def_exports "$def_dir/libmx.def" | tr '\n' ' ') "
allowed_in[libmex.dll]=" $(def_exports "$def_dir/libmex.def" | tr '\n' ' ') "
allowed_in[kernel32.dll]=" "

declare -A imported  # "dll:function" of every plug-in checked
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

for plugin in "$@"; do
  echo "== $plugin"
  if ! tables=$("$objdump" -p "$plugin" 2>&1); then
    fail "$plugin: objdump cannot read it: $tables"
    continue
  fi
  allowed_in[msvcrt.dll]=" $(runtime_calls_of "$plugin") "

  grep -Eq '^Magic[[:space:]]+020b[[:space:]]+\(PE32\+\)' <<<"$tables" ||
    fail "$plugin is not a PE32+ image"
  # The DLL flag is the characteristics' bit 0x2000.
  characteristics=$(awk '$1 == "Characteristics" { print $2; exit }' <<<"$tables")
  (((characteristics & 0x2000) != 0)) || fail "$plugin is not a DLL"

  # Exports: the names after "[Ordinal/Name Pointer] Table", and the number of
  # entries in the address table (which would show exports by ordinal only).
  exports=$(awk '/^\[Ordinal\/Name Pointer\] Table/ { listing = 1; next }
                 listing && NF == 0 { listing = 0 }
                 listing { print $NF }' <<<"$tables")
  address_entries=$(awk '/Export Address Table[[:space:]]+[0-9a-f]+$/ { print $NF; exit }' <<<"$tables")
  [[ "$exports" == "mexFunction" ]] ||
    fail "$plugin exports [$(tr '\n' ' ' <<<"$exports")], not mexFunction alone"
  [[ "$address_entries" == "00000001" ]] ||
    fail "$plugin has ${address_entries:-no} export address entries, not 1"

  # Imports: "DLL Name: X" followed by "vma hint name" lines; objdump names
  # an import by ordinal "<none>".
  while read -r dll function; do
    key=${dll,,}
    if [[ -z "${allowed_in[$key]+set}" ]]; then
      fail "$plugin imports from $dll, which is neither the host's, KERNEL32 nor msvcrt"
    elif [[ "$function" == "<none>" ]]; then
      fail "$plugin imports from $dll by ordinal, not by name"
    elif [[ "${allowed_in[$key]}" != *" $function "* ]]; then
      fail "$plugin imports $dll:$function, which is not on the list for it"
    else
      echo "imports $dll:$function"
      imported[$key:$function]=1
    fi
  done < <(awk '/^[[:space:]]*DLL Name:/ { dll = $3; next }
                dll && NF == 0 { dll = "" }
                dll && $1 ~ /^[0-9a-f]+$/ && NF >= 3 { print dll, $3 }' \
             <<<"$tables")
done

# The .def files list exactly what the plug-ins use: no entry goes unused.
for dll in libmx.dll libmex.dll; do
  for function in ${allowed_in[$dll]}; do
    [[ -n "${imported[$dll:$function]+set}" ]] ||
      fail "${dll%.dll}.def lists $function, which none of the plug-ins imports"
  done
done

if ((failures > 0)); then
  echo "$failures problem(s) found"
  exit 1
fi
echo "all tables as expected"
