#!/usr/bin/env bash
# Writes screenshots of the docked windows (compact and full) and of the board window (19, 13, 9, 7 and 6
# lines, variations with hint letters, numbers on and off, the information panel, creation mode with marks
# and the mark palette, the start screen and the about window), of the pictures on the clipboard, of
# printed pages, of Qt's dialogs in Japanese, of a published page in Chromium and of the engine's
# candidates, review and game, as PNG files, for looking at the windows and what they make as a user does.
#   scripts/screenshots.sh [OUTPUT_DIR]     (default: build/dev/screenshots)
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake --preset dev >/dev/null
cmake --build --preset dev --target gui_tests quorvel
out=$(realpath -m "${1:-build/dev/screenshots}")
QUORVEL_SCREENSHOTS="$out" QT_QPA_PLATFORM=offscreen ./build/dev/tests/gui_tests --gtest_filter='BoardScreenshots.*:MainWindowScreenshots.*:EditingScreenshots.*:SettingsDialogTest.Screenshots:SecondaryBoardScreenshots.*:StartWindowTest.TheStartScreen*:StartWindowTest.TheAboutWindow*:ExportWindowTest.*:FileDialogsTest.QtsOwnTextsOfTheDialogsAreJapanese:EngineScreenshots.*'
# The published page's replay board, as headless Chromium shows it.
QUORVEL_SCREENSHOTS="$out" python3 tests/cli/replay_page_test.py build/dev/program/quorvel "$(command -v chromium)" \
  build/dev/replay_page >/dev/null
echo "Screenshots in $out"
