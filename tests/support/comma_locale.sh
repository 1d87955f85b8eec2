# comma_locale <folder>: builds the German locale (decimal comma) into <folder> with localedef, so
# a test can run a program with LOCPATH=<folder> LC_ALL=de_DE.UTF-8 on a machine that lacks it.
# Sourced by the shell tests; fails the calling script when the locale cannot be built.
comma_locale() {
  mkdir -p "$1"
  # localedef may report warnings with a non-zero status and still write the locale.
  localedef -i de_DE -f UTF-8 "$1/de_DE.UTF-8" >/dev/null 2>&1 || true
  [ -e "$1/de_DE.UTF-8/LC_NUMERIC" ] || { echo "localedef could not build de_DE.UTF-8" >&2; exit 1; }
}
