#!/bin/sh
# The plug-in exports its three entry points and nothing else.
set -eu
got=$(nm -D --defined-only "$1" | awk '{ print $3 }' | sort | tr '\n' ' ')
want="nautilus_module_initialize nautilus_module_list_types nautilus_module_shutdown "
if [ "$got" != "$want" ]; then
  echo "exported: $got"
  echo "expected: $want"
  exit 1
fi
