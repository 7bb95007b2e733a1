#!/usr/bin/env bash
# Installs Vellumar into a temporary root and checks it as a desktop would see
# it: the files and their permissions, the desktop entry, the spellbook file
# type and its handler, and the installed programs themselves.
#
# The Debian package is built with cpack and unpacked with dpkg -x when the
# Debian tools are there; otherwise `cmake --install` fills the root.
# Exits 77 (skipped) when a needed tool is missing.
# usage: install_test.sh BUILD_DIR
set -euo pipefail

build=${1:?usage: install_test.sh BUILD_DIR}

skip() {
    echo "SKIPPED: $*"
    exit 77
}
fail() {
    echo "FAILED: $*" >&2
    exit 1
}
for tool in cmake desktop-file-validate update-mime-database update-desktop-database xdg-mime timeout; do
    command -v "$tool" >/dev/null || skip "$tool is not installed"
done

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
root=$tmp/root
prefix=$root/usr

# 1. Install.
# CPack's dependency scan needs dpkg-shlibdeps and file.
if command -v cpack >/dev/null && command -v dpkg-deb >/dev/null &&
    command -v dpkg-shlibdeps >/dev/null && command -v file >/dev/null &&
    [ -f "$build/CPackConfig.cmake" ]; then
    echo "== Debian package"
    cpack -G DEB -B "$tmp/package" --config "$build/CPackConfig.cmake" >"$tmp/cpack.log" 2>&1 ||
        { cat "$tmp/cpack.log"; fail "cpack could not build the package"; }
    deb=$(echo "$tmp"/package/*.deb)
    [ -f "$deb" ] || fail "no package in $tmp/package"
    dpkg-deb -x "$deb" "$root"
    [ "$(dpkg-deb -f "$deb" Package)" = vellumar ] || fail "package name"
    depends=$(dpkg-deb -f "$deb" Depends)
    # Linked libraries come from dpkg-shlibdeps, plug-ins are named by hand.
    for package in libqt6widgets6 libqt6svg6 qt6-qpa-plugins; do
        [[ ", $depends," == *", $package"[\ ,]* ]] || fail "Depends lacks $package: $depends"
    done
else
    echo "== cmake --install (no Debian packaging tools)"
    cmake --install "$build" --prefix "$prefix" >"$tmp/install.log" ||
        { cat "$tmp/install.log"; fail "cmake --install"; }
fi

# 2. The files, where desktops and the program look for them.
for program in vellumar vellumar-cli; do
    [ -x "$prefix/bin/$program" ] || fail "bin/$program is missing or not executable"
done
for file in share/vellumar/MASTER.DAT share/vellumar/Vellumar.HLP share/vellumar/MASTER.README.md \
    share/applications/vellumar.desktop share/mime/packages/vellumar.xml \
    share/icons/hicolor/scalable/apps/vellumar.svg \
    share/icons/hicolor/scalable/mimetypes/application-x-vellumar-spellbook.svg; do
    [ -f "$prefix/$file" ] || fail "$file is missing"
done
for file in "$prefix"/share/vellumar/*; do
    mode=$(stat -c %a "$file")
    ((8#$mode & 8#222)) && fail "${file#"$root"} is writable (mode $mode)"
done

# 3. The desktop entry.
desktop=$prefix/share/applications/vellumar.desktop
desktop-file-validate "$desktop" || fail "desktop-file-validate"
grep -qx 'Exec=vellumar %F' "$desktop" || fail "the desktop entry does not pass files on"
grep -qx 'MimeType=application/x-vellumar-spellbook;' "$desktop" || fail "MimeType line"

# 4. The file type, and the desktop entry as its handler, in a private home
# whose only data folder is the installation's.
mkdir -p "$tmp/home/.config" "$tmp/home/.local/share" "$tmp/runtime" "$tmp/work"
chmod 700 "$tmp/runtime"
in_home=(env -i PATH="$prefix/bin:$PATH" HOME="$tmp/home" XDG_CONFIG_HOME="$tmp/home/.config"
    XDG_DATA_HOME="$tmp/home/.local/share" XDG_DATA_DIRS="$prefix/share"
    XDG_RUNTIME_DIR="$tmp/runtime")
"${in_home[@]}" update-mime-database "$prefix/share/mime"
for pattern in '\*\.spb' '\*\.SPB'; do
    grep -q ":application/x-vellumar-spellbook:$pattern" "$prefix/share/mime/globs2" ||
        fail "globs2 lacks ${pattern//\\/}"
done
update-desktop-database "$prefix/share/applications"
handler=$("${in_home[@]}" xdg-mime query default application/x-vellumar-spellbook)
[ "$handler" = vellumar.desktop ] || fail "xdg-mime gives '$handler' as the handler"

# 5. The installed programs: a book made by the command-line tool from the
# installed master list, opened as a file manager would open it.
book=$tmp/work/Zarinth.SPB
"$prefix/bin/vellumar-cli" fill --master "$prefix/share/vellumar/MASTER.DAT" --output "$book" \
    --level 9 --intelligence 16 --specialty Invoker --seed 11 || fail "vellumar-cli fill"
[ -s "$book" ] || fail "vellumar-cli wrote no book"
spells=$(grep -c '^[1-9],' "$prefix/share/vellumar/MASTER.DAT")

# The Exec line's words, with the file manager's %F replaced by the book.
read -r -a command_line <<<"$(sed -n 's/^Exec=//p' "$desktop")"
for i in "${!command_line[@]}"; do
    [ "${command_line[$i]}" = %F ] && command_line[$i]=$book
done
command_line+=(--quit-after-start)
touch "$tmp/before"
status=0
(cd "$tmp/work" && "${in_home[@]}" QT_QPA_PLATFORM=offscreen ASAN_OPTIONS="${ASAN_OPTIONS:-}" \
    UBSAN_OPTIONS="${UBSAN_OPTIONS:-}" timeout 60 "${command_line[@]}") \
    >"$tmp/out" 2>"$tmp/err" || status=$?
cat "$tmp/out"
[ "$status" -eq 0 ] || { cat "$tmp/err"; fail "the program exited with $status"; }
expected=$(printf '%s\n' \
    "settings: $tmp/home/.config/vellumar/Vellumar.INI" \
    "help file: $prefix/share/vellumar/Vellumar.HLP" \
    "master list: $spells spells" \
    "spellbook windows: 1")
[ "$(cat "$tmp/out")" = "$expected" ] || fail "start-up report differs; expected:
$expected"
[ -d "$tmp/home/.config/vellumar" ] || fail "no settings folder in the user's configuration folder"
written=$(find "$root" -newer "$tmp/before" ! -type d)
[ -z "$written" ] || fail "the program wrote into its installation: $written"

echo "install test passed"
