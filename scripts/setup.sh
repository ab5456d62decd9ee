#!/usr/bin/env bash
# Installs what the build and the tests need and is missing, generates the Japanese locale and
# creates the Wine prefix inside the build folder. Idempotent: with everything present it only checks.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

packages=(cmake ninja-build g++ g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine64 xvfb xauth xdotool
          imagemagick python3 locales fonts-ipafont-gothic fonts-ipafont-mincho doctest-dev clang
          libsdl2-dev libpixman-1-dev libsdl2-gfx-dev sox libsox-fmt-base pulseaudio
          pulseaudio-utils doxygen make dpkg-dev nasm libogg-dev libvorbis-dev libspng-dev
          libjpeg62-turbo-dev zlib1g-dev libz-mingw-w64-dev g++-multilib
          fonts-dejavu-core fonts-nanum)
# Direct3D 11 under Wine renders through OpenGL: Mesa's software renderer (llvmpipe) on Xvfb.
packages+=(libgl1-mesa-dri libglx-mesa0 libegl-mesa0)

sudo_cmd=()
if [ "$(id -u)" != 0 ]; then sudo_cmd=(sudo); fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
# Debian's source packages, for the libraries built here for the Windows targets (scripts/deps.sh):
# a deb-src entry for the same archive and suites as the binary packages.
src_list=/etc/apt/sources.list.d/pyro-deb-src.sources
if ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ && ! grep -qs '^deb-src ' /etc/apt/sources.list; then
  echo "setup: adding a deb-src entry for Debian's source packages"
  printf '%s\n' 'Types: deb-src' 'URIs: http://deb.debian.org/debian' 'Suites: bookworm bookworm-updates' \
    'Components: main' 'Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg' | "${sudo_cmd[@]}" tee "$src_list" >/dev/null
  missing+=(dpkg-dev)   # forces the apt-get update below
fi
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get -o DPkg::Lock::Timeout=900 install -y -qq --no-install-recommends "${missing[@]}" </dev/null
fi

# Japanese (Wine's ANSI code page 932, as on the Windows the game is written for) and English
# (code page 1252): the Windows tests run under both.
for loc in ja_JP en_US; do
  if ! locale -a 2>/dev/null | grep -qi "^$loc\.utf-\?8$"; then
    echo "setup: generating $loc.UTF-8"
    "${sudo_cmd[@]}" sed -i "s/^# *$loc.UTF-8/$loc.UTF-8/" /etc/locale.gen
    grep -q "^$loc.UTF-8" /etc/locale.gen || echo "$loc.UTF-8 UTF-8" | "${sudo_cmd[@]}" tee -a /etc/locale.gen >/dev/null
    "${sudo_cmd[@]}" locale-gen >/dev/null
  fi
done

# prepare_prefix <prefix> [LogPixels]: creates a Wine prefix once and sets it up for the program;
# with a DPI it also sets the screen's (96 is 100 %).
prepare_prefix() {
  export WINEPREFIX="$1"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "setup: creating the Wine prefix $WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    # No Mono or Gecko: the program needs neither, and their installers would ask questions.
    WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 \
      DISPLAY= /usr/lib/wine/wine64 wineboot -i </dev/null >/dev/null 2>&1
    /usr/lib/wine/wineserver -w || true
  fi
  # Unmanaged windows: with no window manager under Xvfb, Wine would otherwise wait up to two
  # seconds for one each time a window is hidden or destroyed.
  if ! grep -q '"Managed"="N"' "$WINEPREFIX/user.reg" 2>/dev/null; then
    WINEDEBUG=-all DISPLAY= /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f \
      </dev/null >/dev/null 2>&1
    /usr/lib/wine/wineserver -w || true
  fi
  # ...except for the programs named *_managed.exe, copies that the exit tests run as a player's
  # Wine runs them, managed by a window manager that is not there: a hidden window then waits the
  # two seconds, so these catch a window that would linger frozen at the end.
  for program in test_app_managed.exe PyroPlaza_managed.exe; do
    if ! grep -qF "AppDefaults\\\\$program\\\\X11 Driver" "$WINEPREFIX/user.reg" 2>/dev/null; then
      WINEDEBUG=-all DISPLAY= /usr/lib/wine/wine64 reg add "HKCU\\Software\\Wine\\AppDefaults\\$program\\X11 Driver" \
        /v Managed /t REG_SZ /d Y /f </dev/null >/dev/null 2>&1
      /usr/lib/wine/wineserver -w || true
    fi
  done
  # The system's Japanese font names map to the IPA fonts, also in their vertical "@" forms (without
  # this, Wine picks whatever font covers the character set, and "@" names fall to a font without
  # Latin letters).
  if ! grep -q '="IPAPMincho"' "$WINEPREFIX/user.reg" 2>/dev/null; then
    for pair in "ＭＳ ゴシック=IPAGothic" "ＭＳ Ｐゴシック=IPAPGothic" "ＭＳ 明朝=IPAMincho" "ＭＳ Ｐ明朝=IPAPMincho"; do
      WINEDEBUG=-all LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 DISPLAY= /usr/lib/wine/wine64 reg add \
        'HKCU\Software\Wine\Fonts\Replacements' /v "${pair%%=*}" /t REG_SZ /d "${pair#*=}" /f </dev/null >/dev/null 2>&1
    done
    /usr/lib/wine/wineserver -w || true
  fi
  if [ -n "${2:-}" ] && ! grep -q "\"LogPixels\"=dword:$(printf %08x "$2")" "$WINEPREFIX/user.reg" 2>/dev/null; then
    WINEDEBUG=-all DISPLAY= /usr/lib/wine/wine64 reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD \
      /d "$2" /f </dev/null >/dev/null 2>&1
    /usr/lib/wine/wineserver -w || true
  fi
}

prepare_prefix "$root/build/wineprefix"
# A second prefix at 192 DPI (200 %) for the high-DPI test, so that the shared one stays at 96.
prepare_prefix "$root/build/wineprefix-dpi192" 192

# The 32-bit programs run only where the kernel executes 32-bit code, which some machines'
# kernels do not: a tiny static -m32 program tells. The marker build/runs-32bit makes ./test run
# the 32-bit tests; without it they are built but not run.
marker="$root/build/runs-32bit"
probe="$(mktemp -d)"
printf 'int main(void) { return sizeof(void*) == 4 ? 0 : 1; }\n' >"$probe/probe.c"
if gcc -m32 -static "$probe/probe.c" -o "$probe/probe" 2>/dev/null && "$probe/probe" 2>/dev/null; then
  touch "$marker"
else
  rm -f "$marker"
  echo "setup: this machine cannot execute 32-bit programs: the 32-bit Windows tests will be built, not run; native32 is left out"
fi
rm -rf "$probe"
if [ -f "$marker" ]; then
  if ! dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q 'install ok installed'; then
    echo "setup: installing 32-bit Wine (wine32:i386)"
    dpkg --print-foreign-architectures | grep -qx i386 || "${sudo_cmd[@]}" dpkg --add-architecture i386
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get -o DPkg::Lock::Timeout=900 install -y -qq \
      --no-install-recommends wine32:i386 </dev/null
  fi
  # Prefixes of their own for the 32-bit programs, made once 32-bit Wine is there.
  prepare_prefix "$root/build/wineprefix32"
  prepare_prefix "$root/build/wineprefix32-dpi192" 192
fi

# The decoding libraries for the two Windows targets, and for the 32-bit native build where it
# can run, from Debian's sources (cached in build/deps).
"$root/scripts/deps.sh" mingw32 mingw64
if [ -f "$marker" ]; then
  "$root/scripts/deps.sh" native32
fi
