#!/usr/bin/env bash
# Runs the printing tests against a private CUPS scheduler: its own configuration, spool, logs
# and socket in a temporary folder, reached through CUPS_SERVER, with one raw queue as its
# default printer. The machine's own scheduler and printers are never asked or changed.
# Usage: cups_print_test.sh PRINT_TEST_PROGRAM [gtest arguments]
set -euo pipefail

tests=${1:?usage: $0 PRINT_TEST_PROGRAM [gtest arguments]}
shift

for tool in cupsd lpadmin lpstat; do
  if ! command -v "$tool" >/dev/null 2>&1 && [ ! -x "/usr/sbin/$tool" ]; then
    echo "$tool was not found; install cups and cups-client (tools/setup does)" >&2
    exit 1
  fi
done
export PATH="$PATH:/usr/sbin"

# A socket path must stay short, so the folder lives in the system's temporary folder.
work=$(mktemp -d /tmp/fretloom-cups.XXXXXX)
cupsd_pid=""
cleanup() {
  if [ -n "$cupsd_pid" ]; then
    kill "$cupsd_pid" 2>/dev/null || true
    wait "$cupsd_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

mkdir -p "$work/conf" "$work/spool/tmp" "$work/cache" "$work/state" "$work/log" "$work/home"
chmod 755 "$work"
socket="$work/cups.sock"

cat >"$work/conf/cups-files.conf" <<CONF
ServerRoot $work/conf
RequestRoot $work/spool
TempDir $work/spool/tmp
CacheDir $work/cache
StateDir $work/state
Printcap $work/state/printcap
ErrorLog $work/log/error_log
AccessLog $work/log/access_log
PageLog $work/log/page_log
CONF
if [ "$(id -u)" -ne 0 ]; then
  # Unprivileged, the scheduler runs its helpers as the user who started it.
  cat >>"$work/conf/cups-files.conf" <<CONF
User $(id -un)
Group $(id -gn)
SystemGroup $(id -gn)
CONF
fi

cat >"$work/conf/cupsd.conf" <<CONF
Listen $socket
LogLevel info
Browsing No
DefaultAuthType None
WebInterface No
PreserveJobFiles Yes
PreserveJobHistory Yes
# Requests above this size are turned away, which lets a test see a refused job.
MaxRequestSize 100k
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
CONF

cupsd -f -c "$work/conf/cupsd.conf" -s "$work/conf/cups-files.conf" &
cupsd_pid=$!

export CUPS_SERVER="$socket"
unset PRINTER LPDEST
# No lpoptions of the user's own can name another default.
export HOME="$work/home"

for _ in $(seq 1 100); do
  if [ -S "$socket" ] && lpstat -r >/dev/null 2>&1; then
    break
  fi
  if ! kill -0 "$cupsd_pid" 2>/dev/null; then
    echo "the private cupsd did not start:" >&2
    cat "$work/log/error_log" >&2 2>/dev/null || true
    exit 1
  fi
  sleep 0.1
done
lpstat -r

# A raw queue hands the job on untouched; /dev/null takes it, the spool keeps a copy.
lpadmin -p FretloomTest -E -v file:///dev/null
lpadmin -d FretloomTest
lpstat -d -v

export FRETLOOM_TEST_SPOOL="$work/spool"
status=0
"$tests" --gtest_filter='PrivateScheduler.*' "$@" || status=$?
if [ "$status" -ne 0 ]; then
  echo "--- scheduler log ---" >&2
  cat "$work/log/error_log" >&2 || true
fi
exit "$status"
