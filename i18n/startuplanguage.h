// The catalogue installed at start for the system language.
#pragma once

class QTranslator;

// Loads the catalogue for the default locale into `translator` and installs it: the empty Chinese
// catalogue on a Chinese system (any script or country), so that the Chinese sources show, and
// English on every other. A catalogue that does not load leaves the source texts; the translator
// is installed anyway. Returns `translator`, for start-up to hand on to the language switcher.
QTranslator &installStartupCatalogue(QTranslator &translator);
