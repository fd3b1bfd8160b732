# shellcheck shell=bash
# Wine + Xvfb helpers shared by scripts/play, scripts/test and tests/e2e/run. Source this file;
# every function returns non-zero on failure and says why on stderr.
#
#   wine_env_flavour                  print "win32" if 32-bit Wine runs here, else "win64"
#   wine_env_export FLAVOUR ROOT      export the Wine variables for FLAVOUR; ROOT is the build
#                                     root holding locale/ and wine/ (e.g. <repo>/build)
#   wine_env_locale ROOT              make ROOT/locale/ja_JP.UTF-8 if it is missing
#   wine_env_template ROOT FLAVOUR    make or reuse ROOT/wine/template-FLAVOUR; print its path
#   wine_env_start_xvfb DIR           start a private Xvfb on a free display; print ":N";
#                                     its PID goes to DIR/xvfb.pid
#   wine_env_start_prefix TEMPLATE DIR  copy the template to DIR/prefix, start its own
#                                     persistent wineserver (PID in DIR/wineserver.pid) and
#                                     export WINEPREFIX
#   wine_env_cleanup DIR              end the prefix's processes and the Xvfb of DIR, by PID

readonly WINE_ENV_SCREEN=1024x768x24   # depth 24: the tray pictures are compared pixel by pixel
readonly WINE_ENV_LOCALE=ja_JP.UTF-8
readonly WINE_ENV_TEMPLATE_VERSION=2   # raise when the template's recipe changes

wine_env_flavour() {
    if /usr/lib/wine/wine --version >/dev/null 2>&1; then
        echo win32
    else
        echo win64
    fi
}

wine_env_export() {
    local flavour=$1 root=$2
    case $flavour in
        win32) WINE_BIN=/usr/lib/wine/wine ;;
        win64) WINE_BIN=/usr/lib/wine/wine64 ;;
        *) echo "wine-env: unknown flavour '$flavour'" >&2; return 1 ;;
    esac
    # One server binary serves both flavours; the 64-bit one is preferred when present.
    if [[ -x /usr/lib/wine/wineserver64 ]]; then
        WINESERVER_BIN=/usr/lib/wine/wineserver64
    else
        WINESERVER_BIN=/usr/lib/wine/wineserver32
    fi
    export WINE_BIN WINESERVER_BIN
    export WINEARCH=$flavour WINELOADER=$WINE_BIN
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="   # no Mono or Gecko installer at first start
    export LOCPATH=$root/locale LANG=$WINE_ENV_LOCALE
    unset LC_ALL
}

wine_env_locale() {
    local root=$1
    [[ -d $root/locale/$WINE_ENV_LOCALE ]] && return 0
    mkdir -p "$root/locale"
    # localedef exits 1 for mere warnings; the directory is what counts.
    localedef -i ja_JP -f UTF-8 "$root/locale/$WINE_ENV_LOCALE" >/dev/null 2>&1 || true
    if [[ ! -d $root/locale/$WINE_ENV_LOCALE ]]; then
        echo "wine-env: localedef could not make $root/locale/$WINE_ENV_LOCALE" >&2
        return 1
    fi
}

# The socket that a running wineserver of the prefix listens on. Debian's Wine keeps its server
# directories under a random /tmp/wine-XXXXXX named in the prefix's "wineserver" file, which
# the server writes when it starts; upstream Wine uses /tmp/.wine-UID.
wine_env_server_socket() {
    local prefix=$1 dev inode base
    read -r dev inode < <(stat -c '%d %i' "$prefix") || return 1
    if [[ -f $prefix/wineserver ]]; then
        base=/tmp/$(cat "$prefix/wineserver")
    else
        base=/tmp/.wine-$(id -u)
    fi
    printf '%s/server-%x-%x/socket\n' "$base" "$dev" "$inode"
}

wine_env_wait_for_server() {
    local prefix=$1 tenths=100
    while ((tenths-- > 0)); do
        [[ -S $(wine_env_server_socket "$prefix") ]] && return 0
        sleep 0.1
    done
    return 1
}

wine_env_start_xvfb() {
    local dir=$1 display_file=$1/xvfb.display
    mkdir -p "$dir"
    : >"$display_file"
    # -displayfd lets Xvfb choose a free display and report it once it accepts clients.
    Xvfb -displayfd 3 -screen 0 "$WINE_ENV_SCREEN" -nolisten tcp 3>"$display_file" \
        >"$dir/xvfb.log" 2>&1 &
    echo $! >"$dir/xvfb.pid"
    local tenths=100
    while ((tenths-- > 0)); do
        if [[ -s $display_file ]]; then
            echo ":$(tr -d '\n' <"$display_file")"
            return 0
        fi
        kill -0 "$(cat "$dir/xvfb.pid")" 2>/dev/null || break
        sleep 0.1
    done
    echo "wine-env: Xvfb did not start (see $dir/xvfb.log)" >&2
    return 1
}

wine_env_start_server() {
    local dir=$1
    # Started first and persistent: otherwise every Wine command starts a server that quits
    # a few seconds after its last client, and the next command pays for a cold start.
    "$WINESERVER_BIN" -f -p >"$dir/wineserver.log" 2>&1 &
    echo $! >"$dir/wineserver.pid"
    if ! wine_env_wait_for_server "$WINEPREFIX"; then
        echo "wine-env: wineserver did not start for $WINEPREFIX" >&2
        return 1
    fi
}

wine_env_start_prefix() {
    local template=$1 dir=$2
    mkdir -p "$dir"
    rm -rf "$dir/prefix"
    cp -a "$template" "$dir/prefix" || return 1
    # The copy's server must not share the template's server directory name.
    rm -f "$dir/prefix/wineserver"
    export WINEPREFIX=$dir/prefix
    wine_env_start_server "$dir"
}

wine_env_kill_pid_file() {
    local pid_file=$1 pid tenths=50
    [[ -s $pid_file ]] || return 0
    pid=$(cat "$pid_file")
    kill "$pid" 2>/dev/null || true
    while ((tenths-- > 0)) && kill -0 "$pid" 2>/dev/null; do
        sleep 0.1
    done
    kill -9 "$pid" 2>/dev/null || true
    rm -f "$pid_file"
}

wine_env_cleanup() {
    local dir=$1
    if [[ -d $dir/prefix ]]; then
        # Ends every Windows process of the prefix, explorer's tray included, then the server.
        WINEPREFIX=$dir/prefix "$WINESERVER_BIN" -k >/dev/null 2>&1 || true
    fi
    wine_env_kill_pid_file "$dir/wineserver.pid"
    wine_env_kill_pid_file "$dir/xvfb.pid"
}

wine_env_template() {
    local root=$1 flavour=$2
    local template=$root/wine/template-$flavour
    local stamp=$template/.quor6-template
    local wanted
    wanted="v$WINE_ENV_TEMPLATE_VERSION $flavour $("$WINE_BIN" --version 2>/dev/null)"
    mkdir -p "$root/wine"
    (
        # Several scripts may ask at once; one makes the template, the others wait for it.
        flock 9
        if [[ -f $stamp && $(cat "$stamp") == "$wanted" ]]; then
            exit 0
        fi
        local work=$root/wine/make-$flavour.$$
        rm -rf "$template" "$work"
        mkdir -p "$work"
        local display
        display=$(wine_env_start_xvfb "$work") || exit 1
        (
            export DISPLAY=$display WINEPREFIX=$work/prefix
            "$WINE_BIN" wineboot -i >"$work/wineboot.log" 2>&1
            "$WINESERVER_BIN" -w
            # Debian's Wine looks for its own fonts in a path that does not exist; without
            # them Tahoma and Marlett are missing, so the prefix carries a copy.
            cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
            "$WINE_BIN" reg add 'HKCU\Software\Wine\DllOverrides' /v mscoree /d '' /f
            "$WINE_BIN" reg add 'HKCU\Software\Wine\DllOverrides' /v mshtml /d '' /f
            # No virtual desktop: the standalone tray window shows slot 1 leftmost.
            "$WINE_BIN" reg delete 'HKCU\Software\Wine\Explorer' /v Desktop /f || true
            # The version box asks for "ＭＳ ゴシック"; the installed IPA gothic stands in.
            local face
            for face in 'ＭＳ ゴシック' 'MS Gothic' 'MS UI Gothic'; do
                "$WINE_BIN" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" \
                    /d IPAGothic /f
            done
            "$WINESERVER_BIN" -w
        ) >>"$work/wineboot.log" 2>&1
        wine_env_cleanup "$work"
        if [[ ! -f $work/prefix/system.reg ]]; then
            echo "wine-env: wineboot failed (see $work/wineboot.log)" >&2
            exit 1
        fi
        rm -f "$work/prefix/wineserver"
        mv "$work/prefix" "$template"
        echo "$wanted" >"$stamp"
        rm -rf "$work"
    ) 9>"$root/wine/.template.lock" || return 1
    echo "$template"
}
