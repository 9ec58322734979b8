#!/usr/bin/env bash
# Checks the names a shared libzeq exports against the public headers:
#   tests/exported_symbols.sh <libzeq.so> <installed include dir>
# Fails when a private name leaks (namespaces detail, internal, test, anonymous ones) or an
# exported zeq name is declared in no installed header, and when fewer names are exported
# than the public API has (ZEQ_API missing).
set -euo pipefail
lib=$1
include=$2
symbols=$(nm -D --defined-only -C "$lib" | cut -d' ' -f3- | grep 'zeq::' || true)
count=$(grep -c . <<< "$symbols" || true)
echo "libzeq exports $count names of namespace zeq"
status=0
if leaks=$(grep -E 'zeq::(detail|internal|test)::|zeq::\(anonymous namespace\)' <<< "$symbols"); then
  echo "private names are exported:"; echo "$leaks" | head -20; status=1
fi
# The first name below zeq:: of every exported symbol (a class or a free function) must be
# declared in an installed header.
names=$(grep -oE '(^|[^:A-Za-z0-9_])zeq::[A-Za-z_][A-Za-z0-9_]*' <<< "$symbols" |
        sed -E 's/.*zeq:://' | sort -u)
for n in $names; do
  if ! grep -rqw -- "$n" "$include/zeq"; then
    echo "exported but in no public header: zeq::$n"; status=1
  fi
done
if [ "$count" -lt 600 ]; then
  echo "only $count names exported: is ZEQ_API missing?"; status=1
fi
exit $status
