#!/usr/bin/env bash
# Runs a command with a private D-Bus daemon standing in for both the system and
# the session bus. The daemon is stopped by its PID when the command ends.
set -euo pipefail

dir=$(mktemp -d /tmp/velmira-dbus.XXXXXX)
cat > "$dir/bus.conf" <<CONF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:path=$dir/bus</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
CONF
pid=$(dbus-daemon --config-file="$dir/bus.conf" --fork --print-pid)
cleanup() { kill "$pid" 2>/dev/null || true; rm -rf "$dir"; }
trap cleanup EXIT
for _ in $(seq 100); do [ -S "$dir/bus" ] && break; sleep 0.05; done

export DBUS_SYSTEM_BUS_ADDRESS=unix:path=$dir/bus
export DBUS_SESSION_BUS_ADDRESS=unix:path=$dir/bus
status=0
"$@" || status=$?
exit $status
