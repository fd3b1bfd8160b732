# The player's own Wine prefix, made once: Japanese locale and fonts so that menus, captions
# and the version box render as designed, and no virtual desktop, so the icons stay in order.

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
