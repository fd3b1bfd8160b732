# The player's own Wine prefix, made once: Japanese locale and fonts so that menus, captions
# and the version box render as designed, and no virtual desktop: Wine 8's virtual desktop lays
# the icons out right to left (● 4 3 2 1), with or without its taskbar.

quor6_player_prefix() {
  local data=${XDG_DATA_HOME:-$HOME/.local/share}/quor6
  export WINEPREFIX=$data/prefix
  export WINEDEBUG=${WINEDEBUG:--all}
  export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml="}
  # A private Japanese locale: the system's own locales are left alone.
  if [[ ! -d $data/locale/ja_JP.UTF-8 ]]; then
    mkdir -p "$data/locale"
    localedef -i ja_JP -f UTF-8 "$data/locale/ja_JP.UTF-8" >/dev/null 2>&1 || true
  fi
  export LOCPATH=$data/locale LANG=ja_JP.UTF-8
  unset LC_ALL
  [[ -f $WINEPREFIX/.quor6-ready ]] && return 0
  echo "play: preparing the Wine prefix $WINEPREFIX (once)"
  local wine
  wine=$(quor6_wine_loader)
  "$wine" wineboot -i >/dev/null 2>&1
  # Debian's Wine does not find its own fonts; copy them where it looks.
  cp -n /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
  # The version box asks for "ＭＳ ゴシック"; use the installed IPA gothic in its place.
  "$wine" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'ＭＳ ゴシック' /d 'IPAGothic' /f >/dev/null 2>&1
  "$wine" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'MS Gothic' /d 'IPAGothic' /f >/dev/null 2>&1
  "$wine" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'MS UI Gothic' /d 'IPAGothic' /f >/dev/null 2>&1
  wineserver -w >/dev/null 2>&1 || true
  touch "$WINEPREFIX/.quor6-ready"
}

# Keeps the icons out of the desktop's own notification area (XFCE, LXDE, MATE and window-manager
# panels: the freedesktop XEmbed tray). Wine 8 docks every icon there whenever such a tray runs,
# and the tray decides the order: trayer, for one, shows ● 4 3 2 1. Wine has no setting against
# it (ShowSystray=N only hides its own tray window), so wine-own-tray.c, preloaded into Wine's
# processes, hides the tray from Wine, which then shows 1 2 3 4 ● in its own "Wine System Tray"
# window, as it does where no desktop tray runs. Built once per source change, for each word
# size Wine runs here; without a C compiler the icons dock as before, with a warning.
quor6_own_tray() {
  local data=${XDG_DATA_HOME:-$HOME/.local/share}/quor6
  local source=$QUOR6_ROOT/scripts/lib/wine-own-tray.c dir=$data/own-tray
  local sizes=(native) size arch lib
  quor6_wine32_works && sizes+=(-m32)
  for size in "${sizes[@]}"; do
    local flags=()
    [[ $size == native ]] || flags=("$size")
    # "$LIB" in LD_PRELOAD becomes the loading process's library directory (lib/<multiarch>).
    arch=$(cc "${flags[@]}" -print-multiarch 2>/dev/null) || arch=
    lib=$dir/lib/$arch/wine-own-tray.so
    [[ -n $arch && -f $lib && $lib -nt $source ]] && continue
    mkdir -p "$(dirname "$lib")"
    if [[ -z $arch ]] || ! cc "${flags[@]}" -shared -fPIC -O2 -o "$lib" "$source" -ldl; then
      echo "play: could not build $lib; the icons may dock into the desktop's tray in its own order" >&2
      return 0
    fi
  done
  export LD_PRELOAD="$dir/\$LIB/wine-own-tray.so${LD_PRELOAD:+:$LD_PRELOAD}"
}

# Starts an already built quor6.exe as the player gets it: their prefix, their tray.
quor6_launch() {
  local exe=$1
  quor6_player_prefix
  quor6_own_tray
  echo "play: starting $exe (quit with the sphere icon's menu: 終了)"
  exec "$(quor6_wine_loader)" "$exe"
}
