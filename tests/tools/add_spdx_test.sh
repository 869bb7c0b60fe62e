#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The licence script on a made-up tree: each kind gets its comment style, interpreter lines and
# zsh's tag stay first, a second run changes nothing, and the check finds exactly what is missing.
set -euo pipefail
script=$1
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
put() { mkdir -p "$tree/$(dirname "$1")"; printf '%s\n' "$2" > "$tree/$1"; }

put src/model/Day.hpp '#pragma once'
put src/CMakeLists.txt 'add_library(x)'
put tools/run $'#!/usr/bin/env bash\necho hi'
put resources/completions/_ctl $'#compdef ctl\n_ctl() { :; }'
put tests/data/notes.json '{}'
put src/model/Done.cpp $'// SPDX-License-Identifier: GPL-3.0-or-later\nint x;'

out=$("$script" --check "$tree") && { echo "missing lines passed the check"; exit 1; }
for f in src/model/Day.hpp src/CMakeLists.txt tools/run resources/completions/_ctl; do
  grep -qxF "no SPDX line: $f" <<<"$out" || { echo "check missed $f"; echo "$out"; exit 1; }
done
grep -q 'Done.cpp\|notes.json' <<<"$out" && { echo "check named a file it should not"; echo "$out"; exit 1; }

"$script" "$tree"
line() { sed -n "$2p" "$tree/$1"; }
expect() { [[ $(line "$1" "$2") == "$3" ]] || { echo "$1 line $2: '$(line "$1" "$2")', wanted '$3'"; exit 1; }; }
expect src/model/Day.hpp 1 '// SPDX-License-Identifier: GPL-3.0-or-later'
expect src/model/Day.hpp 2 '#pragma once'
expect src/CMakeLists.txt 1 '# SPDX-License-Identifier: GPL-3.0-or-later'
expect tools/run 1 '#!/usr/bin/env bash'
expect tools/run 2 '# SPDX-License-Identifier: GPL-3.0-or-later'
expect resources/completions/_ctl 1 '#compdef ctl'
expect resources/completions/_ctl 2 '# SPDX-License-Identifier: GPL-3.0-or-later'
[[ $(cat "$tree/tests/data/notes.json") == '{}' ]] || { echo "a data file was changed"; exit 1; }

before=$(cd "$tree" && find . -type f -exec md5sum {} + | sort)
"$script" "$tree"
after=$(cd "$tree" && find . -type f -exec md5sum {} + | sort)
[[ "$before" == "$after" ]] || { echo "a second run changed files"; exit 1; }
"$script" --check "$tree" || { echo "the check refused a complete tree"; exit 1; }
echo "add-spdx: all cases pass"
