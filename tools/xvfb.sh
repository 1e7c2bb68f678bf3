# Sourced by the scripts that need a display: starts Xvfb on a free display
# (Xvfb picks it and reports it through -displayfd), exports DISPLAY and
# stops the server when the script exits.
start_xvfb() {
    local number_file
    number_file=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$number_file" >/dev/null 2>&1 &
    xvfb_pid=$!
    trap 'kill ${app_pid:-} $xvfb_pid 2>/dev/null || true' EXIT
    for _ in $(seq 100); do
        [ -s "$number_file" ] && break
        sleep 0.05
    done
    [ -s "$number_file" ] || { echo "Xvfb did not start" >&2; exit 1; }
    export DISPLAY=:$(head -1 "$number_file")
    rm -f "$number_file"
    unset WAYLAND_DISPLAY
}
