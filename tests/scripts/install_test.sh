#!/usr/bin/env bash
# The install puts every program, its manual page and its completion where
# they belong, the desktop program's entry passes desktop-file-validate, and
# the completions offer the options and the views.
# Usage: install_test.sh BUILD_DIR SOURCE_DIR
build=$1 source=$2 status=0
dir=$(mktemp -d) && trap 'rm -rf "$dir"' EXIT
cmake --install "$build" --prefix "$dir/usr" >/dev/null || { echo "cmake --install failed"; exit 1; }
expect=(bin/quorval-convert share/man/man1/quorval-convert.1 share/bash-completion/completions/quorval-convert)
if [ -e "$build/quorval" ]; then
  expect+=(bin/quorval bin/quorval-plot share/man/man1/quorval.1 share/man/man1/quorval-plot.1
           share/bash-completion/completions/quorval-plot share/applications/quorval.desktop
           share/icons/hicolor/scalable/apps/quorval.svg)
  said=$(desktop-file-validate "$dir/usr/share/applications/quorval.desktop" 2>&1) ||
    { echo "desktop-file-validate: ${said:-not found}"; status=1; }
  [ -z "$said" ] || { echo "desktop-file-validate: $said"; status=1; }
fi
for file in "${expect[@]}"; do [ -e "$dir/usr/$file" ] || { echo "not installed: $file"; status=1; }; done
"$dir/usr/bin/quorval-convert" --version | grep -qx 'quorval-convert 103' || { echo "installed converter"; status=1; }
# What a completion offers after the words typed so far.
offers() {  # offers SCRIPT FUNCTION WORD...
  local script=$1 function=$2; shift 2
  bash -c 'shopt -s extglob; source "$1"; f=$2; shift 2; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1));
           "$f"; printf "%s\n" "${COMPREPLY[@]}"' _ "$script" "$function" "$@"
}
completions=$source/data/completion
offers "$completions/quorval-convert" _quorval_convert quorval-convert --g | grep -qx -- --gnss ||
  { echo "quorval-convert --g does not complete to --gnss"; status=1; }
offers "$completions/quorval-plot" _quorval_plot quorval-plot --view s | sort | tr '\n' ' ' | grep -qx 'sats signal sky ' ||
  { echo "quorval-plot --view s does not offer sats, signal, sky"; status=1; }
exit $status
