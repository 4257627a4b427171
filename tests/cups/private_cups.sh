#!/usr/bin/env bash
# A CUPS server of the tests' own, in a private folder, never touching the system's:
#   private_cups.sh start DIR QUEUE   starts cupsd on 127.0.0.1:<free port> and DIR/cups.sock
#                                     with QUEUE, a cups-pdf queue writing PDF files into
#                                     DIR/pdf; prints the socket's path (for CUPS_SERVER)
#   private_cups.sh stop DIR          stops that server and removes the queue's settings
# The queue's cups-pdf settings are a file of its own, /etc/cups/cups-pdf-<instance>.conf,
# the only place cups-pdf reads them from; "stop" removes it. Needs root (cups-pdf runs
# as root under cupsd).
set -euo pipefail

fail() { echo "private_cups: $*" >&2; exit 1; }

cmd=${1:-}; dir=${2:-}
[ -n "$cmd" ] && [ -n "$dir" ] || fail "usage: private_cups.sh start DIR QUEUE | stop DIR"
instance_file="$dir/instance"

stop() {
  if [ -f "$dir/cupsd.pid" ]; then
    pid=$(cat "$dir/cupsd.pid")
    if kill "$pid" 2>/dev/null; then
      for _ in $(seq 1 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
      kill -9 "$pid" 2>/dev/null || true
    fi
    rm -f "$dir/cupsd.pid"
  fi
  if [ -f "$instance_file" ]; then
    rm -f "/etc/cups/cups-pdf-$(cat "$instance_file").conf"
    rm -f "$instance_file"
  fi
}

if [ "$cmd" = stop ]; then stop; exit 0; fi
[ "$cmd" = start ] || fail "unknown command $cmd"
queue=${3:-}
[ -n "$queue" ] || fail "start needs a queue name"

[ "$(id -u)" -eq 0 ] || fail "needs root: the cups-pdf backend runs as root under cupsd"
for tool in cupsd lpadmin lpstat; do
  command -v "$tool" >/dev/null || fail "$tool is missing (bash scripts/setup.sh installs cups)"
done
[ -x /usr/lib/cups/backend/cups-pdf ] || fail "the cups-pdf backend is missing (bash scripts/setup.sh installs printer-driver-cups-pdf)"
ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
[ -f "$ppd" ] || fail "$ppd is missing (printer-driver-cups-pdf)"

mkdir -p "$dir"
dir=$(cd "$dir" && pwd)
# cupsd hands the spool and the temporary files to its filters, which run as lp.
chmod 755 "$dir"
runuser -u lp -- test -x "$dir" 2>/dev/null \
  || fail "the user lp cannot reach $dir (cupsd's filters run as lp): make its parent folders reachable (chmod o+x)"
# Settings left by a run that was killed before it could stop: their folder is gone.
for old in /etc/cups/cups-pdf-zentoria-test-*.conf; do
  [ -f "$old" ] || continue
  owner=$(sed -n 's/^# private_cups: //p' "$old")
  [ -n "$owner" ] && [ ! -d "$owner" ] && rm -f "$old"
done
mkdir -p "$dir/etc/ppd" "$dir/spool/tmp" "$dir/cache" "$dir/state" "$dir/log" "$dir/pdf" "$dir/pdf-spool"
chmod 1777 "$dir/spool/tmp"
chmod 777 "$dir/pdf-spool"

# A free TCP port on 127.0.0.1.
port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])' 2>/dev/null) \
  || port=$(( 20000 + RANDOM % 20000 ))
socket="$dir/cups.sock"

cat > "$dir/etc/cups-files.conf" <<CONF
ServerRoot $dir/etc
RequestRoot $dir/spool
TempDir $dir/spool/tmp
CacheDir $dir/cache
StateDir $dir/state
AccessLog $dir/log/access_log
ErrorLog $dir/log/error_log
PageLog $dir/log/page_log
Printcap $dir/printcap
FileDevice No
FatalErrors config
SystemGroup root
CONF
cat > "$dir/etc/cupsd.conf" <<CONF
LogLevel info
Listen 127.0.0.1:$port
Listen $socket
Browsing No
BrowseLocalProtocols none
DefaultAuthType None
WebInterface No
MaxJobs 100
PreserveJobHistory Yes
ErrorPolicy abort-job
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order allow,deny
    Allow all
  </Limit>
</Policy>
CONF

# The queue's own cups-pdf settings: output and spool in the private folder.
instance="zentoria-test-$$-$RANDOM"
echo "$instance" > "$instance_file"
cat > "/etc/cups/cups-pdf-$instance.conf" <<CONF
# private_cups: $dir
Out $dir/pdf
AnonDirName $dir/pdf
Spool $dir/pdf-spool
Log $dir/log
Grp root
UserUMask 0022
CONF

/usr/sbin/cupsd -f -c "$dir/etc/cupsd.conf" -s "$dir/etc/cups-files.conf" </dev/null >"$dir/log/cupsd.out" 2>&1 &
echo $! > "$dir/cupsd.pid"
for _ in $(seq 1 300); do
  [ -S "$socket" ] && lpstat -h "$socket" -r >/dev/null 2>&1 && break
  kill -0 "$(cat "$dir/cupsd.pid")" 2>/dev/null || { cat "$dir/log/cupsd.out" "$dir/log/error_log" >&2 2>/dev/null; stop; fail "cupsd did not start"; }
  sleep 0.1
done
lpstat -h "$socket" -r >/dev/null 2>&1 || { stop; fail "cupsd does not answer on $socket"; }

lpadmin -h "$socket" -p "$queue" -E -v "cups-pdf:/$instance" -P "$ppd" -o pdftops-renderer-default=pdftocairo \
  || { cat "$dir/log/error_log" >&2 2>/dev/null; stop; fail "could not add the queue $queue"; }
echo "$socket"
