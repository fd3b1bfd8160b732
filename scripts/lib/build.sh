# Builds the trees that play and test need. Sourced by scripts/play and scripts/test.
# Every function is incremental: a second call with nothing changed does no work.

QUOR6_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

# Configures a preset once, then builds it (or only the targets named after the folder);
# quiet unless something fails.
quor6_build_preset() {
  local preset=$1 dir=$2
  shift 2
  local targets=()
  (($#)) && targets=(--target "$@")
  local log="$QUOR6_ROOT/build/logs/$preset.log"
  mkdir -p "$QUOR6_ROOT/build/logs"
  if [[ ! -f "$dir/build.ninja" ]]; then
    if ! (cd "$QUOR6_ROOT" && cmake --preset "$preset") >"$log" 2>&1; then
      echo "build: configuring '$preset' failed; see $log" >&2
      tail -n 30 "$log" >&2
      return 1
    fi
  fi
  if ! cmake --build "$dir" "${targets[@]}" >>"$log" 2>&1; then
    echo "build: building '$preset' failed; see $log" >&2
    grep -E "error|Error|FAILED" "$log" | head -n 30 >&2
    return 1
  fi
}

# Host tools first: the Windows trees run them. Each takes optional target names.
quor6_build_native() { quor6_build_preset native "$QUOR6_ROOT/build/native" "$@"; }
quor6_build_windows() { quor6_build_preset win "$QUOR6_ROOT/build/win" "$@"; }
quor6_build_windows64() { quor6_build_preset win64 "$QUOR6_ROOT/build/win64" "$@"; }
# Just what playing needs: the host tools, then the program and its help file.
quor6_product_targets=(quor6 quor6_help)
quor6_tool_targets=(icon_compiler help_compiler)
quor6_build_asan() { quor6_build_preset asan "$QUOR6_ROOT/build/asan"; }
quor6_build_fuzz() { quor6_build_preset fuzz "$QUOR6_ROOT/build/fuzz"; }

# Whether this host's Wine can run 32-bit Windows programs: it needs 32-bit Linux processes,
# which some kernels switch off.
quor6_wine32_works() {
  [[ -x /usr/lib/wine/wine ]] && /usr/lib/wine/wine --version >/dev/null 2>&1
}

# The Wine loader that runs the Windows tree this host can execute.
quor6_wine_loader() {
  if quor6_wine32_works; then echo /usr/bin/wine; else echo /usr/lib/wine/wine64; fi
}

# Creates a Wine prefix once (a first run inside tests would race to create it).
quor6_ensure_prefix() {
  local prefix=$1
  [[ -f "$prefix/system.reg" ]] && return 0
  mkdir -p "$(dirname "$prefix")"
  WINEPREFIX="$prefix" "$(quor6_wine_loader)" wineboot -i >/dev/null 2>&1
  WINEPREFIX="$prefix" wineserver -w >/dev/null 2>&1 || true
}
