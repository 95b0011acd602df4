#!/usr/bin/env bash
# Usage: rooms.sh SOURCE_DIR. The rooms of app/: every folder of code opens with a README.md
# saying what it holds and, on its "May use:" line, which other rooms its code may include
# (named as `room/`). This holds every include to that line; keeps the picture's vocabulary
# at the top of app/ (dotImage.h, dotPicture, cellGeometry.h, sizeEntry, version.h) free of the rest of the
# program, so that every room may use it; and checks that the README's layout names every
# room. A room never includes the main window's files at the top of app/.
set -euo pipefail
cd "$1/app"
vocabulary=" dotImage.h dotPicture.h cellGeometry.h sizeEntry.h version.h "
status=0
complain() { echo "$*"; status=1; }

for dir in */; do
  room=${dir%/}
  compgen -G "$room/*.cpp" >/dev/null || compgen -G "$room/*.h" >/dev/null || continue
  if [ ! -f "$room/README.md" ]; then complain "app/$room has no README.md saying what it holds"; continue; fi
  line=$(grep -m1 '^May use:' "$room/README.md" || true)
  [ -n "$line" ] || { complain "app/$room/README.md has no \"May use:\" line"; continue; }
  allowed=" $( (grep -o '`[a-z]*/`' <<<"$line" || true) | tr -d '`/' | tr '\n' ' ') "
  for file in "$room"/*.cpp "$room"/*.h; do
    [ -e "$file" ] || continue
    while read -r included; do
      case $included in
        */*) used=${included%%/*} ;;
        *)
          [ -f "$room/$included" ] && continue
          [[ $vocabulary == *" $included "* ]] && continue
          used="the main window's files" ;;
      esac
      [ "$used" = "$room" ] && continue
      [[ $allowed == *" $used "* ]] || complain "app/$file includes \"$included\"; app/$room may use:$allowed(README.md)"
    done < <(sed -n 's/^#include "\(.*\)"$/\1/p' "$file")
  done
  grep -q "\`app/$room/\`" ../README.md || complain "the README's layout does not name app/$room/"
done

for file in dotImage.h dotPicture.h dotPicture.cpp cellGeometry.h sizeEntry.h sizeEntry.cpp version.h; do
  while read -r included; do
    [[ $vocabulary == *" $included "* ]] || complain "app/$file includes \"$included\": the vocabulary every room uses includes nothing of the program but itself"
  done < <(sed -n 's/^#include "\(.*\)"$/\1/p' "$file")
done
[ $status = 0 ] && echo "every room includes only what its README allows"
exit $status
