# The Debian packages Nonari needs: the one list, sourced by the set-up script.
# SPDX-License-Identifier: GPL-3.0-or-later
# Building and playing:
NONARI_BUILD_PACKAGES="cmake ninja-build g++ qt6-base-dev libchm-dev libcups2-dev fonts-liberation2"
# Building the Debian package (tools/package.sh):
NONARI_PACKAGE_PACKAGES="dpkg-dev file"
# Running every test headless (the help viewer tests compile a small manual), the end-to-end tests under Xvfb, the
# package checks (lintian) and the desktop-file checks, and the benchmarks:
NONARI_TEST_PACKAGES="libgtest-dev libbenchmark-dev xvfb xauth xdotool imagemagick poppler-utils fp-utils
  $NONARI_PACKAGE_PACKAGES desktop-file-utils appstream groff-base librsvg2-bin lintian"
# Only for recompiling the manual (data/nonari.chm ships compiled):
NONARI_MANUAL_PACKAGES="fp-utils"
# Only for the fuzzing and ThreadSanitizer runs (clang 14 with libFuzzer and the sanitizer runtimes):
NONARI_CLANG_PACKAGES="clang-14 libclang-rt-14-dev"
