#!/usr/bin/env bash
# make install: installs the built program, stripped, under the prefix and says where everything went.
# Usage: install.sh <build dir> <prefix>
set -euo pipefail
build=$1
prefix=$(realpath -m -s -- "$2")

cmake --install "$build" --prefix "$prefix" --strip >/dev/null
cat <<END
Installed under $prefix:
  command:          $prefix/bin/nagitori (a link to the program)
  program and help: $prefix/lib/nagitori/ (nagitori, readme.txt; your settings file nagitori.ini goes here too
                    while you may write this folder and are not root; otherwise to ~/.config/ナギトリ/)
  menu entry:       $prefix/share/applications/nagitori.desktop
  icon:             $prefix/share/icons/hicolor/scalable/apps/nagitori.svg
  manual page:      $prefix/share/man/man1/nagitori.1
  list of these:    $prefix/lib/nagitori/install_manifest.txt (make uninstall removes what it names)
END
case ":$PATH:" in
  *":$prefix/bin:"*) ;;
  *)
    echo "$prefix/bin is not on PATH, so the command 'nagitori' is not found in this shell yet."
    if [[ $prefix == "${HOME:-}/.local" && $(id -u) -ne 0 ]]; then
      echo "Debian's ~/.profile adds it at login now that it exists: log in again, or for now run:"
    else
      echo "Add it to PATH, for this shell with:"
    fi
    echo "  export PATH=\"$prefix/bin:\$PATH\""
    ;;
esac
