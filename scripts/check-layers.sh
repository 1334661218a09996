#!/usr/bin/env bash
# check-layers.sh
# Dependencies run one way: each folder below includes only folders after it
# in this list. Prints every include of a folder above the includer and exits
# 1 if there is any.
set -euo pipefail
cd "$(dirname "$0")/.."
layers=(app clipboard window sampling screen settings widgets resources)
status=0
for ((i = 1; i < ${#layers[@]}; i++)); do
    above=$(IFS='|' && echo "${layers[*]:0:i}")
    if grep -rnE "#include \"($above)/" "${layers[i]}"; then
        status=1
    fi
done
exit "$status"
