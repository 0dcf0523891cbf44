#!/usr/bin/env bash
# Runs clang-tidy with the checks of .clang-tidy over the project's own
# sources (src/, bench/, tools/, fuzz/) as a build compiled them, two files at
# a time. Any finding fails the run.
#
#     scripts/clang-tidy.sh [build folder, default build/] [source files...]
#
# The build must have been configured (its compile_commands.json) and built
# (the moc files the sources include).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$here/build}" && pwd)
shift || true
database="$build/compile_commands.json"
if [ ! -f "$database" ]; then
    echo "clang-tidy.sh: no $database; configure and build first" >&2
    exit 2
fi
tidy=$(command -v clang-tidy || command -v clang-tidy-14 || true)
if [ -z "$tidy" ]; then
    echo "clang-tidy.sh: clang-tidy is missing (scripts/install-deps.sh --tidy)" >&2
    exit 2
fi

folders="src|bench|tools|fuzz"
if [ $# -gt 0 ]; then
    files=("$@")
else
    mapfile -t files < <(grep -o '"file": *"[^"]*"' "$database" | sed 's/^"file": *"//; s/"$//' \
        | grep -E "^$here/($folders)/.*\.cpp$" | sort -u)
fi
if [ ${#files[@]} -eq 0 ]; then
    echo "clang-tidy.sh: no source file of the project in $database" >&2
    exit 2
fi

echo "clang-tidy: ${#files[@]} files"
# The static analyzer (clang-analyzer-*) takes half of the time of a file: it
# runs on the program's code, not on the benchmark's and the fuzz targets'
# harnesses, which the other checks still read.
product=()
harness=()
for f in "${files[@]}"; do
    case "$(realpath "$f")" in
        "$here"/bench/* | "$here"/fuzz/*) harness+=("$f") ;;
        *) product+=("$f") ;;
    esac
done
tidy_each() {
    xargs -r -P 2 -n 1 "$tidy" -p "$build" --quiet --warnings-as-errors='*' \
        --header-filter="^$here/($folders)/" "$@" \
        2> >(grep -v -E '^[0-9]+ warnings? (and [0-9]+ errors? )?generated\.$' >&2)
}
failed=0
if [ ${#product[@]} -gt 0 ]; then
    printf '%s\n' "${product[@]}" | tidy_each || failed=1
fi
if [ ${#harness[@]} -gt 0 ]; then
    printf '%s\n' "${harness[@]}" | tidy_each --checks='-clang-analyzer-*' || failed=1
fi
if [ $failed -ne 0 ]; then
    echo "clang-tidy: findings above" >&2
    exit 1
fi
echo "clang-tidy: no findings"
