// Runs the tst_*.qml files beside this file against the components in the source folder qml/.
#include "qmltestsetup.h"

#include <QtQuickTest>

QUICK_TEST_MAIN_WITH_SETUP(qml, QmlTestSetup)
