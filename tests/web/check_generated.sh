#!/usr/bin/env bash
# Fails when the committed web/js/generated.js or tests/web/rule_cases.json
# differ from what lerva-webgen writes from core/ today.
#   check_generated.sh LERVA-WEBGEN SOURCE-ROOT
set -euo pipefail
webgen="$1" root="$2"
fresh="$(mktemp -d)"
trap 'rm -rf "$fresh"' EXIT
mkdir -p "$fresh/web/js" "$fresh/tests/web"
"$webgen" "$fresh" >/dev/null
status=0
for file in web/js/generated.js tests/web/rule_cases.json; do
    if ! cmp -s "$fresh/$file" "$root/$file"; then
        echo "$file is out of date: run $webgen $root and commit the result"
        status=1
    fi
done
exit $status
