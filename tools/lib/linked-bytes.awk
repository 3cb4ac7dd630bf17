# Reads a GNU ld linker map and prints, for each input file that puts bytes into
# the sections that stripping keeps, one line "BYTES<tab>WHOSE<tab>NAME": WHOSE
# is "own" for the program's own objects (its own and the core library's) and
# "linked" for the rest; NAME is the object's base name, "ARCHIVE(MEMBER)" with
# the archive's base name, or the linker's "dll stuff".
# The memory map part of the linker map: output sections at the line start, each
# input section under them as " NAME ADDRESS SIZE FILE", a long NAME alone on its
# line with the rest on the next. Only sections with bytes in the stripped file
# count: not the debug ones, which strip removes, nor .bss, which has none.
function hex(text,   n, i) {
  n = 0
  text = tolower(substr(text, 3))
  for (i = 1; i <= length(text); i++) n = n * 16 + index("0123456789abcdef", substr(text, i, 1)) - 1
  return n
}
function add(size, file) {
  if (size > 0) bytes[file] += size
}
/^Linker script and memory map/ { in_map = 1; next }
!in_map { next }
/^[^ ]/ {
  section = $1
  counted = section !~ /^\.(z?debug|stab)/ && section != ".bss" && section != "/DISCARD/"
  pending = ""
  next
}
!counted { next }
pending != "" && $1 ~ /^0x/ && $2 ~ /^0x/ && NF >= 3 {
  file = $3; for (i = 4; i <= NF; i++) file = file " " $i
  add(hex($2), file)
  pending = ""
  next
}
{ pending = "" }
/^ (\.|COMMON)/ {
  if (NF == 1) { pending = $1; next }
  if (NF >= 4 && $2 ~ /^0x/ && $3 ~ /^0x/) {
    file = $4; for (i = 5; i <= NF; i++) file = file " " $i
    add(hex($3), file)
  }
}
END {
  for (file in bytes) {
    name = file
    sub(/.*\//, "", name)
    own = file ~ /CMakeFiles\/InputConfig\.dir\// || name ~ /^libinputconfig_core\.a\(/
    printf "%d\t%s\t%s\n", bytes[file], own ? "own" : "linked", name
  }
}
