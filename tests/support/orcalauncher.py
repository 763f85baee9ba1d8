# SPDX-License-Identifier: GPL-3.0-or-later
# Starts Orca for a test: each utterance written as one line as soon as it is said (Orca's own
# --debug-file buffers its log, so a test could not wait on what it has just said), its settings
# in a folder of the test's own, and no check for other Orcas of the same user, which belong to
# other sessions.
# usage: orcalauncher.py SPOKEN_FILE SETTINGS_FOLDER
import re
import sys

spoken_path, settings_folder = sys.argv[1], sys.argv[2]

from orca import debug

# An utterance ends with its closing quote, the voice if not the default, and the speech settings.
UTTERANCE = re.compile(r"SPEECH OUTPUT: '(.*)'(?: voice=\w+)? ?\{.*\}$", re.S)


class SpokenLines:
    """Takes Orca's debug messages, each whole, and keeps only what was said."""

    name = ''  # so Orca sends its crash reports to the standard error

    def __init__(self, path):
        self.file = open(path, 'w', buffering=1)

    def writelines(self, parts):
        said = UTTERANCE.search(''.join(parts).rstrip('\n'))
        if said:
            # A long utterance is logged over several indented lines.
            self.file.write(re.sub(r'\s*\n\s*', ' ', said.group(1)) + '\n')

    def write(self, text):
        pass  # stack traces


debug.debugLevel = debug.LEVEL_INFO
debug.eventDebugLevel = debug.LEVEL_OFF
debug.debugFile = SpokenLines(spoken_path)

from orca import orca

manager = orca.getSettingsManager()
# No braille display is there to find.
manager.activate(settings_folder, {'enableBraille': False})
sys.path.insert(0, manager.getPrefsDir())
sys.exit(orca.main())
