# shellcheck shell=bash
# Sourced: the checks of an Authenticode signature that tools/package,
# tools/check-reproducible, tools/lib/check-package and tools/lib/check-signing
# share, through osslsigncode.

# signature_problem FILE: says what is wrong with FILE's signature and fails,
# or says nothing: FILE must carry a signature whose message digest equals the
# digest of FILE's bytes, whoever signed it and whatever trust that has.
signature_problem() {
  local report current calculated
  # Trusting no root, it fails on trust, but still prints the digests, which
  # must agree whatever the trust. Without -CAfile, osslsigncode 2.14 prints
  # nothing where the system has no root certificates.
  report=$(LC_ALL=C osslsigncode verify -CAfile /dev/null -in "$1" 2>&1) || true
  current=$(sed -n 's/^Current message digest *: *\([0-9A-Fa-f]\{1,\}\).*/\1/p' <<<"$report" | head -n1)
  calculated=$(sed -n 's/^Calculated message digest *: *\([0-9A-Fa-f]\{1,\}\).*/\1/p' <<<"$report" | head -n1)
  if [ -z "$current" ] || [ -z "$calculated" ]; then
    echo "carries no Authenticode signature that osslsigncode can read"
    return 1
  fi
  if [ "$current" != "$calculated" ]; then
    echo "has a broken signature: it was made for a file whose digest is $current, and this file's is $calculated"
    return 1
  fi
}

# signature_removed SIGNED OUT: writes SIGNED without its signature to OUT.
signature_removed() {
  osslsigncode remove-signature -in "$1" -out "$2" >/dev/null 2>&1 && [ -f "$2" ]
}

# signature_attached SIGNATURE UNSIGNED OUT: writes UNSIGNED with the detached
# SIGNATURE to OUT. osslsigncode 2.5 also verifies the result and fails where no
# root it trusts vouches for it, though OUT is written, and 2.14 takes no
# -CAfile there: OUT is judged by its bytes instead.
signature_attached() {
  osslsigncode attach-signature -sigin "$1" -in "$2" -out "$3" >/dev/null 2>&1 || true
  [ -f "$3" ]
}

# certificate_table_bytes FILE: the size of FILE's certificate table, where a
# signature lives; 0 for an unsigned program.
certificate_table_bytes() {
  local size
  size=$(LC_ALL=C x86_64-w64-mingw32-objdump -p "$1" 2>/dev/null |
    sed -n 's/^Entry 4 [0-9a-fA-F]* \([0-9a-fA-F]\{1,8\}\) Security Directory.*/\1/p')
  echo $((0x${size:-0}))
}
