// The tool's one window: frameless and of fixed size, with its own title bar, the connection panel
// on the left and, on the right, the gimbal's angles, the two joysticks and the message area.
import QtQuick 2.12
import QtQuick.Window 2.12
import QtQuick.Controls 2.5
import QtQuick.Dialogs 1.3
import QtQuick.Layouts 1.12

Window {
    id: mainWindow

    visible: true
    color: "#f3f4f8"
    title: qsTr("Ravik Mavlink")
    flags: Qt.Window | Qt.FramelessWindowHint
    width: 620
    height: 820
    minimumWidth: width
    maximumWidth: width
    minimumHeight: height
    maximumHeight: height

    RavikTitleBar {
        id: titleBar

        window: mainWindow
        windowTitle: mainWindow.title
        anchors.top: parent.top
        anchors.left: parent.left
        anchors.right: parent.right

        onMinimizeClicked: mainWindow.showMinimized()
        onCloseClicked: Qt.quit()
    }

    Rectangle {
        id: serial_ip_page

        opacity: 1
        color: "white"
        border.color: "#11000000"
        border.width: 1
        width: 200
        anchors.left: parent.left
        anchors.top: titleBar.bottom
        anchors.bottom: parent.bottom
        anchors.topMargin: 0

        Column {
            id: portCl

            spacing: 10
            anchors.top: parent.top
            anchors.topMargin: 30
            anchors.horizontalCenter: parent.horizontalCenter

            Label {
                text: qsTr("端口号")
                font.pixelSize: 16
                font.family: "微软雅黑"
                anchors.horizontalCenter: parent.horizontalCenter
            }

            // Editable, so that a port the system does not list (a pseudo-terminal, a by-id path)
            // can be typed in; the list still offers the ports the system knows.
            ComboBox {
                id: serial_nameCombo

                // What the user typed or picked. A refreshed list (a device plugged in or pulled
                // out) would otherwise fall back to its first row, and Open would open that.
                property string chosenPort

                function showChosenPort() {
                    if (chosenPort === "")
                        return
                    var row = find(chosenPort)
                    if (row >= 0)
                        currentIndex = row
                    else
                        editText = chosenPort
                }

                font.pixelSize: 16
                font.family: "微软雅黑"
                wheelEnabled: true
                editable: true
                model: Ravik.serialPort
                enabled: !Ravik.serialIsOpen
                width: 120
                height: 40

                background: Rectangle {
                    radius: 4
                    color: "white"
                    border.width: 1
                    border.color: "gray"
                }
                delegate: ItemDelegate {
                    text: modelData
                    font.family: "微软雅黑"
                    highlighted: index === serial_nameCombo.highlightedIndex
                    width: parent.width
                }

                // The box's own editText lags behind the text field while the user types.
                Component.onCompleted: contentItem.textEdited.connect(function() {
                    chosenPort = contentItem.text
                })
                onActivated: chosenPort = textAt(index)
                // The box settles on its new rows first; the choice is put back after that.
                onModelChanged: Qt.callLater(showChosenPort)
            }
        }

        Column {
            id: baudCl

            spacing: 10
            anchors.top: portCl.bottom
            anchors.topMargin: 30
            anchors.horizontalCenter: parent.horizontalCenter

            Label {
                id: serial_boudLab

                text: qsTr("波特率")
                font.pixelSize: 16
                font.family: "微软雅黑"
                anchors.horizontalCenter: parent.horizontalCenter
            }

            ComboBox {
                id: serial_boudCombo

                font.pixelSize: 16
                font.family: "微软雅黑"
                wheelEnabled: true
                currentIndex: 0
                enabled: !Ravik.serialIsOpen
                model: ["115200"]
                width: 120
                height: 40

                background: Rectangle {
                    radius: 4
                    color: "white"
                    border.width: 1
                    border.color: "gray"
                }
                delegate: ItemDelegate {
                    text: modelData
                    font.family: "微软雅黑"
                    highlighted: index === serial_boudCombo.highlightedIndex
                    width: parent.width
                }
            }
        }

        Column {
            id: languageCl

            spacing: 10
            anchors.top: baudCl.bottom
            anchors.topMargin: 30
            anchors.horizontalCenter: parent.horizontalCenter

            Label {
                text: qsTr("语言(Language)")
                font.pixelSize: 16
                font.family: "微软雅黑"
                anchors.horizontalCenter: parent.horizontalCenter
            }

            ComboBox {
                id: switch_language_combox

                font.pixelSize: 16
                font.family: "微软雅黑"
                model: ["English", "简体中文"]
                currentIndex: qmlLanguage.getLocalLanguage()
                width: 120
                height: 40

                background: Rectangle {
                    radius: 4
                    color: "white"
                    border.width: 1
                    border.color: "gray"
                }
                delegate: ItemDelegate {
                    text: modelData
                    font.pixelSize: 16
                    font.family: "微软雅黑"
                    highlighted: index === switch_language_combox.highlightedIndex
                    width: parent.width
                }

                onActivated: {
                    Ravik.setLanguage(index)
                    qmlLanguage.setLanguage(index)
                    // Retranslation re-read the system language into the binding above; the
                    // assignment puts the chosen row back and ends that binding for good.
                    currentIndex = index
                }
            }
        }

        Column {
            id: serialSwitchRow

            spacing: 10
            anchors.top: languageCl.bottom
            anchors.topMargin: 30
            anchors.horizontalCenter: parent.horizontalCenter

            RavikButton {
                id: serialButton

                text: Ravik.serialIsOpen ? (Ravik.languageIndex == 0 ? qsTr("Close") : qsTr("关闭"))
                                         : (Ravik.languageIndex == 0 ? qsTr("Open") : qsTr("打开"))

                // The shown text of the port box: a typed path as well as a listed port.
                onClicked: Ravik.switchSerial(serial_nameCombo.editText, serial_boudCombo.currentText)
            }
        }

        Column {
            spacing: 5
            anchors.bottom: verRow.top
            anchors.bottomMargin: 20
            anchors.horizontalCenter: parent.horizontalCenter

            Image {
                source: "/image/wechart_qr_code.png"
                fillMode: Image.PreserveAspectFit
                width: serial_ip_page.width - 80
            }

            Label {
                text: qsTr("微信公众号")
                anchors.horizontalCenter: parent.horizontalCenter
            }

            Image {
                source: "/image/b_qr_code.png"
                fillMode: Image.PreserveAspectFit
                width: serial_ip_page.width - 80
            }

            Label {
                text: qsTr("bilibili")
                anchors.horizontalCenter: parent.horizontalCenter
            }
        }

        Row {
            id: verRow

            anchors.bottom: parent.bottom
            anchors.bottomMargin: 10
            anchors.horizontalCenter: parent.horizontalCenter

            Label {
                text: qsTr("版本号:")
            }

            Label {
                text: "1.0.0.5"
            }
        }
    }

    RavikGroupBox {
        id: gimbalImuInfoGb

        title: qsTr("角度信息")
        width: 400
        height: 150
        anchors.left: serial_ip_page.right
        anchors.leftMargin: 10
        anchors.top: titleBar.bottom
        anchors.topMargin: 10

        Rectangle {
            Layout.fillWidth: true
            Layout.fillHeight: true
            Layout.topMargin: 30

            ColumnLayout {
                anchors.fill: parent

                RowLayout {
                    width: parent.width

                    Label {
                        text: qsTr("Pitch")
                        font.pixelSize: 16
                        font.family: "微软雅黑"
                        horizontalAlignment: Text.AlignHCenter
                        Layout.fillWidth: true
                    }

                    Label {
                        text: qsTr("Roll")
                        font.pixelSize: 16
                        font.family: "微软雅黑"
                        horizontalAlignment: Text.AlignHCenter
                        Layout.fillWidth: true
                    }

                    Label {
                        text: qsTr("Yaw")
                        font.pixelSize: 16
                        font.family: "微软雅黑"
                        horizontalAlignment: Text.AlignHCenter
                        Layout.fillWidth: true
                    }
                }

                RowLayout {
                    width: parent.width

                    Label {
                        text: Ravik.gimbalImuAngle[0].toFixed(2)
                        font.pixelSize: 16
                        font.family: "微软雅黑"
                        horizontalAlignment: Text.AlignHCenter
                        Layout.fillWidth: true
                    }

                    Label {
                        text: Ravik.gimbalImuAngle[1].toFixed(2)
                        font.pixelSize: 16
                        font.family: "微软雅黑"
                        horizontalAlignment: Text.AlignHCenter
                        Layout.fillWidth: true
                    }

                    Label {
                        text: Ravik.gimbalImuAngle[2].toFixed(2)
                        font.pixelSize: 16
                        font.family: "微软雅黑"
                        horizontalAlignment: Text.AlignHCenter
                        Layout.fillWidth: true
                    }
                }
            }
        }
    }

    RavikGroupBox {
        id: angleControlGb

        title: qsTr("控制")
        width: 400
        height: 260
        anchors.top: gimbalImuInfoGb.bottom
        anchors.topMargin: 10
        anchors.left: serial_ip_page.right
        anchors.leftMargin: 10

        RowLayout {
            Layout.topMargin: 50

            Joystick {
                id: leftJoystick

                width: 200
                height: 200

                onJoystickChange: {
                    console.log("x:" + x)
                    console.log("y:" + y)
                    Ravik.setJoystick(0, 0, x)
                }
            }

            Joystick {
                id: rightJoystick

                width: 200
                height: 200

                onJoystickChange: {
                    console.log("x:" + x)
                    console.log("y:" + y)
                    Ravik.setJoystick(x, y, 0)
                }
            }
        }
    }

    RavikGroupBox {
        id: msgGb

        title: qsTr("消息")
        width: 400
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 10
        anchors.top: angleControlGb.bottom
        anchors.topMargin: 10
        anchors.left: serial_ip_page.right
        anchors.leftMargin: 10

        ScrollView {
            id: view

            Layout.fillWidth: true
            Layout.fillHeight: true
            Layout.topMargin: 20

            TextArea {
                id: logArea

                // The controller's messages, one time-stamped line each. A message that repeats
                // the one before is counted on the last line instead: the not-open notice comes
                // fifty times a second, and the count is shown at most every refresh interval so
                // that the area is not laid out and drawn again for each of them.
                property string lastMessage: ""
                property string lastStamp: ""
                property string lastLine: ""
                property int repeats: 0
                property int shownRepeats: 0
                property int messageLines: 0
                readonly property int maximumLines: 500

                function lineFor(stamp, message, count) {
                    return stamp + "  " + message + (count > 1 ? " (×" + count + ")" : "")
                }

                // Runs `edit` and, if the newest line was in view before, scrolls it into view
                // again; a reader who has scrolled up stays where they are. The view is set
                // either way, as the edit may have dragged a cursor at the end, and the view
                // that keeps the cursor visible, along with it.
                function keepingNewestInView(edit) {
                    var flick = view.contentItem
                    var top = flick.contentY
                    var following = top >= flick.contentHeight - flick.height - 1
                    edit()
                    flick.contentY = following ? Math.max(0, flick.contentHeight - flick.height)
                                               : top
                }

                function removeFirstLine() {
                    var chunk = 256
                    var head = getText(0, Math.min(length, chunk))
                    while (head.indexOf("\n") < 0 && head.length < length) {
                        chunk *= 4
                        head = getText(0, Math.min(length, chunk))
                    }
                    var end = head.indexOf("\n")
                    remove(0, end < 0 ? length : end + 1)
                }

                function appendMessage(message, count) {
                    if (length === 0)
                        messageLines = 0
                    lastMessage = message
                    lastStamp = Qt.formatTime(new Date(), "hh:mm:ss")
                    lastLine = lineFor(lastStamp, message, count)
                    repeats = count
                    shownRepeats = count
                    keepingNewestInView(function() {
                        append(lastLine)
                        messageLines += 1
                        for (; messageLines > maximumLines; messageLines -= 1)
                            removeFirstLine()
                    })
                }

                function showRepeats() {
                    countRefresh.stop()
                    if (shownRepeats === repeats)
                        return
                    var start = length - lastLine.length
                    if (start < 0 || getText(start, length) !== lastLine) {
                        // The user has changed the last line: the repeats since go on a new one.
                        appendMessage(lastMessage, repeats - shownRepeats)
                        return
                    }
                    var line = lineFor(lastStamp, lastMessage, repeats)
                    keepingNewestInView(function() {
                        remove(start, length)
                        insert(start, line)
                    })
                    lastLine = line
                    shownRepeats = repeats
                }

                // Called for every message, so a repeat does no more than count.
                function addMessage(message) {
                    if (message === lastMessage) {
                        repeats += 1
                        if (!countRefresh.running)
                            countRefresh.start()
                        return
                    }
                    showRepeats()
                    appendMessage(message, 1)
                }

                selectByMouse: true
                wrapMode: TextArea.WordWrap
                text: ""
                font.family: "微软雅黑"
                width: view.width
                height: view.height

                // Once a second: while no port is open each redraw of the line is most of what
                // the idle window costs, and a count growing by fifty a second reads well so.
                Timer {
                    id: countRefresh

                    interval: 1000

                    onTriggered: logArea.showRepeats()
                }

                Component.onCompleted: Ravik.addMessage.connect(addMessage)
            }
        }
    }
}
