#!/usr/bin/env bash
# Builds the Debian package from a finished build, checks what it holds and what it depends
# on, unpacks it into a temporary root and runs the programs from there: the companion, and
# the window on a virtual X display, which must come up with no warning before it.
#   package_test.sh BUILD_FOLDER
set -euo pipefail
build=$(realpath "$1")
work=$(mktemp -d)
trap 'kill "${program:-0}" 2>/dev/null || true; rm -rf "$work"' EXIT

fail() { echo "FAILED: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$work/out") >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; fail "cpack"; }
deb=$(ls "$work"/out/*.deb)

contents=$(dpkg-deb -c "$deb")
for path in ./usr/lib/brevane/TarvonSCP ./usr/lib/brevane/tarvonscp-cli \
            ./usr/lib/brevane/libftp.so ./usr/lib/brevane/libzel4.so \
            "./usr/bin/TarvonSCP -> ../lib/brevane/TarvonSCP" \
            "./usr/bin/tarvonscp-cli -> ../lib/brevane/tarvonscp-cli" \
            ./usr/share/applications/brevane-project-manager.desktop \
            ./usr/share/metainfo/brevane-project-manager.metainfo.xml \
            ./usr/share/icons/hicolor/scalable/apps/brevane-project-manager.svg \
            ./usr/share/icons/hicolor/128x128/apps/brevane-project-manager.png; do
    grep -qF -- "$path" <<<"$contents" || fail "the package lacks $path"
done
if [[ -f "$build/bin/Brevane.chm" ]]; then
    grep -qF ./usr/lib/brevane/Brevane.chm <<<"$contents" || fail "the package lacks the help file"
fi
depends=$(dpkg-deb -f "$deb" Depends)
for library in libqt6widgets6 libcurl4 libc6; do
    grep -q "$library" <<<"$depends" || fail "Depends lacks $library: $depends"
done

dpkg -x "$deb" "$work/root"
version=$("$work/root/usr/bin/tarvonscp-cli" --version)
[[ "$version" == "tarvonscp-cli "* ]] || fail "tarvonscp-cli --version printed '$version'"

# A profile where the greeting was shown, so that only a warning could come before the window.
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$HOME" "$XDG_CONFIG_HOME/Quilldrake" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
printf '[Settings]\nFirstRun=1\n' >"$XDG_CONFIG_HOME/Quilldrake/TarvonSCP.conf"
unset QT_QPA_PLATFORM
windows() { DISPLAY=$display xwininfo -root -tree 2>/dev/null || true; }

display=:$(( 90 + RANDOM % 400 ))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
server=$!
trap 'kill "${program:-0}" "$server" 2>/dev/null || true; rm -rf "$work"' EXIT
for _ in $(seq 50); do windows | grep -q 'Root window' && break; sleep 0.1; done
DISPLAY=$display "$work/root/usr/bin/TarvonSCP" >"$work/program.log" 2>&1 </dev/null &
program=$!
shown=""
for _ in $(seq 100); do
    tree=$(windows)
    # A message box is captioned with the program's name (Qt's 1x1 leader window has no class).
    grep -q '"TarvonSCP": ("' <<<"$tree" && fail "a message box came up before the window"
    if grep -q '"Brevane Project Manager"' <<<"$tree"; then shown=yes; break; fi
    kill -0 "$program" 2>/dev/null || { cat "$work/program.log"; fail "the program ended"; }
    sleep 0.1
done
[[ -n "$shown" ]] || { cat "$work/program.log"; fail "no window within 10 seconds"; }
echo "package: $(basename "$deb"), $(wc -l <<<"$contents") entries; the installed window came up"
