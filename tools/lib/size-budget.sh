# shellcheck shell=bash disable=SC2034
# Sourced by tools/lib/check-package, which fails a package whose stripped
# InputConfig.exe is larger: the program's budget, 256 KiB.
readonly exe_budget_bytes=262144
