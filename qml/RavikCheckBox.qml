// Stand-in styled check box: the real component replaces this file.
import QtQuick 2.12

Item {
    id: root
    property bool checked: false
    width: 40
    height: 40
}
