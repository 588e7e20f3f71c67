// Stand-in button: the real component replaces this file.
import QtQuick 2.12

Item {
    id: root
    property string text: "Button"
    signal clicked
    width: 95
    height: 40
}
