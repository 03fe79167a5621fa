#!/usr/bin/env bash
# The man page and the bash completion against the program's own --help: the same commands,
# usage lines, options, checksum methods, formats and exit codes, so that none drifts. Every
# method and format offered is also tried on the program.
# Usage: cli_docs_test.sh MIRELON_CLI MAN_PAGE COMPLETION
set -uo pipefail
source "$(dirname "$0")/packaging_test_lib.sh"
cli=$1 page=$2 completion=$3

# Man page source as plain text: no font changes, "\-" as "-".
plain() { sed -e 's/\\f[BIRP]//g' -e 's/\\-/-/g'; }

# The usage line that follows ".SY mirelon-cli" and starts with COMMAND.
man_usage() {
    plain <"$page" | awk -v command="$1" '
        synopsis { if ($1 == command) print "mirelon-cli " $0; synopsis = 0 }
        /^\.SY mirelon-cli$/ { synopsis = 1 }'
}

# The lines of the ".SS COMMAND" subsection (or ".SH SECTION" when the second argument is SH).
man_section() {
    plain <"$page" | awk -v name="$1" -v kind=".${2:-SS}" '
        /^\.S[SH] / { inside = ($1 == kind && substr($0, 5) == name); next }
        inside'
}

# The option lines that follow ".TP" in a section.
man_options() { awk 'tp { print; tp = 0 } /^\.TP/ { tp = 1 }'; }

# The text describing one option (given by its heading line), up to the next paragraph macro.
man_option_text() {
    awk -v heading="$1" '
        /^\.(TP|PP|SS|SH)/ { inside = 0 }
        inside && !/^\./ { print }
        $0 == heading { inside = 1 }'
}

help_usage() { "$cli" "$1" --help | sed -n '1s/^Usage: //p'; }

# Option headings of a command's --help ("--method NAME", "-q, --quiet"), one a line.
help_options() {
    "$cli" "$1" --help | sed -nE 's/^  ((-[a-zA-Z], )?--[a-z-]+( [A-Z]+)?)( {2,}.*)?$/\1/p'
}

# The description of one option in --help: its own line and the deeper-indented ones after it.
help_option_text() {
    "$cli" "$1" --help | awk -v heading="$2" '
        inside && /^      / { print; next }
        { inside = 0 }
        index($0, "  " heading "  ") == 1 { inside = 1; print substr($0, length(heading) + 3) }'
}

method_names() { grep -oE '\b[A-Z][A-Z0-9]{2,}\b' | sort -u; }

# completions WORD...: what the completion offers for the last word, one a line.
completions() {
    bash -c 'source "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); _mirelon_cli
        printf "%s\n" "${COMPREPLY[@]}"' _ "$completion" mirelon-cli "$@"
}

commands=$(help_commands "$cli")
[ -n "$commands" ] || fail "mirelon-cli --help lists no commands"
same_lines "commands of --help and of the man page" "$commands" \
    "$(plain <"$page" | sed -n 's/^\.SS //p')"
same_lines "commands of --help and of the completion" "$commands" \
    "$(completions "" | grep -vx help)"

for command in $commands; do
    usage=$(help_usage "$command")
    [ "$(man_usage "$command")" = "$usage" ] ||
        fail "$command: man page synopsis '$(man_usage "$command")' is not --help's '$usage'"

    # -h, --help is described once for every command, under OPTIONS.
    options=$(help_options "$command")
    [ -n "$options" ] || fail "$command --help lists no options"
    same_lines "$command: options of --help and of the man page" "$(grep -vx -- '-h, --help' <<<"$options")" \
        "$(man_section "$command" | man_options)"
    same_lines "$command: long options of --help and of the completion" \
        "$(grep -oE -- '--[a-z-]+' <<<"$options")" "$(completions "$command" -)"

    if grep -q -- '^--method ' <<<"$options"; then
        methods=$(help_option_text "$command" "--method NAME" | method_names)
        [ -n "$methods" ] || fail "$command --help names no methods"
        same_lines "$command: methods of --help and of the man page" "$methods" \
            "$(man_section "$command" | man_option_text '--method NAME' | method_names)"
        same_lines "$command: methods of --help and of the completion" "$methods" \
            "$(completions "$command" --method '')"
        for method in $methods; do
            "$cli" "$command" --method "$method" --help >/dev/null 2>&1 ||
                fail "$command refuses --method $method"
        done
    fi
    if grep -q -- '^--format ' <<<"$options"; then
        formats=$(grep -oE -- '--format [a-z|]+' <<<"$usage" | cut -d' ' -f2 | tr '|' '\n')
        same_lines "$command: formats of the usage line and of the completion" "$formats" \
            "$(completions "$command" --format '')"
        for format in $formats; do
            "$cli" "$command" --format "$format" --help >/dev/null 2>&1 ||
                fail "$command refuses --format $format"
        done
    fi
done

same_lines "options for every command in the man page" "$(printf '%s\n' '-h, --help' --version)" \
    "$(man_section OPTIONS SH | man_options)"
"$cli" --version >/dev/null || fail "mirelon-cli --version failed"

# "Exit status: 0 success; 1 ...; 2 ...; 130 ..." in the overview.
help_codes=$("$cli" --help | sed -n '/^Exit status:/,/^$/p' | tr '\n' ' ' |
    grep -oE '(: |; )[0-9]+ ' | grep -oE '[0-9]+')
[ -n "$help_codes" ] || fail "mirelon-cli --help names no exit codes"
same_lines "exit codes of --help and of the man page" "$help_codes" \
    "$(man_section 'EXIT STATUS' SH | man_options | sed 's/^\.B //')"

finish
