#!/bin/sh
# Fails when a source under the given folder includes a Motif or Xt header, or when one of the
# given static libraries needs a Motif or Xt symbol: the model must build, link and be tested
# without either.
# Usage: check-model-layer.sh <source-folder> <library>...
set -u
folder=$1
shift
status=0

headers=$(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"](Xm/|X11/(Intrinsic|IntrinsicP|StringDefs|Shell|ShellP|Core|CoreP|Composite|Constraint|Object|RectObj|Vendor)\.h)' \
    "$folder" --include='*.h' --include='*.cpp' 2>/dev/null)
if [ -n "$headers" ]; then
    echo "Motif or Xt headers included under $folder:"
    echo "$headers"
    status=1
fi

for library in "$@"; do
    symbols=$(nm -u --format=just-symbols "$library" 2>/dev/null | grep -E '^_?(Xt|Xm)[A-Z_]|^xm[A-Z][A-Za-z]*(WidgetClass|GadgetClass)$' | sort -u)
    if [ -n "$symbols" ]; then
        echo "$(basename "$library") needs Motif or Xt symbols:"
        echo "$symbols"
        status=1
    fi
done
exit $status
