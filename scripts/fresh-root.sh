# Sourced, not run. A fresh minimal Debian 12 root: a machine that never saw
# Brightquill, made in a folder, for proving that the set-up installs all
# that the build, the tests and the program need. Needs root and mmdebstrap.
#
#   fresh_root_private_mounts ARGS...
#                                runs the calling script again with ARGS in a
#                                private mount namespace of its own (returns
#                                at once when it already runs in one); first
#                                thing, before any mount
#   fresh_root_make DIR          makes the root in the new folder DIR, a mount
#                                point of its own with /proc, /sys, /dev,
#                                /dev/pts and /dev/shm bound in; DIR's path
#                                may hold only letters, digits and . _ / -
#   fresh_root_bind DIR SRC DEST binds the host folder SRC at DEST in the root
#   fresh_root_run DIR CMD...    runs CMD in the root with a clean environment
#                                (PATH, HOME, LANG only; BQ_JOBS passed on)
#   fresh_root_remove DIR        ends every process left in the root, undoes
#                                every mount under it, and only then removes it
#
# While the root is made, and while a command runs in it, a signal to the
# caller is handled at once.
# fresh_root_remove is safe to call at any point, twice, or on a root that was
# only half made: it never deletes anything while a mount is left inside.
# The mount namespace is the guarantee behind it: however the script ends,
# even killed, the kernel drops the namespace's mounts with its last process,
# and the host never sees them.

# The apt sources of this machine, so that the root installs from the same
# mirror.
# mmdebstrap writes them into a root it makes as sources.list.d/0000NAME, so
# inside such a root (CI's) the first file found there is the one.
fresh_root_sources() {
  local file
  for file in /etc/apt/sources.list.d/debian.sources /etc/apt/sources.list \
    /etc/apt/sources.list.d/*.sources /etc/apt/sources.list.d/*.list; do
    [ -s "$file" ] && { echo "$file"; return 0; }
  done
  echo /etc/apt/sources.list
}

# Runs a command in the background, in a process group of its own, and waits
# for it, so that a signal to the caller is handled at once rather than when
# the command ends. FRESH_ROOT_PID names the command (and its group)
# meanwhile, for fresh_root_remove.
fresh_root_wait() {
  setsid "$@" &
  FRESH_ROOT_PID=$!
  local status=0
  wait "$FRESH_ROOT_PID" || status=$?
  FRESH_ROOT_PID=""
  return "$status"
}

# Re-executes with the namespace's own identity in FRESH_ROOT_NAMESPACE, so
# that only a process in that very namespace takes itself to be inside.
fresh_root_private_mounts() {
  [ "${FRESH_ROOT_NAMESPACE:-}" = "$(readlink /proc/self/ns/mnt)" ] && return 0
  exec unshare --mount --propagation private -- "$BASH" -c \
    'FRESH_ROOT_NAMESPACE=$(readlink /proc/self/ns/mnt) && export FRESH_ROOT_NAMESPACE &&
     exec "$BASH" "$@"' fresh-root "$0" "$@"
}

# Every mount point made under a root, for fresh_root_remove's last check.
FRESH_ROOT_BOUND=()

fresh_root_make() {
  local root=$1 dir
  mkdir -p "$root"
  root=$(cd "$root" && pwd -P)
  # Mount points are read back from findmnt, and told apart by path: a plain
  # path leaves nothing to decode wrongly.
  case $root in
    *[!A-Za-z0-9._/-]*)
      echo "fresh root: '$root' holds other characters than letters, digits and . _ / -" \
        "(set TMPDIR to a plainer folder)" >&2
      return 1
      ;;
  esac
  fresh_root_wait mmdebstrap --quiet --variant=minbase --mode=root bookworm "$root" \
    "$(fresh_root_sources)" || return 1
  # Every installed Debian machine has these two; the minimal root has no
  # hosts file, and the end-to-end scenarios bind their own over it.
  [ -e "$root/etc/hosts" ] || printf '127.0.0.1\tlocalhost\n::1\t\tlocalhost ip6-localhost ip6-loopback\n' >"$root/etc/hosts"
  cp /etc/resolv.conf "$root/etc/resolv.conf"
  # The root on itself first: `unshare -m` inside needs a mount point to
  # change the propagation of.
  FRESH_ROOT_BOUND+=("$root")
  mount --bind "$root" "$root" || return 1
  for dir in proc sys dev dev/pts dev/shm; do
    [ -d "/$dir" ] || continue
    mkdir -p "$root/$dir"
    FRESH_ROOT_BOUND+=("$root/$dir")
    mount --bind "/$dir" "$root/$dir" || return 1
  done
}

fresh_root_bind() {
  local source=$2 target
  target=$(cd "$1" && pwd -P)$3
  mkdir -p "$target"
  FRESH_ROOT_BOUND+=("$target")
  mount --bind "$source" "$target"
}

fresh_root_run() {
  local root=$1
  shift
  local keep=()
  [ -n "${BQ_JOBS:-}" ] && keep+=("BQ_JOBS=$BQ_JOBS")
  fresh_root_wait chroot "$root" /usr/bin/env -i \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 \
    "${keep[@]}" "$@"
}

# Mount points at or under the root, deepest first, each ended by a NUL.
# findmnt writes a space in a path as \x20, a backslash as \x5c, and so on.
fresh_root_mounts() {
  local root=$1 line target
  findmnt -rn -o TARGET | while IFS= read -r line; do
    printf -v target '%b' "$line"
    if [ "$target" = "$root" ] || [[ $target == "$root"/* ]]; then printf '%s\0' "$target"; fi
  done | sort -rz
}

# Whether anything at or under the root is still a mount point: every mount
# found, and every one that was made, whatever findmnt says.
fresh_root_mounted() {
  local root=$1 target
  [ -n "$(fresh_root_mounts "$root" | tr -d '\0')" ] && return 0
  for target in "$root" "$root"/{proc,sys,dev,dev/pts,dev/shm,src/*} "${FRESH_ROOT_BOUND[@]}"; do
    [ "$target" = "$root" ] || [[ $target == "$root"/* ]] || continue
    mountpoint -q "$target" 2>/dev/null && return 0
  done
  return 1
}

fresh_root_remove() {
  local root=$1 pid link target round
  [ -n "$root" ] && [ -d "$root" ] || return 0
  root=$(cd "$root" && pwd -P)
  [ "$root" != / ] || return 1
  # A command still running (making the root, or chroot) is asked to end
  # first, with all it started: mmdebstrap undoes its own mounts on TERM.
  if [ -n "${FRESH_ROOT_PID:-}" ]; then
    kill -TERM -- "-$FRESH_ROOT_PID" 2>/dev/null
    for round in $(seq 100); do
      kill -0 "$FRESH_ROOT_PID" 2>/dev/null || break
      sleep 0.1
    done
    kill -KILL -- "-$FRESH_ROOT_PID" 2>/dev/null
    wait "$FRESH_ROOT_PID" 2>/dev/null
    FRESH_ROOT_PID=""
  fi
  # Every process whose root is this one: the command and whatever it left.
  for round in 1 2; do
    for link in /proc/[0-9]*/root; do
      pid=${link#/proc/}
      pid=${pid%/root}
      [ "$(readlink "$link" 2>/dev/null)" = "$root" ] || continue
      if [ "$round" = 1 ]; then kill -TERM "$pid" 2>/dev/null; else kill -KILL "$pid" 2>/dev/null; fi
    done
    [ "$round" = 1 ] && sleep 1
  done
  while IFS= read -r -d '' target; do
    umount "$target" 2>/dev/null || umount -l "$target" 2>/dev/null
  done < <(fresh_root_mounts "$root")
  if fresh_root_mounted "$root"; then
    echo "fresh root: mounts are left under $root; it is kept" >&2
    return 1
  fi
  rm -rf --one-file-system "$root"
}
