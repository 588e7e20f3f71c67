// Stand-in group box: the real component replaces this file.
import QtQuick 2.12

Item {
    id: root
    property string title: "Custom GroupBox Title"
    default property alias content: contentColumn.data
    width: 240
    height: 160

    Column {
        id: contentColumn
    }
}
