#!/usr/bin/env bash
# Tries the README's two commands the way a newcomer meets them: on a minimal Debian root that
# has only what a fresh machine of this kind comes with, in a clean clone of this repository's
# HEAD. First as a user who is not root (each command must say in one line what to run), then
# as root, timing `make demo` and then `make test` from nothing. Not part of `make test`: it
# downloads a whole system and builds everything once more.
# Usage (as root): tools/chroot_check.sh prepare DIR   make the root in DIR (outside the clone)
#                  tools/chroot_check.sh run DIR       the checks, in a fresh clone inside DIR
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
step=${1:-}
root=${2:-}
[ -n "$step" ] && [ -n "$root" ] || { sed -n 's/^# Usage (as root): //p; s/^#  *tools/tools/p' "$0"; exit 2; }
[ "$(id -u)" = 0 ] || { echo "chroot check: run as root"; exit 1; }
root=$(realpath -m "$root")
case $root/ in "$repo"/*) echo "chroot check: $root is inside the repository"; exit 1 ;; esac

# What a fresh machine of this kind comes with, beside Debian's minimal base: the baseline the
# project's own install script has to build on, not a list of what the project needs.
baseline=(build-essential cmake git googletest libgtest-dev libgmock-dev libbenchmark-dev
  valgrind clang clang-format clang-tidy python3 file pkg-config zlib1g-dev xauth curl)

inside() { chroot "$root" /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM=dumb \
  PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin "$@"; }

mounted=()
mount_system() {
  mount -t proc proc "$root/proc" && mounted+=("$root/proc")
  mount -t sysfs sysfs "$root/sys" && mounted+=("$root/sys")
  mount --rbind /dev "$root/dev" && mount --make-rslave "$root/dev" && mounted+=("$root/dev")
}
unmount_system() {
  local index
  # binfmt_misc, when the install script mounted it inside, goes before /proc.
  if mountpoint -q "$root/proc/sys/fs/binfmt_misc"; then umount "$root/proc/sys/fs/binfmt_misc"; fi
  for ((index = ${#mounted[@]} - 1; index >= 0; index--)); do
    umount -R "${mounted[index]}" || umount -lR "${mounted[index]}"
  done
  mounted=()
}

prepare() {
  bash "$repo/tools/install_packages.sh" chroot-check
  local archive
  archive=$(bash "$repo/tools/install_packages.sh" --archive)
  [ -n "$archive" ] || { echo "chroot check: no apt source names the archive"; exit 1; }
  rm -rf "$root"
  debootstrap --variant=minbase "$(. /etc/os-release && echo "$VERSION_CODENAME")" "$root" \
    "$archive" >"$root.debootstrap.log" 2>&1 ||
    { echo "chroot check: debootstrap failed; see $root.debootstrap.log"; exit 1; }
  # The machine's own apt sources, less any backports suite: a fresh machine has none, and
  # adding it is the install script's job.
  rm -f "$root/etc/apt/sources.list"
  local file
  for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; do
    [ -f "$file" ] && ! grep -q -- '-backports' "$file" && cp "$file" "$root$file"
  done
  cp /etc/resolv.conf "$root/etc/resolv.conf"
  trap unmount_system EXIT
  mount_system
  inside apt-get update -qq
  inside env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${baseline[@]}" >/dev/null
  unmount_system
  trap - EXIT
  echo "chroot check: $root holds Debian's minimal base and ${baseline[*]}"
}

run() {
  [ -x "$root/usr/bin/make" ] || { echo "chroot check: prepare $root first"; exit 1; }
  trap unmount_system EXIT
  mount_system
  # A clean clone of HEAD, with shared/ beside it as on every machine of the project.
  rm -rf "$root/src"
  mkdir -p "$root/src"
  git clone -q "$repo" "$root/src/quor"
  [ ! -d "$repo/../shared" ] || cp -r "$repo/../shared" "$root/src/shared"

  # Not root: each command says in one line which command to run, and fails.
  inside id newcomer >/dev/null 2>&1 || inside useradd -m newcomer
  rm -rf "$root/home/newcomer/quor"
  git clone -q "$repo" "$root/home/newcomer/quor"
  inside chown -R newcomer: /home/newcomer/quor
  local goal out
  for goal in demo test; do
    if out=$(inside runuser -u newcomer -- make -C /home/newcomer/quor --no-print-directory $goal 2>&1); then
      echo "chroot check: FAIL make $goal as newcomer succeeded with nothing installed"; exit 1
    fi
    echo "chroot check: make $goal as newcomer:"
    sed 's/^/  | /' <<<"$out"
  done

  # Root, from nothing: the demo, then every suite.
  for goal in demo test; do
    local start=$SECONDS
    if ! inside bash -c "cd /src/quor && make $goal" >"$root/src/make-$goal.log" 2>&1; then
      tail -n 30 "$root/src/make-$goal.log"
      echo "chroot check: FAIL make $goal as root after $((SECONDS - start)) s; see $root/src/make-$goal.log"
      exit 1
    fi
    echo "chroot check: make $goal as root took $((SECONDS - start)) s"
    tail -n 3 "$root/src/make-$goal.log" | sed 's/^/  | /'
  done
}

case $step in
  prepare) prepare ;;
  run) run ;;
  *) echo "chroot check: unknown step $step (prepare or run)"; exit 2 ;;
esac
