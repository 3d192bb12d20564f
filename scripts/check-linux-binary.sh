#!/usr/bin/env bash
# Checks Linux binaries of the component the way auditwheel checks a wheel:
# what they need from the machine they are loaded on, and what they show it.
#
#   scripts/check-linux-binary.sh [--glibc-floor X.Y] [--exports] FILE...
#
# For each FILE:
#   - it needs no library but glibc's own (libc, libm, libdl, libpthread,
#     librt, the dynamic loader);
#   - it needs no glibc symbol version above the floor (default 2.17);
#   - it needs no C++ runtime or libgcc version (GLIBCXX_, CXXABI_, GCC_);
#   - with --exports (a component library): its dynamic symbol table
#     defines exactly GetClassNames, GetClassObject and DestroyObject, and
#     holds no unique symbol (STB_GNU_UNIQUE), which would keep the library
#     loaded after dlclose.
# Prints one line per file that passes, and for each fault one line naming
# the file and the offending library, version or symbol; exits 1 if any.
set -euo pipefail
floor=2.17
exports=0
while (($#)); do
  case $1 in
    --glibc-floor) floor=$2; shift 2 ;;
    --exports) exports=1; shift ;;
    --) shift; break ;;
    -*) echo "usage: check-linux-binary.sh [--glibc-floor X.Y] [--exports] FILE..." >&2; exit 2 ;;
    *) break ;;
  esac
done
(($#)) || { echo "usage: check-linux-binary.sh [--glibc-floor X.Y] [--exports] FILE..." >&2; exit 2; }

version_above() {  # version_above A B: A > B, as dotted versions
  [[ $1 != "$2" && $(printf '%s\n%s\n' "$1" "$2" | sort -V | tail -1) == "$1" ]]
}

faults=0
for file in "$@"; do
  name=$(basename "$file")
  fault() { echo "$name: $*"; faults=$((faults + 1)); }
  if ! readelf -h "$file" >/dev/null 2>&1; then
    fault "not an ELF file"
    continue
  fi
  before=$faults

  while read -r needed; do
    case $needed in
      libc.so.6 | libm.so.6 | libdl.so.2 | libpthread.so.0 | librt.so.1 | \
      ld-linux-x86-64.so.2 | ld-linux.so.2 | ld-linux-aarch64.so.1) ;;
      *) fault "needs the library $needed, which is not glibc's" ;;
    esac
  done < <(readelf -d -W "$file" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')

  highest=""
  while read -r version; do
    case $version in
      GLIBC_PRIVATE) fault "needs glibc's private symbols (GLIBC_PRIVATE)" ;;
      GLIBC_[0-9]*)
        v=${version#GLIBC_}
        [[ -z $highest ]] || version_above "$v" "$highest" && highest=$v
        ;;
      GLIBCXX_* | CXXABI_* | GCC_*) fault "needs the C++ runtime version $version" ;;
    esac
  done < <(readelf -V -W "$file" | sed -n 's/.*Name: \([A-Za-z_0-9.]*\) .*Flags.*/\1/p' | sort -u)
  if [[ -n $highest ]] && version_above "$highest" "$floor"; then
    fault "needs GLIBC_$highest, above the floor GLIBC_$floor ($(readelf --dyn-syms -W "$file" |
      awk -v v="GLIBC_$highest" '$0 ~ "@" v "( |$)" {print $8}' | head -3 | tr '\n' ' ' | sed 's/ $//'))"
  fi

  if ((exports)); then
    # Defined symbols: a section index, not UND; the version-definition
    # entries (ABS, of type OBJECT at 0) are not symbols of the code.
    defined=$(readelf --dyn-syms -W "$file" |
      awk '$1 ~ /^[0-9]+:$/ && $7 != "UND" && !($7 == "ABS" && $3 == "0") {sub(/@.*/, "", $8); print $8}' | sort -u)
    expected=$(printf '%s\n' DestroyObject GetClassNames GetClassObject)
    while read -r symbol; do
      [[ -z $symbol ]] || grep -qx "$symbol" <<<"$expected" || fault "exports the symbol $symbol"
    done <<<"$defined"
    while read -r symbol; do
      grep -qx "$symbol" <<<"$defined" || fault "does not export $symbol"
    done <<<"$expected"
    while read -r symbol; do
      [[ -z $symbol ]] || fault "holds the unique symbol $symbol (it would stay loaded after dlclose)"
    done < <(readelf --dyn-syms -W "$file" | awk '$5 == "UNIQUE" {print $8}')
  fi

  ((faults > before)) || echo "$name: only glibc's libraries, glibc floor ${highest:-none} (at most $floor), no C++ runtime versions$( ((exports)) && echo ", exactly the three exports")"
done
((faults == 0)) || exit 1
