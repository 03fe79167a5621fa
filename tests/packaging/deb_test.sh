#!/usr/bin/env bash
# Builds the Debian package as tools/package does and checks it: its name and version, its
# files (the same as an install's, owned by root, stripped programs), no maintainer scripts,
# a dependency for every library the programs load, and that apt can install it here.
# Usage: deb_test.sh BUILD_DIR APP_ID GUI(0|1) VERSION
set -uo pipefail
source "$(dirname "$0")/packaging_test_lib.sh"
build=$1 app_id=$2 gui=$3 version=$4

for tool in dpkg-deb:dpkg dpkg-shlibdeps:dpkg-dev apt-get:apt; do
    need "${tool%%:*}" "${tool#*:}" || finish
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if ! cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work" >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log" >&2
    fail "cpack failed"
    finish
fi
arch=$(dpkg --print-architecture)
deb="$work/mirelon_${version}_$arch.deb"
[ -f "$deb" ] || { fail "no $(basename "$deb") made: $(ls "$work")"; finish; }

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = mirelon ] || fail "package name is '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "package version '$(field Version)' is not $version"
[ "$(field Architecture)" = "$arch" ] || fail "package architecture is '$(field Architecture)'"

# Files: what an install into /usr holds, owned by root, nothing writable but by its owner.
contents=$(dpkg-deb --contents "$deb")
same_lines "expected files and the package's files" \
    "$(installed_files "$app_id" "$gui" | sed 's:^:usr/:')" \
    "$(awk '$1 ~ /^-/ { sub("^\\./", "", $6); print $6 }' <<<"$contents")"
awk '$2 != "root/root" || $1 ~ /^.....w|^........w/' <<<"$contents" | grep . >&2 &&
    fail "package entries not owned by root or writable by others (above)"
awk '$6 ~ /^\.\/usr\/bin\/./ && $1 != "-rwxr-xr-x"' <<<"$contents" | grep . >&2 &&
    fail "programs without mode 755 (above)"

control=$(dpkg-deb --ctrl-tarfile "$deb" | tar -t | sed 's:^\./::' | grep -v '^$')
same_lines "control members (no maintainer scripts)" "$(printf '%s\n' control md5sums)" "$control"

# Each library a program names must come with a package the package depends on.
root="$work/root"
dpkg-deb -x "$deb" "$root"
depends=$(field Depends | tr ',|' '\n\n' | sed -E 's/^ *([^ (]+).*/\1/')
for program in "$root"/usr/bin/*; do
    name=$(basename "$program")
    grep -q '\.debug_info' <<<"$(readelf -S --wide "$program")" && fail "$name is not stripped"
    resolved=$(ldd "$program")
    for library in $(readelf -d "$program" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'); do
        path=$(awk -v l="$library" '$1 == l && $2 == "=>" { print $3 }' <<<"$resolved")
        [ -n "$path" ] || { fail "$name: $library is not found"; continue; }
        owner=
        for candidate in "$path" "$(realpath "$path")" "${path#/usr}" "/usr$path"; do
            owner=$(dpkg -S "$candidate" 2>/dev/null | head -1 | cut -d: -f1) && [ -n "$owner" ] &&
                break
        done
        [ -n "$owner" ] || { fail "$name: no package holds $path"; continue; }
        grep -qx "$owner" <<<"$depends" ||
            fail "$name loads $library from $owner, which the package does not depend on"
    done
done
grep -qF "$version" <<<"$("$root/usr/bin/mirelon-cli" --version)" ||
    fail "the packaged mirelon-cli --version does not say $version"

# apt resolves every dependency against this machine's packages.
if ! apt-get install --simulate "$deb" >"$work/apt.log" 2>&1 ||
    ! grep -q '^Inst mirelon \|mirelon is already the newest version' "$work/apt.log"; then
    cat "$work/apt.log" >&2
    fail "apt-get cannot install the package"
fi

finish
