# shellcheck shell=bash
# Sourced: the checks of an Authenticode signature that tools/package and
# tools/check-reproducible share, through osslsigncode.

# signature_problem FILE: says what is wrong with FILE's signature and fails,
# or says nothing: FILE must carry a signature whose message digest equals the
# digest of FILE's bytes, whoever signed it and whatever trust that has.
signature_problem() {
  local report current calculated
  # Fails too for a certificate that no trusted root vouches for; the digests
  # are the part that must hold whatever the trust.
  report=$(LC_ALL=C osslsigncode verify -in "$1" 2>&1) || true
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

# signature_attached SIGNATURE UNSIGNED OUT [CA_FILE]: writes UNSIGNED with the
# detached SIGNATURE to OUT. osslsigncode also verifies the result and fails
# where no root it trusts vouches for it, though OUT is written: OUT is checked
# by its bytes instead.
signature_attached() {
  local trust=()
  [ -n "${4:-}" ] && trust=(-CAfile "$4")
  osslsigncode attach-signature "${trust[@]}" -sigin "$1" -in "$2" -out "$3" >/dev/null 2>&1 || true
  [ -f "$3" ]
}
