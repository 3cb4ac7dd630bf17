# Reads the +relay trace of a run that clicked Ok: the DLL search limited before
# input.dat is opened with flags 0x110080; input.dat.tmp created exclusively, written,
# flushed, closed, then moved over input.dat with flags 1 and 8. Lines read
# "TID:Call DLL.Function(arguments) ret=..." and "TID:Ret  DLL.Function() retval=VALUE";
# an argument's 32 low bits are its last 8 hex digits, compared as text.
function thread_of(line) { return substr(line, 1, index(line, ":") - 1) }
function argument(line, n,   arguments) {
  sub(/^[^(]*\(/, "", line); sub(/\) ret=.*$/, "", line); split(line, arguments, ",")
  return arguments[n]
}
function low_bits(line, n,   text) { text = argument(line, n); return substr(text, length(text) - 7) }
function fail(message) { print message; failed = 1; exit 1 }
/:Call KERNEL(32|BASE)\.SetDefaultDllDirectories\(00000800\)/ { limited[thread_of($0)] = NR }
!opened && /:Call KERNEL32\.CreateFile[AW]\(.*"input\.dat",/ {
  opened = NR
  if (!(thread_of($0) in limited)) fail("input.dat was opened before SetDefaultDllDirectories(0x800)")
  if (low_bits($0, 6) != "00110080") fail("input.dat is not opened with exactly flags 0x110080: " $0)
  limit_line = limited[thread_of($0)]
  next
}
tid == "" && /:Call KERNEL32\.CreateFile[AW]\(.*"input\.dat\.tmp",/ {
  tid = thread_of($0); awaiting_handle = 1; created = NR; create = $0; next
}
tid == "" || thread_of($0) != tid { next }
awaiting_handle && /:Ret  KERNEL32\.CreateFile[AW]\(\)/ {
  handle = $0; sub(/^.*retval=/, "", handle); sub(/ .*$/, "", handle)
  if (handle ~ /^f+$/) fail("creating input.dat.tmp failed")
  if (low_bits(create, 2) != "40010000" || low_bits(create, 3) != "00000000" ||
      low_bits(create, 5) != "00000001" || low_bits(create, 6) != "00200080")
    fail("input.dat.tmp is not created exclusively for writing and deleting" \
         " (access 0x40010000, no sharing, CREATE_NEW, flags 0x200080): " create)
  awaiting_handle = 0; next
}
handle == "" { next }
/:Call KERNEL32\.WriteFile\(/ && argument($0, 1) == handle {
  if (closed) fail("input.dat.tmp written after it was closed")
  last_write = NR; flushed = 0
}
/:Call KERNEL32\.FlushFileBuffers\(/ && argument($0, 1) == handle { if (last_write) flushed = NR }
/:Call KERNEL32\.CloseHandle\(/ && argument($0, 1) == handle && !closed { closed = NR }
/:Call KERNEL32\.MoveFileEx[AW]\(.*"input\.dat\.tmp",.*"input\.dat",/ {
  if (!last_write) fail("input.dat.tmp was moved without being written")
  if (!flushed) fail("input.dat.tmp was not flushed after its last write before the move")
  if (!closed || closed < flushed) fail("input.dat.tmp was not closed after its flush before the move")
  if ($0 !~ /,00000009\)/) fail("the move does not use exactly flags 1 and 8: " $0)
  moved = NR; exit
}
END {
  if (failed) exit 1
  if (!opened) fail("the program never opened input.dat")
  if (tid == "") fail("no creation of input.dat.tmp in the trace")
  if (!moved) fail("input.dat.tmp was never moved over input.dat")
  print "DLL search limited at line " limit_line ", input.dat opened at " opened ", input.dat.tmp created at " \
    created ", last written at " last_write ", flushed at " flushed ", closed at " closed ", moved at " moved
}
