#!/usr/bin/env bash
# Installs the build into fresh prefixes, among them one with characters the launcher entry must quote, and
# checks that the program has its help beside it, the icon is in the theme and the entry validates and starts
# the installed program.
# Usage: InstallTest.sh <cmake> <build dir> <source dir>
set -euo pipefail
cmake=$1
build=$2
source=$3

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

validator=$(command -v desktop-file-validate || true)
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# The program an Exec value starts: the key file's escapes undone, then the entry's quoting, which is a subset of
# the shell's double quotes, and "%%" for a percent sign.
exec_program() {
    local value=$1 unescaped='' i c
    for ((i = 0; i < ${#value}; i++)); do
        c=${value:i:1}
        if [[ $c == "\\" ]]; then
            ((i += 1))
            case ${value:i:1} in
                s) c=' ' ;;
                n) c=$'\n' ;;
                t) c=$'\t' ;;
                r) c=$'\r' ;;
                *) c=${value:i:1} ;;
            esac
        fi
        unescaped+=$c
    done
    unescaped=${unescaped//%%/%}
    set --
    eval "set -- $unescaped" 2>/dev/null || return 1
    [[ $# -eq 1 ]] || return 1
    printf '%s' "$1"
}

# Checks one installed tree: <root> is where the files are, <prefix> what the entry must name.
check_tree() {
    local root=$1 prefix=$2
    local program="$root/lib/nagitori/nagitori"
    local entry="$root/share/applications/nagitori.desktop"
    [[ -f $program && -x $program ]] || fail "no executable program at $program"
    cmp -s "$source/resources/readme.txt" "$root/lib/nagitori/readme.txt" || fail "readme.txt not beside $program"
    cmp -s "$source/resources/nagitori.svg" "$root/share/icons/hicolor/scalable/apps/nagitori.svg" ||
        fail "icon missing in $root/share/icons/hicolor/scalable/apps"
    [[ -f $entry ]] || { fail "no launcher entry at $entry"; return; }

    local exec started
    exec=$(sed -n 's/^Exec=//p' "$entry")
    if ! started=$(exec_program "$exec"); then
        fail "Exec=$exec does not parse to one argument"
    elif [[ $started != "$prefix/lib/nagitori/nagitori" ]]; then
        fail "Exec=$exec starts '$started', not the installed program"
    fi

    if [[ -n $validator ]]; then
        local report
        if ! report=$("$validator" "$entry" 2>&1); then
            fail "desktop-file-validate rejects $entry: $report"
        elif [[ -n $report ]]; then
            fail "desktop-file-validate warns on $entry: $report"
        fi
    fi
}

install_into() {
    "$cmake" --install "$build" --prefix "$1" >"$work/install.log" 2>&1 || {
        cat "$work/install.log" >&2
        fail "cmake --install --prefix $1 failed"
    }
}

plain="$work/plain"
install_into "$plain"
check_tree "$plain" "$plain"

awkward="$work/My Apps 50% \"a\" \$HOME \`c\` it's"
install_into "$awkward"
check_tree "$awkward" "$awkward"

# A staged install for a package: files below DESTDIR, the entry names the final place.
DESTDIR="$work/stage" install_into /opt/nagitori
check_tree "$work/stage/opt/nagitori" /opt/nagitori

if [[ $failures -gt 0 ]]; then
    exit 1
fi
if [[ -z $validator ]]; then
    echo "desktop-file-validate is not installed (scripts/install-deps.sh installs it)"
    exit 77
fi
echo "installed trees and launcher entries are sound"
