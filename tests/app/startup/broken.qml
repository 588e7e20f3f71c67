import QtQuick 2.12
import QtQuick.Window 2.12

Window {
    visible: true
    width: 100
    // The property below has no value: the file does not compile.
    height:
}
