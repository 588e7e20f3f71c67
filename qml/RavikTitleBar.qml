// Stand-in title bar: the real component replaces this file.
import QtQuick 2.12

Rectangle {
    id: root
    property string windowTitle: "Custom Title Bar"
    property string iconSource: "/image/logo.png"
    property color backgroundColor: "#34495e"
    property var window: null
    signal minimizeClicked
    signal closeClicked
    height: 40
    color: backgroundColor

    Image {
        source: root.iconSource
    }
}
