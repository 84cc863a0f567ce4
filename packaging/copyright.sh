#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
# SPDX-License-Identifier: GPL-3.0-or-later

# Writes the package's DEP-5 copyright file from the REUSE data of the source
# files (scripts/reuse.sh spdx), so that the package says what the files say:
# one Files paragraph for each copyright and licence, the one of most files as
# "Files: *", then Debian's short text of each licence used. It fails for a
# file without licence or copyright, for a file under more than one licence,
# and for a licence it has no text for.
# OUT is replaced only when it changes.
#   bash packaging/copyright.sh OUT UPSTREAM-NAME UPSTREAM-CONTACT SOURCE
set -euo pipefail
[ $# -eq 4 ] || { echo "usage: $0 OUT UPSTREAM-NAME UPSTREAM-CONTACT SOURCE" >&2; exit 2; }
out=$1
spdx=$(bash "$(dirname "$0")/../scripts/reuse.sh" spdx)

# Debian's short text of a licence, with the place of its whole text.
licence() {
  case $1 in
  GPL-3.0-or-later) cat <<'TEXT' ;;
 This program is free software: you can redistribute it and/or modify
 it under the terms of the GNU General Public License as published by
 the Free Software Foundation, either version 3 of the License, or
 (at your option) any later version.
 .
 This program is distributed in the hope that it will be useful,
 but WITHOUT ANY WARRANTY; without even the implied warranty of
 MERCHANTABILITY or FITNESS FOR A PARTICULAR PURPOSE.  See the
 GNU General Public License for more details.
 .
 You should have received a copy of the GNU General Public License
 along with this program.  If not, see <https://www.gnu.org/licenses/>.
 .
 On Debian systems, the complete text of the GNU General Public
 License version 3 can be found in "/usr/share/common-licenses/GPL-3".
TEXT
  CC0-1.0) cat <<'TEXT' ;;
 To the extent possible under law, the author(s) have dedicated all
 copyright and related and neighboring rights to this software to the
 public domain worldwide. This software is distributed without any warranty.
 .
 You should have received a copy of the CC0 Public Domain Dedication along
 with this software. If not, see
 <https://creativecommons.org/publicdomain/zero/1.0/>.
 .
 On Debian systems, the complete text of the CC0 1.0 Universal licence
 can be found in "/usr/share/common-licenses/CC0-1.0".
TEXT
  *)
    echo "copyright.sh: no Debian text for the licence $1: add it to $0" >&2
    return 1
    ;;
  esac
}

# The Files paragraphs: files grouped by their copyright lines and licence.
files=$(awk '
function flush() {
  if (file == "") return
  if (lic == "" || lic ~ /^(NONE|NOASSERTION)$/) { print file ": no licence" > "/dev/stderr"; bad = 1 }
  if (cr == "") { print file ": no copyright" > "/dev/stderr"; bad = 1 }
  key = cr SUBSEP lic
  if (!(key in count)) order[++groups] = key
  count[key]++
  list[key] = list[key] "\n " file
  file = lic = cr = ""
}
/^FileName: / { flush(); file = substr($0, 11); sub(/^\.\//, "", file); next }
# The document names each licence of a file alone: whether two of them apply
# together or as a choice it does not say, so that is left to a person.
/^LicenseInfoInFile: / {
  if (lic != "") { print file ": more than one licence: write its paragraph by hand" > "/dev/stderr"; bad = 1 }
  lic = substr($0, 20)
  next
}
/^FileCopyrightText: / {
  text = substr($0, 20)
  while (text ~ /^<text>/ && text !~ /<\/text>$/ && (getline more) > 0) text = text "\n" more
  sub(/^<text>/, "", text); sub(/<\/text>$/, "", text)
  if (text == "NONE" || text == "NOASSERTION") next
  n = split(text, lines, "\n")
  for (i = 1; i <= n; i++) {
    line = lines[i]
    sub(/^[ \t]*SPDX-(FileCopyrightText|SnippetCopyrightText):[ \t]*/, "", line)
    while (sub(/^([Cc]opyright|©|\([Cc]\))[ \t]*/, "", line)) {}
    if (line != "" && index("\n" cr "\n", "\n " line "\n") == 0) cr = cr "\n " line
  }
  next
}
END {
  flush()
  if (bad || groups == 0) exit 1
  for (g = 1; g <= groups; g++) if (count[order[g]] > count[order[most]]) most = g
  if (!most) most = 1
  # "*" first: a later paragraph overrides it for the files it names.
  for (pass = 1; pass <= 2; pass++) {
    for (g = 1; g <= groups; g++) {
      if ((pass == 1) != (g == most)) continue
      split(order[g], kl, SUBSEP)
      printf "\nFiles:%s\nCopyright:%s\nLicense: %s\n", g == most ? " *" : list[order[g]], kl[1], kl[2]
    }
  }
}' <<<"$spdx")
# Copyright lines begin with a newline and a space: the first moves up beside its field.
files=$(sed -e '/^\(Files\|Copyright\):$/{N;s/\n / /;}' <<<"$files")
ids=$(sed -n 's/^License: //p' <<<"$files" | sort -u)

{
  echo "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/"
  echo "Upstream-Name: $2"
  echo "Upstream-Contact: $3"
  echo "Source: $4"
  echo "$files"
  for id in $ids; do
    echo
    echo "License: $id"
    licence "$id"
  done
} >"$out.new"
if cmp -s "$out.new" "$out"; then rm "$out.new"; else mv "$out.new" "$out"; fi
