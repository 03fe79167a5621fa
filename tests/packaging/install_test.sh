#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what lands there: the exact file list,
# programs that run from there, and the desktop entry, AppStream metadata, man pages and
# completion as the platform's own tools see them.
# Usage: install_test.sh BUILD_DIR APP_ID GUI(0|1)
set -uo pipefail
source "$(dirname "$0")/packaging_test_lib.sh"
build=$1 app_id=$2 gui=$3

prefix=$(mktemp -d)
data_home=$(mktemp -d)
trap 'rm -rf "$prefix" "$data_home"' EXIT
if ! cmake --install "$build" --prefix "$prefix" >"$prefix.log" 2>&1; then
    cat "$prefix.log" >&2
    rm -f "$prefix.log"
    fail "cmake --install failed"
    finish
fi
rm -f "$prefix.log"

same_lines "expected and installed files" "$(installed_files "$app_id" "$gui")" \
    "$(cd "$prefix" && find . -type f -printf '%P\n')"

# The installed programs run from the prefix and keep no run path into the build tree.
cli="$prefix/bin/mirelon-cli"
"$cli" --version >/dev/null || fail "the installed mirelon-cli --version failed"

# Installed in a bin folder, the programs keep their catalog in the user's data folder.
mkdir "$data_home/tree" && echo content >"$data_home/tree/a"
XDG_DATA_HOME="$data_home/xdg" "$cli" scan --quiet "$data_home/tree" >/dev/null ||
    fail "the installed mirelon-cli cannot scan"
[ -f "$data_home/xdg/mirelon/files.db" ] ||
    fail "the installed mirelon-cli keeps its catalog elsewhere than \$XDG_DATA_HOME/mirelon/"
[ ! -e "$prefix/bin/files.db" ] || fail "the installed mirelon-cli writes into its bin folder"
for program in "$prefix"/bin/*; do
    run_paths=$(readelf -d "$program" | grep -E 'R(UN)?PATH')
    if [[ $run_paths == *"$build"* ]]; then
        fail "$program keeps a run path into the build folder"
    fi
done

if need man man-db; then
    for page in "$prefix"/share/man/man1/*.1.gz; do
        warnings=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
        [ -z "$warnings" ] || fail "man warns about $(basename "$page"): $warnings"
        grep -q '^FILES' <<<"$(MANWIDTH=80 man -l "$page" 2>/dev/null)" ||
            fail "$(basename "$page") renders without its FILES section"
    done
fi

completion="$prefix/share/bash-completion/completions/mirelon-cli"
offered=$(bash -c 'source "$1"; complete -p mirelon-cli >/dev/null || exit 1
    COMP_WORDS=(mirelon-cli ""); COMP_CWORD=1; _mirelon_cli; printf "%s\n" "${COMPREPLY[@]}"' \
    _ "$completion") || fail "sourcing the completion does not register it for mirelon-cli"
same_lines "commands of --help and commands the completion offers (less 'help')" \
    "$(help_commands "$cli")" "$(grep -vx help <<<"$offered")"

if ((gui)); then
    desktop="$prefix/share/applications/$app_id.desktop"
    metainfo="$prefix/share/metainfo/$app_id.metainfo.xml"
    if need desktop-file-validate desktop-file-utils; then
        desktop-file-validate "$desktop" || fail "desktop-file-validate rejects $app_id.desktop"
    fi
    if need appstreamcli appstream; then
        appstreamcli validate --no-net "$metainfo" >"$prefix/validate.log" 2>&1 ||
            { cat "$prefix/validate.log" >&2; fail "appstreamcli rejects $app_id.metainfo.xml"; }
    fi

    # The entry starts an installed program and names an installed icon; the metadata names
    # the entry and the programs by the one id.
    entry() { sed -n "s/^$1=//p" "$desktop"; }
    for key in Exec TryExec; do
        program=$(entry "$key" | cut -d' ' -f1)
        [ -x "$prefix/bin/$program" ] || fail "$key=$program is not an installed program"
    done
    icon=$(entry Icon)
    for size in scalable/apps/$icon.svg 256x256/apps/$icon.png; do
        [ -f "$prefix/share/icons/hicolor/$size" ] || fail "icon $size is not installed"
    done
    grep -q "<id>$app_id</id>" "$metainfo" || fail "metainfo id is not $app_id"
    grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" ||
        fail "metainfo does not launch $app_id.desktop"
    for binary in $(sed -n 's:.*<binary>\(.*\)</binary>.*:\1:p' "$metainfo"); do
        [ -x "$prefix/bin/$binary" ] || fail "metainfo provides $binary, which is not installed"
    done
    # PNG header: width and height are the big-endian words at bytes 16 and 20.
    png="$prefix/share/icons/hicolor/256x256/apps/$icon.png"
    size=$(od -An -tu1 -j16 -N8 "$png" | awk '{print $3*256+$4 "x" $7*256+$8}')
    [ "$size" = 256x256 ] || fail "the 256x256 icon is $size"
fi

finish
