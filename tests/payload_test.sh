#!/usr/bin/env bash
# Checks the library files that the setup carries (payload/):
#  - manifest.txt maps 370 distinct ids in 1..3007 to files (28 = @unqmv),
#    every file exists and is not empty, and nothing unlisted lies around;
#  - every package source names the package of its file name;
#  - the option files and make files of every package folder put the
#    packages where the setup looks for them after compiling.
# Usage: payload_test.sh <build dir> <source dir>
set -u

src=${2:-$(cd "$(dirname "$0")/.." && pwd)}
payload="$src/payload"
manifest="$payload/manifest.txt"
passed=0
failed=0

check() {  # check <description> <command...>
    local what=$1
    shift
    if "$@"; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "FAIL: $what" >&2
    fi
}

# Lines of an option file without CR, one option per line.
options() { tr -d '\r' < "$1"; }
has_line() { options "$1" | grep -qxF -- "$2"; }

# ---------------------------------------------------------------- manifest

entries=$(grep -E '^[0-9]+[[:space:]]' "$manifest" | tr -d '\r')
ids=$(awk '{print $1}' <<< "$entries")

check "370 entries" test "$(wc -l <<< "$entries")" -eq 370
check "370 distinct ids" test "$(sort -un <<< "$ids" | wc -l)" -eq 370
check "ids within 1..3007" test -z "$(awk '$1 < 1 || $1 > 3007' <<< "$entries")"
check "id 28 is the uninstaller" test "$(awk '$1 == 28 {print $2}' <<< "$entries")" = "@unqmv"
check "ids in ascending order" test "$ids" = "$(sort -n <<< "$ids")"
check "no line other than entries and comments" \
    test -z "$(tr -d '\r' < "$manifest" | grep -vE '^([0-9]+[[:space:]]+[^[:space:]].*|#.*|[[:space:]]*)$')"

missing=()
empty=()
while read -r id path; do
    [ "$path" = "@unqmv" ] && continue
    if [ ! -f "$payload/$path" ]; then
        missing+=("$id $path")
    elif [ ! -s "$payload/$path" ]; then
        empty+=("$id $path")
    fi
done <<< "$entries"
check "every listed file exists (missing: ${missing[*]:-none})" test ${#missing[@]} -eq 0
check "no listed file is empty (empty: ${empty[*]:-none})" test ${#empty[@]} -eq 0

# Files in payload/ that no entry lists would never reach a user.
listed=$(awk '$2 != "@unqmv" {print $2}' <<< "$entries" | sort)
present=$(cd "$payload" && find . -type f ! -name manifest.txt ! -name CMakeLists.txt \
    ! -name .gitattributes | sed 's|^\./||' | sort)
unlisted=$(comm -13 <(echo "$listed") <(echo "$present") | tr '\n' ' ')
check "no unlisted file in payload/ (${unlisted:-none})" test -z "$unlisted"

# Compiled resource files start with the empty 32-byte entry of the 32-bit format.
bad_res=()
empty_entry="0000000020000000ffff0000ffff0000$(printf '0%.0s' {1..32})"
while read -r _ path; do
    case "$path" in
    *.res|*.dcr)
        [ "$(head -c 32 "$payload/$path" | od -An -tx1 | tr -d ' \n')" = "$empty_entry" ] ||
            bad_res+=("$path") ;;
    esac
done <<< "$entries"
check "resource files are 32-bit .res files (bad: ${bad_res[*]:-none})" test ${#bad_res[@]} -eq 0

# ---------------------------------------------------------------- packages

# First word after "package" in a .dpk, skipping comments and blank lines.
dpk_name() {
    tr -d '\r' < "$1" | sed -e 's/{[^}]*}//g' -e 's://.*$::' | tr '\n' ' ' |
        sed -nE 's/^[[:space:]]*package[[:space:]]+([A-Za-z0-9_]+)[[:space:]]*;.*/\1/p'
}

dpk_count=0
while read -r _ path; do
    case "$path" in
    *.dpk)
        dpk_count=$((dpk_count + 1))
        want=$(basename "$path" .dpk)
        check "$path names package $want" test "$(dpk_name "$payload/$path")" = "$want" ;;
    esac
done <<< "$entries"
check "54 package sources (27 Delphi folders x 2)" test $dpk_count -eq 54

# folder suffix kind: d3 = no option files; cfg = <project>.cfg in the folder
# (output in the folder); cfgcpp = as cfg plus C++ headers into ..\Source;
# xe = dcc32.cfg/dcc64.cfg with Win32/Win64 output; bpk = make file .bpk;
# mak = make file .mak
packages="Delphi3 30 d3
Delphi4 40 cfg
Delphi5 50 cfg
Delphi6 60 cfg
Delphi7 70 cfg
Delphi9 90 cfg
BDS2006 2006 cfgcpp
BDS2007 2007 cfgcpp
BDS2009 2009 cfgcpp
BDS2010 2010 cfgcpp
RADStudio8 150 cfgcpp
CBuilder4 40 bpk
CBuilder5 50 mak
CBuilder6 60 mak"
n=16
for f in RADStudio9 RADStudio10 RADStudio11 RADStudio12 RADStudio14 RADStudio15 RADStudio16 \
         RADStudio17 RADStudio18 RADStudio19 RADStudio20 RADStudio21 RADStudio22 RADStudio23; do
    packages+=$'\n'"$f $((n * 10)) xe"
    n=$((n + 1))
done
# RAD Studio 13's number jumps: suffix 370.
packages+=$'\n'"RADStudio37 370 xe"
# The newer IDE's projects have no suffix: they ask the compiler for its own.
packages+=$'\n'"RADStudioNewer '' xe"

# The last value of an option in a file ("later wins"), quotes removed.
option_value() {  # option_value <file> <option letters>
    options "$1" | grep -E "^[-/]$2" | tail -n 1 | sed -E "s/^[-\/]$2//; s/\"//g"
}
# A folder option that means "the current folder": absent, "." or ".\".
is_here() { [ -z "$1" ] || [ "$1" = "." ] || [ "$1" = ".\\" ]; }

while read -r folder suffix kind; do
    [ "$suffix" = "''" ] && suffix=
    dir="$payload/$folder"
    for name in "qvl$suffix" "dclqvl$suffix"; do
        case $kind in
        d3)
            check "$folder has no option files" test -z "$(ls "$dir" | grep -i '\.cfg$')" ;;
        cfg|cfgcpp)
            cfg="$dir/$name.cfg"
            check "$folder/$name.cfg exists" test -f "$cfg"
            check "$folder/$name.cfg puts the package into the folder" is_here "$(option_value "$cfg" LE)"
            check "$folder/$name.cfg puts the .dcp into the folder" is_here "$(option_value "$cfg" LN)"
            if [ $kind = cfgcpp ]; then
                check "$folder/$name.cfg writes C++ headers" has_line "$cfg" "-JL"
                check "$folder/$name.cfg writes the headers into Source" \
                    test "$(option_value "$cfg" NH)" = '..\Source'
            fi ;;
        bpk|mak)
            make="$dir/$name.$kind"
            check "$folder/$name.$kind builds $name.bpl" \
                grep -qE "^PROJECT[[:space:]]*=[[:space:]]*$name\.bpl[[:space:]]*$" <(options "$make") ;;
        esac
    done
    if [ $kind = xe ]; then
        check "$folder/dcc32.cfg: packages into Win32" test "$(option_value "$dir/dcc32.cfg" LE)" = '.\Win32'
        check "$folder/dcc32.cfg: .dcp into Win32" test "$(option_value "$dir/dcc32.cfg" LN)" = '.\Win32'
        check "$folder/dcc64.cfg: packages into Win64" test "$(option_value "$dir/dcc64.cfg" LE)" = '.\Win64'
        check "$folder/dcc64.cfg: .dcp into Win64" test "$(option_value "$dir/dcc64.cfg" LN)" = '.\Win64'
        check "$folder has no project .cfg" test ! -e "$dir/qvl$suffix.cfg"
    fi
done <<< "$packages"

for name in qvl dclqvl; do
    check "RADStudioNewer/$name.dpk asks for the automatic suffix" \
        grep -q '^{\$LIBSUFFIX AUTO}' <(options "$payload/RADStudioNewer/$name.dpk")
done

# The Delphi 3 packages contain units of their own folder, all others the
# units of Source.
check "Delphi 3 package contains its own units" \
    grep -q "qvConsts in 'qvConsts.pas'" <(options "$payload/Delphi3/qvl30.dpk")
check "later packages contain the units of Source" \
    grep -q "qvConsts in '..\\\\Source\\\\qvConsts.pas'" <(options "$payload/RADStudio23/qvl290.dpk")

# ---------------------------------------------------------------- help scripts

for bat in help_reg.bat help_unreg.bat; do
    # No pause or prompt: the setup waits for the script to end.
    check "Help/$bat never waits for input" \
        test -z "$(options "$payload/Help/$bat" | grep -iE '^[[:space:]]*(pause|set /p|choice)')"
    check "Help/$bat ends with exit /b" \
        test "$(options "$payload/Help/$bat" | grep -v '^[[:space:]]*$' | tail -n 1 | tr 'A-Z' 'a-z')" = "exit /b 0"
done

echo "payload: $passed passed, $failed failed"
[ $failed -eq 0 ]
