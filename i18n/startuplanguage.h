// The language the tool starts in, and the catalogue installed for it.
#pragma once

class QTranslator;

// The language index of the system locale: 1 for Chinese (any script or country), 0 for every
// other language.
int systemLanguage();

// Loads the catalogue for the language index into `translator` and installs it: the empty Chinese
// catalogue for 1, so that the Chinese sources show, and English for every other index. A
// catalogue that does not load leaves the source texts; the translator is installed anyway.
// Returns `translator`, for start-up to hand on to the language switcher.
QTranslator &installStartupCatalogue(QTranslator &translator, int language);
