; The installer's own texts in English. A language of data/lang that has no file here gets
; these texts under its own language id (the installer's pages themselves come translated
; with NSIS). A translation is this file with its own language id and texts.
LangString RemoveSettings ${LANG_ENGLISH} "Remove my settings"
LangString StillRunning ${LANG_ENGLISH} "${APP_NAME} is still running. Close it, then press Retry."
