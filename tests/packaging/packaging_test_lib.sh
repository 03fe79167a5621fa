# Shared by the packaging tests: failure and skip bookkeeping, and the files an install holds.

failures=0
skips=()

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# need TOOL PACKAGE: true when TOOL is on the PATH, else the check that needs it is skipped.
need() {
    command -v "$1" >/dev/null && return 0
    skips+=("$1 is not installed (Debian package $2)")
    return 1
}

# Exit status for ctest: 1 on any failure, 77 (skipped) when a check could not run, else 0.
finish() {
    if ((failures)); then
        echo "$failures check(s) failed"
        exit 1
    fi
    if ((${#skips[@]})); then
        printf 'skipped: %s\n' "${skips[@]}"
        exit 77
    fi
    echo "all checks passed"
    exit 0
}

# same_lines WHAT LIST1 LIST2: the two newline-separated lists hold the same lines, in any order.
same_lines() {
    local differences
    differences=$(diff <(sort <<<"$2") <(sort <<<"$3")) && return 0
    fail "$1 differ (< first, > second):"
    echo "$differences" >&2
    return 1
}

# installed_files APP_ID GUI: every file an install holds, relative to the prefix, for a build
# with (GUI=1) or without (GUI=0) the window program.
installed_files() {
    local app_id=$1 gui=$2
    echo bin/mirelon-cli
    echo share/bash-completion/completions/mirelon-cli
    echo share/man/man1/mirelon-cli.1.gz
    if ((gui)); then
        echo bin/mirelon
        echo "share/applications/$app_id.desktop"
        echo "share/metainfo/$app_id.metainfo.xml"
        echo "share/icons/hicolor/scalable/apps/$app_id.svg"
        echo "share/icons/hicolor/256x256/apps/$app_id.png"
        echo share/man/man1/mirelon.1.gz
    fi
}

# help_commands CLI: the command names the overview --help lists.
help_commands() {
    "$1" --help | sed -n '/^Commands:/,/^$/p' | sed -nE 's/^  ([a-z][a-z-]*)  .*/\1/p'
}
