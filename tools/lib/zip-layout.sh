# shellcheck shell=bash
# Sourced: what differs between two zips in the zip itself, beyond the bytes of
# their entries: for tools/check-reproducible and tools/lib/check-package-environment.

# zip_differences ZIP OTHER [NAME OTHER_NAME]: one line for each field of the
# zips' headers that differs (the entries' file times, attributes, compression,
# comments and the like), with how many places it differs in and its first
# values in ZIP and in OTHER, which NAME and OTHER_NAME call them; a line for
# the entries' order when only that differs. Prints nothing when the headers agree.
zip_differences() {
  local name=${3:-the first} other_name=${4:-the second}
  if [ "$(zipinfo -1 "$1" | LC_ALL=C sort)" = "$(zipinfo -1 "$2" | LC_ALL=C sort)" ] &&
    [ "$(zipinfo -1 "$1")" != "$(zipinfo -1 "$2")" ]; then
    echo "the entries' order: $(zipinfo -1 "$1" | tr '\n' ' ')in $name, $(zipinfo -1 "$2" | tr '\n' ' ')in $other_name"
  fi
  # zipinfo -v prints one header field a line, "name:  value", in the same
  # order for zips of the same entries; its first line names the file.
  LC_ALL=C awk -v name="$name" -v other_name="$other_name" '
    FNR == 1 { next }
    FILENAME == ARGV[1] { first[FNR] = $0; count = FNR; next }
    {
      lines = FNR
      if (FNR > count) { extra++; next }
      if ($0 == first[FNR]) next
      # A line of data only is named by the line before it.
      if (split(first[FNR], a, /: +/) < 2) { a[1] = first[FNR - 1]; a[2] = first[FNR] }
      if (split($0, b, /: +/) < 2) b[2] = $0
      field = a[1]; sub(/^[ -]+/, "", field); sub(/:$/, "", field)
      sub(/^ +/, "", a[2]); sub(/^ +/, "", b[2])
      if (!(field in seen)) { order[++fields] = field; left[field] = a[2]; right[field] = b[2] }
      seen[field]++
    }
    END {
      for (i = 1; i <= fields; i++) {
        f = order[i]
        kind = "a header field"
        if (f ~ /modified/) kind = "the file times"
        else if (f ~ /UID|attributes|origin/) kind = "the owners or attributes"
        else if (f ~ /CRC|size|offset/) kind = "the bytes or places of entries"
        else if (f ~ /compression/) kind = "the compression"
        else if (f ~ /comment/) kind = "a comment"
        printf "%s (%s): differs in %d place(s), first \"%s\" in %s, \"%s\" in %s\n", kind, f, seen[f], left[f], name, right[f], other_name
      }
      if (lines != count || extra) print "the headers: one zip has more entries or header fields than the other"
    }' <(zipinfo -v "$1") <(zipinfo -v "$2")
}

# zip_entry_differences ZIP OTHER FOLDER: unpacks both zips into the new folder
# FOLDER and prints a line for each entry that differs or is in one zip only.
zip_entry_differences() {
  mkdir "$3" "$3/one" "$3/other"
  (cd "$3/one" && cmake -E tar xf "$1") && (cd "$3/other" && cmake -E tar xf "$2")
  LC_ALL=C diff -rq "$3/one" "$3/other" |
    sed -e "s|^Files $3/one/\(.*\) and .* differ$|the entry \1: DIFFERENT|" -e "s|^Only in $3/|only in |" || true
}
