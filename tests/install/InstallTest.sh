#!/usr/bin/env bash
# Installs the build into fresh prefixes, as make install does, among them one with characters the launcher entry must
# quote, and as a package does (DESTDIR); checks the installed tree; uninstalls as make uninstall does and checks that
# only the settings file and files that were never installed are left.
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

# Checks one installed tree: <root> is where the files are, <prefix> what the entry and the command must name.
check_tree() {
    local root=$1 prefix=$2
    local program="$root/lib/nagitori/nagitori"
    local entry="$root/share/applications/nagitori.desktop"
    local command="$root/bin/nagitori"
    [[ -f $program && -x $program ]] || fail "no executable program at $program"
    if readelf -S -W "$program" | grep -E '\.symtab|\.debug_' >/dev/null; then
        fail "$program still holds symbols or debug information"
    fi
    cmp -s "$source/resources/readme.txt" "$root/lib/nagitori/readme.txt" || fail "readme.txt not beside $program"
    cmp -s "$source/resources/nagitori.svg" "$root/share/icons/hicolor/scalable/apps/nagitori.svg" ||
        fail "icon missing in $root/share/icons/hicolor/scalable/apps"
    cmp -s "$source/resources/nagitori.1" "$root/share/man/man1/nagitori.1" || fail "manual page missing in $root/share/man"
    cmp -s "$source/resources/org.example.nagitori.metainfo.xml" "$root/share/metainfo/org.example.nagitori.metainfo.xml" ||
        fail "AppStream data missing in $root/share/metainfo"
    if [[ ! -L $command ]]; then
        fail "no command link at $command"
    elif [[ $(readlink "$command") != "$prefix/lib/nagitori/nagitori" ]]; then
        fail "$command links to '$(readlink "$command")', not to the installed program"
    fi
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

# What make install runs once the program is built.
install_into() {
    "$source/scripts/install.sh" "$build" "$1" >"$work/install.log" 2>&1 || {
        cat "$work/install.log" >&2
        fail "installing into $1 failed"
    }
}

# The files under a tree, one per line, sorted.
files_under() {
    (cd "$1" && find . \( -type f -o -type l \) | sort)
}

# The settings file the program writes and files of other programs in the same folders are not the install's: after
# uninstalling with <command...>, they are all that is left of <prefix>.
check_uninstall() {
    local prefix=$1
    shift
    local record="$prefix/lib/nagitori/install_manifest.txt"
    [[ -f $record ]] || { fail "no list of installed files at $record"; return; }
    local installed
    installed=$(cat "$record")
    printf '[Setting]\nStayOnTop=1\n' >"$prefix/lib/nagitori/nagitori.ini"
    touch "$prefix/bin/other-command" "$prefix/share/applications/other.desktop"
    local kept
    kept=$(files_under "$prefix")

    local output
    if ! output=$("$@" 2>&1); then
        fail "uninstalling from $prefix failed: $output"
        return
    fi
    local file
    while IFS= read -r file; do
        [[ ! -e $file && ! -L $file ]] || fail "uninstalling left $file behind"
    done <<<"$installed"
    local left
    left=$(files_under "$prefix")
    [[ $left == "$(printf '%s\n' ./bin/other-command ./lib/nagitori/nagitori.ini ./share/applications/other.desktop)" ]] ||
        fail "after uninstalling, $prefix holds: $left"
    [[ $(cat "$prefix/lib/nagitori/nagitori.ini" 2>/dev/null) == $'[Setting]\nStayOnTop=1' ]] ||
        fail "uninstalling changed the settings file"
    [[ $output == *"$prefix/lib/nagitori/nagitori.ini"* ]] || fail "uninstalling does not name the kept settings: $output"
}

# make uninstall from a plain prefix. A file that an older version installed there stays listed through the new
# install and goes too. Without permission to remove the files, it fails and keeps the list for the next try.
plain="$work/plain"
mkdir -p "$plain/lib/nagitori" "$plain/share"
echo "$plain/share/nagitori-old.txt" >"$plain/lib/nagitori/install_manifest.txt"
touch "$plain/share/nagitori-old.txt"
install_into "$plain"
check_tree "$plain" "$plain"
if [[ $(id -u) -eq 0 ]]; then
    chmod 755 "$work"
    if setpriv --reuid=nobody --regid=nogroup --clear-groups "$source/scripts/uninstall.sh" "$plain" >/dev/null 2>&1; then
        fail "uninstalling without permission to remove the files reports success"
    fi
    [[ -f $plain/lib/nagitori/install_manifest.txt && -f $plain/lib/nagitori/nagitori ]] ||
        fail "a failed uninstall removed the list or the program"
fi
check_uninstall "$plain" env -u MAKEFLAGS -u MFLAGS -u MAKELEVEL make -s -C "$source" uninstall PREFIX="$plain"
if env -u MAKEFLAGS -u MFLAGS -u MAKELEVEL make -s -C "$source" uninstall PREFIX="$plain" >/dev/null 2>&1; then
    fail "make uninstall with nothing installed reports success"
fi

awkward="$work/My Apps 50% \"a\" \$HOME \`c\` it's"
install_into "$awkward"
check_tree "$awkward" "$awkward"
check_uninstall "$awkward" "$source/scripts/uninstall.sh" "$awkward"

# A staged install for a package: files below DESTDIR, the entry and the command name the final place.
DESTDIR="$work/stage" "$cmake" --install "$build" --prefix /opt/nagitori --strip >"$work/install.log" 2>&1 || {
    cat "$work/install.log" >&2
    fail "staged install failed"
}
check_tree "$work/stage/opt/nagitori" /opt/nagitori

if [[ $failures -gt 0 ]]; then
    exit 1
fi
if [[ -z $validator ]]; then
    echo "desktop-file-validate is not installed (scripts/install-deps.sh installs it)"
    exit 77
fi
echo "installed trees, launcher entries and uninstalls are sound"
