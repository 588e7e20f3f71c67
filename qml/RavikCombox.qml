// Stand-in styled combo box: the real component replaces this file.
import QtQuick 2.12

Item {
    id: root
    property string currentText: ""
    property int currentIndex: -1
    property var model: [qsTr("相机朝上"), qsTr("相机朝下")]
    signal activated(int index)
    width: 200
    height: 40
}
