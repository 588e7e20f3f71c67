// The built English catalogue ":/en_us.qm", installed before a test's first function runs, for
// tests that compare the tool's messages with their English texts. A test of the Chinese texts
// takes it out for a while with QCoreApplication::removeTranslator().
#pragma once

class QTranslator;

QTranslator &englishMessages();
