#!/bin/sh
# Every relative link of the manual leads somewhere, and every repository
# path it names exists. The pages are the Markdown files of the repository.
#
# - Links to files and headings: remark-validate-links (from the npm
#   registry, the versions locked in tests/docs/link-check/), installed once
#   into the work folder and again only when the lock changes.
# - Paths written as code (`tools/demo.sh`, `cli/native_*.cpp`): no link
#   checker reads code spans, so they are taken here: a word of a code span
#   outside fenced blocks that starts with a folder at the top of the
#   repository (build/ aside: the build makes it) names a file or folder
#   from the top, and must exist. A pattern must match something.
#
# Prints "N passed, M failed" last: one check each for the links and the paths.
#
# usage: tests/docs/links.sh work-folder
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
mkdir -p "$1" && tool=$(cd "$1" && pwd)/link-check
passed=0
failed=0
verdict() {
  if [ "$1" = 0 ]; then passed=$((passed + 1)); echo "ok   $2"; else failed=$((failed + 1)); echo "FAIL $2"; fi
}
cd "$root" || exit 1
pages=$(git ls-files '*.md' 2>/dev/null || find . -name '*.md' -not -path './build/*' | sed 's|^\./||')
for page in *.md; do # pages not committed yet (LEIAME.md while it is written) count too
  case " $(echo $pages) " in *" $page "*) ;; *) pages="$pages $page" ;; esac
done

lock=$root/tests/docs/link-check/package-lock.json
if ! cmp -s "$lock" "$tool/package-lock.json" 2>/dev/null || [ ! -d "$tool/node_modules" ]; then
  if ! command -v npm >/dev/null; then
    echo "npm is missing: tools/install-deps.sh test installs it"
    echo "0 passed, 1 failed"
    exit 1
  fi
  rm -rf "$tool"
  mkdir -p "$tool"
  cp "$root/tests/docs/link-check/package.json" "$lock" "$tool/"
  (cd "$tool" && npm ci --no-audit --no-fund --loglevel=error >"$tool/npm.log" 2>&1) ||
    { sed 's/^/     /' "$tool/npm.log"; rm -f "$tool/package-lock.json"; echo "0 passed, 1 failed"; exit 1; }
fi
# shellcheck disable=SC2086
"$tool/node_modules/.bin/remark" --no-stdout --frail --quiet --no-color \
  --use "$tool/node_modules/remark-validate-links/index.js=repository:false" $pages >"$tool/remark.log" 2>&1
status=$?
sed 's/^/     /' "$tool/remark.log"
verdict $status "relative links to files and headings ($(echo $pages | wc -w) pages)"

tops=$(ls -A "$root" | grep -vx -e build -e .git | tr '\n' ' ')
missing=0
checked=0
for page in $pages; do
  awk '/^```/ { fenced = !fenced; next } !fenced' "$page" | grep -o '`[^`]*`' | tr -d '`' |
    tr ' ' '\n' | grep -E '^[A-Za-z0-9_.-]+/[][A-Za-z0-9_./*-]*$' | sed 's/[.,:;]*$//' |
    sort -u | while read -r path; do
      case " $tops " in *" ${path%%/*} "*) ;; *) continue ;; esac
      # shellcheck disable=SC2086
      set -- $path
      [ -e "$1" ] || echo "$page: \`$path\` does not exist"
    done
done >"$1/paths.log"
checked=$(for page in $pages; do awk '/^```/ { fenced = !fenced; next } !fenced' "$page"; done |
  grep -o '`[^`]*`' | tr -d '`' | tr ' ' '\n' | grep -cE '^[A-Za-z0-9_.-]+/')
sed 's/^/     /' "$1/paths.log"
[ -s "$1/paths.log" ] && missing=1
verdict $missing "repository paths named in code spans ($checked looked at)"

echo "$passed passed, $failed failed"
[ "$failed" = 0 ]
