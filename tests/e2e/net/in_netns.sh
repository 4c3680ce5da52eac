#!/bin/bash
# Runs a command in a loopback-only world: a private network namespace with
# only "lo" (brought up), and a private mount namespace in which /etc/hosts
# maps the sayings site's names to 127.0.0.1. Nothing outside is changed.
#
#   tests/e2e/net/in_netns.sh COMMAND [ARGS...]
#
# As root this is unshare --mount --net; otherwise a user namespace with the
# caller mapped to root is tried, then sudo. Exits with the command's status.
#
# Wine creates every socket in wineserver, so a Wine program connects from the
# namespace only if its prefix's wineserver was started inside. Stop the
# prefix's wineserver (wineserver -k) before entering, and start every Wine
# process of the test from the command run here.
set -euo pipefail

if [ "$#" -eq 0 ]; then
  echo "usage: $0 COMMAND [ARGS...]" >&2
  exit 2
fi

self="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/$(basename "${BASH_SOURCE[0]}")"

if [ "${BQ_IN_NETNS:-}" != 1 ]; then
  export BQ_IN_NETNS=1
  if [ "$(id -u)" -eq 0 ]; then
    exec unshare --mount --net -- "$self" "$@"
  elif unshare --user --map-root-user --mount --net true 2>/dev/null; then
    exec unshare --user --map-root-user --mount --net -- "$self" "$@"
  else
    exec sudo --preserve-env unshare --mount --net -- "$self" "$@"
  fi
fi

# Inside the namespaces.
ip link set lo up

hosts="$(mktemp "${TMPDIR:-/tmp}/bq-hosts.XXXXXX")"
cat >"$hosts" <<'EOF'
127.0.0.1	localhost
::1	localhost
127.0.0.1	brightquill.com www.brightquill.com
EOF
chmod 644 "$hosts"
mount --bind "$hosts" /etc/hosts
# The mount keeps the file's contents; the name is no longer needed.
rm -f "$hosts"

# The world must be what the tests assume before any Wine process starts:
# both names resolve to the loopback address, and nothing outside is reachable.
python3 - <<'EOF'
import socket, sys
for name in ("brightquill.com", "www.brightquill.com"):
    address = socket.gethostbyname(name)
    if address != "127.0.0.1":
        sys.exit("in_netns: %s resolves to %s, not 127.0.0.1" % (name, address))
interfaces = [name for _, name in socket.if_nameindex()]
if interfaces != ["lo"]:
    sys.exit("in_netns: network interfaces %s, expected only lo" % interfaces)
EOF

unset BQ_IN_NETNS
export BQ_NETNS_READY=1
exec "$@"
