#!/bin/sh
# Brindlet, as a GUI starts it. The engine reads its books from its working directory and
# writes brindlet.log there, so each running instance gets a folder of its own: the first
# slot ${XDG_STATE_HOME:-$HOME/.local/state}/brindlet/N (N = 1, 2, ...) whose lock is free.
# The lock is held on descriptor 9, which the engine inherits, so it lasts exactly as long
# as the engine runs. In the slot, tourbook.bin and mainbook.bin link to the user's own books
# in ${XDG_DATA_HOME:-$HOME/.local/share}/brindlet/ where there are any, else to the
# installed ones. Without a usable state folder the engine runs in a new temporary folder.
# The engine and its books are found from this script's own folder.

here=$(dirname -- "$(readlink -f -- "$0")")
engine=$here/@BRINDLET_ENGINE_FROM_GAMES@/brindlet
installed_books=$(readlink -f -- "$here/@BRINDLET_DATA_FROM_GAMES@")

# An XDG variable that is unset, empty or not an absolute path means its default.
state=$XDG_STATE_HOME
case $state in /*) ;; *) state=${HOME:+$HOME/.local/state} ;; esac
user_books=$XDG_DATA_HOME
case $user_books in /*) ;; *) user_books=${HOME:+$HOME/.local/share} ;; esac

slot=""
n=1
# Slot N is busy when flock reports the conflict (75); any other failure means the temp folder.
while [ -n "$state" ] && mkdir -p -- "$state/brindlet/$n" 2>/dev/null &&
    { command exec 9>"$state/brindlet/$n/lock"; } 2>/dev/null; do
  flock -n -E 75 9
  case $? in
    0) slot=$state/brindlet/$n; break ;;
    75) exec 9>&-; n=$((n + 1)) ;;
    *) break ;;
  esac
done
if [ -z "$slot" ]; then
  exec 9>&-
  slot=$(mktemp -d -t brindlet.XXXXXXXX) || exit 1
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
