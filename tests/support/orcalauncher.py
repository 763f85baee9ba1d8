# SPDX-License-Identifier: GPL-3.0-or-later
# Starts Orca for a test: its debug log written line by line (Orca's own --debug-file
# buffers it, so a test could not wait on what it has just said), its settings in a
# folder of the test's own, and no check for other Orcas of the same user, which
# belong to other sessions.
# usage: orcalauncher.py DEBUG_LOG SETTINGS_FOLDER
import sys

log_path, settings_folder = sys.argv[1], sys.argv[2]

from orca import debug

debug.debugLevel = debug.LEVEL_INFO
debug.eventDebugLevel = debug.LEVEL_OFF
debug.debugFile = open(log_path, 'w', buffering=1)

from orca import orca

manager = orca.getSettingsManager()
# No braille display is there to find.
manager.activate(settings_folder, {'enableBraille': False})
sys.path.insert(0, manager.getPrefsDir())
sys.exit(orca.main())
