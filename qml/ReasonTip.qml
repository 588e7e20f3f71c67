// Holds one control and says why it is disabled: while `reason` is not empty the control is off
// and hovering it shows the reason. A disabled control sees no hover itself, so this item does.
import QtQuick 2.12
import QtQuick.Controls 2.5

Item {
    id: reasonTip

    property string reason: ""
    default property alias content: holder.data

    implicitWidth: holder.childrenRect.width
    implicitHeight: holder.childrenRect.height
    ToolTip.visible: hover.containsMouse && reason !== ""
    ToolTip.text: reason
    ToolTip.delay: 300

    Item {
        id: holder

        enabled: reasonTip.reason === ""
        anchors.fill: parent
    }

    MouseArea {
        id: hover

        hoverEnabled: true
        acceptedButtons: Qt.NoButton
        anchors.fill: parent
    }
}
