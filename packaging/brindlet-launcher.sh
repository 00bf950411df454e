#!/bin/sh
# Brindlet, as a GUI starts it. The engine reads its books from its working directory and
# writes brindlet.log there, so each running instance gets a folder of its own: the first
# slot ${XDG_STATE_HOME:-$HOME/.local/state}/brindlet/N (N = 1, 2, ...) whose lock is free.
# The lock is held on descriptor 9, which the engine inherits, so it lasts exactly as long
# as the engine runs. In the slot, tourbook.bin and mainbook.bin link to the user's own books
# in ${XDG_DATA_HOME:-$HOME/.local/share}/brindlet/ where there are any, else to the
# installed ones. Without a usable state folder (no HOME, a read-only home) the slots are in a
# folder of the user's own that later runs reuse: $XDG_RUNTIME_DIR/brindlet, else
# ${TMPDIR:-/tmp}/brindlet-UID, made with mode 0700 and used only when it is a folder (not a
# link) that the user owns; a run leaves no new folder behind. The engine and its books are
# found from this script's own folder.

here=$(dirname -- "$(readlink -f -- "$0")")
engine=$here/@BRINDLET_ENGINE_FROM_GAMES@/brindlet
installed_books=$(readlink -f -- "$here/@BRINDLET_DATA_FROM_GAMES@")

# An XDG variable that is unset, empty or not an absolute path means its default.
state=$XDG_STATE_HOME
case $state in /*) ;; *) state=${HOME:+$HOME/.local/state} ;; esac
user_books=$XDG_DATA_HOME
case $user_books in /*) ;; *) user_books=${HOME:+$HOME/.local/share} ;; esac

slot=""
# Sets slot to the first folder DIR/N whose lock is free, keeping that lock on descriptor 9.
# Slot N is busy when flock reports the conflict (75); any other failure leaves slot empty.
take_slot() {
  n=1
  while mkdir -p -- "$1/$n" 2>/dev/null && { command exec 9>"$1/$n/lock"; } 2>/dev/null; do
    flock -n -E 75 9
    case $? in
      0) slot=$1/$n; return ;;
      75) exec 9>&-; n=$((n + 1)) ;;
      *) break ;;
    esac
  done
  exec 9>&-
}
# A folder of this user's own: made with mode 0700 where missing; used only when it is a
# folder, not a link, owned by this user (then its mode is set to 0700).
own_folder() {
  mkdir -m 0700 -- "$1" 2>/dev/null
  if [ -L "$1" ] || [ ! -d "$1" ] || [ ! -O "$1" ]; then
    echo "brindlet: $1 is not a folder of this user's own; not used" >&2
    return 1
  fi
  chmod 0700 -- "$1" 2>/dev/null
}

[ -z "$state" ] || take_slot "$state/brindlet"
if [ -z "$slot" ]; then
  case $XDG_RUNTIME_DIR in
    /*) [ -d "$XDG_RUNTIME_DIR" ] && [ -w "$XDG_RUNTIME_DIR" ] && own_folder "$XDG_RUNTIME_DIR/brindlet" &&
          take_slot "$XDG_RUNTIME_DIR/brindlet" ;;
  esac
fi
if [ -z "$slot" ]; then
  temp=$TMPDIR
  case $temp in /*) ;; *) temp=/tmp ;; esac
  folder=${temp%/}/brindlet-$(id -u)
  own_folder "$folder" || exit 1
  take_slot "$folder"
  [ -n "$slot" ] || { echo "brindlet: no slot can be taken in $folder" >&2; exit 1; }
fi

for book in tourbook.bin mainbook.bin; do
  # Only links are replaced: a book file put into the slot itself stays.
  if [ -L "$slot/$book" ] || [ ! -e "$slot/$book" ]; then
    rm -f -- "$slot/$book"
    if [ -n "$user_books" ] && [ -f "$user_books/brindlet/$book" ]; then
      ln -s -- "$user_books/brindlet/$book" "$slot/$book"
    elif [ -f "$installed_books/$book" ]; then
      ln -s -- "$installed_books/$book" "$slot/$book"
    fi
  fi
done

cd -- "$slot" || exit 1
exec "$engine"
